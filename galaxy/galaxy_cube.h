#pragma once
// A cube of space 10 parsecs on a side with the stars that lie in it. The galaxy catalogue is
// one more instance that owns every catalogue and custom star and also holds the galaxy's
// parameters and density picture; the cubes of the window around the viewer only use the
// first fields, own the stars generated for them and list the catalogue stars inside them.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/pixel_image.h"
#include "galaxy/star_record.h"

class StellarTables;

struct GalaxyCube {
    // Owned unless the star's `custom` flag is set (catalogue stars are only listed).
    std::vector<StarRecord*> stars;
    std::int32_t count = 0;  // always stars.size()
    double systemseed = 0.0;
    std::unique_ptr<PixelImage> densityimage;
    std::uint8_t stalksshown = 0;
    std::uint8_t labelsshown = 0;
    std::uint8_t markersshown = 0;
    std::uint8_t surroundings = 0;
    std::uint8_t systemsgenerated = 0;
    double starseed = 0.0;
    const StellarTables* stellartables = nullptr;
    // Galaxy parameters; lengths in cubes, ages in millions of years, the bar's angle in degrees.
    double thindisc = 0.0;
    double thickdisc = 0.0;
    double centreradius = 0.0;
    double galaxyage = 0.0;
    double bulgewidth = 0.0;
    double bulgelength = 0.0;
    double bulgeheight = 0.0;
    double bulgeangle = 0.0;
    double discage = 0.0;
    double agegradient = 0.0;
    std::array<float, 3> referencecube{0.0f, 0.0f, 0.0f};    // x, y, z
    std::array<float, 3> referenceoffset{0.0f, 0.0f, 0.0f};  // x, y, up
};

// Stellar population regions.
enum StellarPopulation : int {
    kCentralBar = 0,
    kThickDiscOrHalo = 1,
    kThinDisc = 2,
};
