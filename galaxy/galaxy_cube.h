#pragma once
// A cube of space 10 parsecs on a side with the stars that lie in it: the catalogue's stars
// there, which the catalogue owns, then the stars generated for the cube, which it owns itself.

#include <cstdint>
#include <vector>

#include "galaxy/star_record.h"

struct GalaxyCube {
    CubeIndex index;
    // Every star of the cube in order, catalogue stars first; none is owned through this list.
    std::vector<StarRecord*> stars;
    // The stars generated for the cube, in the order they were made: star i has the id
    // StarId::generatedStar(index, i). Filled once, so the pointers in `stars` stay valid.
    std::vector<StarRecord> generated;
    std::int32_t count = 0;  // always stars.size()
    std::uint8_t systemsgenerated = 0;
};
