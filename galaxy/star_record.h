#pragma once
// One star of the galaxy, from the catalogue or generated, and its physical description.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "generation/generated_system.h"
#include "generation/stellar_data.h"

// Scene nodes belong to the galaxy view; the core only holds them as opaque handles.
using SceneNodeHandle = void*;

struct CubeIndex {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = 0;
};

// One star: where it is, what it is, and its planetary system once generated or read.
struct StarRecord {
    CubeIndex cube;
    std::array<float, 3> offset{0.0f, 0.0f, 0.0f};  // parsecs inside the cube: x, up, y
    SceneNodeHandle markernode = nullptr;
    SceneNodeHandle labelnode = nullptr;
    SceneNodeHandle stalknode = nullptr;
    std::unique_ptr<GeneratedSystem> system;
    std::uint8_t systemready = 0;
    std::uint8_t systemfromfile = 0;
    std::string path;
    std::unique_ptr<StellarData> physical;
    std::string alias;
    std::string cntname;
    std::array<float, 3> ecliptic{0.0f, 0.0f, 0.0f};  // orientation of the system, degrees
    std::uint8_t classified = 0;
    std::uint8_t connected = 0;
    std::uint8_t custom = 0;
    std::uint8_t jumpnode = 0;
};
