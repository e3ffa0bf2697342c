#pragma once
// The star catalogue text as it stands, one record a line, before any star is made of it:
// what the text gives and the binary copy of it keeps.

#include <array>
#include <cstdint>
#include <string>

#include "galaxy/star_id.h"

struct CatalogueLine {
    CubeIndex cube;
    std::string name;  // "NIL" for a star named by its place
    float catalogvalue = 0.0f;
    std::string spectralclass;
    std::int32_t subtype = 0;
    std::string lumclass;
    std::array<float, 3> offset{0.0f, 0.0f, 0.0f};  // parsecs inside the cube: x, up, y (as held)
};

// (Written out: the atlas reads this header as C++17.)
inline bool operator==(const CatalogueLine& a, const CatalogueLine& b) {
    return a.cube == b.cube && a.name == b.name && a.catalogvalue == b.catalogvalue &&
           a.spectralclass == b.spectralclass && a.subtype == b.subtype && a.lumclass == b.lumclass &&
           a.offset == b.offset;
}
