#pragma once
// What shapes the galaxy: its discs, bar and ages, where its reference point lies, the seeds of
// its stars and systems, its density picture and stellar tables. The catalogue holds them;
// populating cubes, completing and naming stars read them.

#include <array>
#include <memory>

#include "platform/pixel_image.h"

class StellarTables;

struct GalaxyParameters {
    double systemseed = 0.0;
    std::unique_ptr<PixelImage> densityimage;
    double starseed = 0.0;
    const StellarTables* stellartables = nullptr;
    // Lengths in cubes, ages in millions of years, the bar's angle in degrees.
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
