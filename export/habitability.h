#pragma once
// Whether a body could host a base: classes for temperature, pressure, gravity and air, and
// a verdict; and the atmosphere class that picks the colour of the sky.

#include "generation/generated_system.h"

// What a base is comfortable with.
constexpr double kColdestComfortable = 253.0;   // median surface temperature, K
constexpr double kHottestComfortable = 323.0;
constexpr double kThinnestComfortable = 300.0;  // surface pressure, millibars
constexpr double kDensestComfortable = 6000.0;
constexpr double kLowGravity = 0.6;             // surface gravity, Earth gravities: below is low,
constexpr double kMostGravity = 1.5;            // above is high
constexpr double kLeastInspiredOxygen = 95.9921052631579;  // oxygen in inspired air, millibars
constexpr double kMostInspiredOxygen = 533.2894736842105;

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
    // The gas that decided the air's class: the first one above what can be breathed, else
    // oxygen; -1 when there is no air or no oxygen.
    std::int32_t breathingGas = -1;
    double inspiredPressure = 0.0;  // that gas's partial pressure in inspired air, millibars
};

HabitabilityRating rateHabitability(const PlanetRecord& body);

// Atmosphere class 1 to 21: 1 for no atmosphere, else one more than the gas pattern that
// matches most of the body's gases above one percent (the later pattern on a tie).
int atmosphereClass(const PlanetRecord& body);

// Whether the body has an atmosphere worth exporting: pressure above 0.1 millibar and a surface.
bool hasAtmosphere(const PlanetRecord& body);
