// The sky colour of each atmosphere class, as returned by just_initialize.
#ifndef STARVANE_TEXGEN_ATMOSPHERE_COLOUR_H
#define STARVANE_TEXGEN_ATMOSPHERE_COLOUR_H

#include <cstdint>

namespace texgen {

constexpr int kAtmosphereClasses = 21;

// Colour word of an atmosphere class (1 to 21): red in the lowest byte, then green, then blue.
// Class 1 (no atmosphere) and classes out of range give 0.
uint32_t atmosphere_colour(int atmosphere_class);

}  // namespace texgen

#endif
