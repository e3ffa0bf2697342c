#pragma once
// Whether a body could host a base: classes for temperature, pressure, gravity and air, and
// a verdict; and the atmosphere class that picks the colour of the sky.

#include "generation/generated_system.h"

enum class HabitabilityVerdict {
    habitable,               // a base needs nothing special
    habitableWithEquipment,  // livable with breathing gear, or with help against heavy gravity
    hostile,
};

struct HabitabilityRating {
    int temperature = 0;  // 0 too cold, 1 fine, 2 too hot, 3 no surface
    int pressure = 0;     // 0 too thin, 1 fine, 2 too dense
    int gravity = 0;      // 0 low, 1 fine, 2 high
    int breathing = 0;    // 0 not breathable, 1 breathable, 2 toxic, 3 no air
    HabitabilityVerdict verdict = HabitabilityVerdict::hostile;
};

HabitabilityRating rateHabitability(const PlanetRecord& body);

// Atmosphere class 1 to 21: 1 for no atmosphere, else one more than the gas pattern that
// matches most of the body's gases above one percent (the later pattern on a tie).
int atmosphereClass(const PlanetRecord& body);

// Whether the body has an atmosphere worth exporting: pressure above 0.1 millibar and a surface.
bool hasAtmosphere(const PlanetRecord& body);
