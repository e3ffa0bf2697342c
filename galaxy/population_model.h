#pragma once
// The stellar population model of the galaxy cubes: how bright density pixels turn into an
// expected number of stars, how likely each class of massive star is, and the cumulative star
// count by mass from which masses are drawn.

#include <cstdint>

#include "platform/pixel_image.h"

// Brightness 0..255 of the density pixel of cube column (x, y): column width/2 + x, row
// height/2 - y. A column outside the picture, or no picture, is black.
int densityBrightness(const PixelImage* image, int x, int y);

// Whether cube column (x, y) has a pixel in the density picture.
bool insideDensityPicture(const PixelImage& image, int x, int y);

// Expected stars per cube (in tenths) from a brightness and the cube's height, in single
// precision as the model was fitted.
float cubeDensity(int brightness, int z);

constexpr int kBrightClassCount = 10;

struct BrightClass {
    double probability;  // chance that one star is of this class
    double startmass;    // solar masses
};
extern const BrightClass kBrightClasses[kBrightClassCount];

// One bin of the cumulative star count N(M): inside the bin the count grows by
// scale * M^exponent for every `step` of mass.
struct MassBin {
    double startmass;
    double countstart;
    double countend;
    double scale;
    double exponent;
    double step;
};
constexpr int kMassBinCount = 13;
extern const MassBin kMassBins[kMassBinCount];  // heaviest first

// The bin whose start mass is the largest not above `mass` (the lightest bin for anything lighter).
const MassBin& massBinFor(double mass);

// Grows `mass` from the bin start until the cumulative count reaches `target`.
double growMass(const MassBin& bin, double mass, double target);
