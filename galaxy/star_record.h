#pragma once
// One star of the galaxy, from the catalogue or generated, and its physical description.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "galaxy/star_id.h"
#include "generation/generated_system.h"
#include "generation/stellar_data.h"

// One star: where it is, what it is, and its planetary system once generated or read.
struct StarRecord {
    StarId id;  // set when the catalogue numbers its stars or a cube generates the star
    CubeIndex cube;
    std::array<float, 3> offset{0.0f, 0.0f, 0.0f};  // parsecs inside the cube: x, up, y
    std::unique_ptr<GeneratedSystem> system;
    std::uint8_t systemready = 0;
    std::uint8_t systemfromfile = 0;
    std::string path;
    std::unique_ptr<StellarData> physical;
    std::string alias;
    std::string cntname;
    std::array<float, 3> ecliptic{0.0f, 0.0f, 0.0f};  // orientation of the system, degrees
    std::uint8_t classified = 0;
    std::uint8_t connected = 0;  // one jump from the route's last star
};
