#pragma once
// A picture of a planetary system as an SVG document: the orbits on a logarithmic distance
// scale from the star, the habitable zone shaded, each planet sized by its radius and coloured
// by its type, its moons listed in a column below it, every label readable.

#include <string>

#include "generation/generated_system.h"
#include "generation/stellar_data.h"

// The habitable zone of a star of `luminosity` (solar units), in AU: from the water-loss limit
// to the maximum-greenhouse limit of Kasting, Whitmire & Reynolds (1993), 0.95 and 1.67 AU for
// the Sun, scaled by the square root of the luminosity.
struct HabitableZone {
    double inner = 0.0;
    double outer = 0.0;
};
HabitableZone habitableZone(double luminosity);

// The whole document. Every planet is one <circle class="planet">, every moon one
// <circle class="moon">.
std::string systemPictureSvg(const GeneratedSystem& system, const StellarData& star);
