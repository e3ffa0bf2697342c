#pragma once
// Why a body is or is not habitable, in words a person can act on: the verdict's name and a
// short reason for each class that stands in its way, with the body's value and what a base
// needs ("too cold: 231 K, needs 253-323 K").

#include <string>
#include <vector>

#include "export/habitability.h"

// "habitable", "marginal" (livable with equipment) or "hostile".
const char* verdictName(HabitabilityVerdict verdict);

// The four classes in words: temperature ("too cold", "fine", "too hot", "no surface"),
// pressure ("too thin", "fine", "too dense"), gravity ("low", "fine", "high") and air
// ("not breathable", "breathable", "toxic", "no air").
struct HabitabilityClassNames {
    const char* temperature;
    const char* pressure;
    const char* gravity;
    const char* air;
};
HabitabilityClassNames classNames(const HabitabilityRating& rating);

// The reasons, in the order temperature, pressure, gravity, air; empty for a habitable body.
// Low gravity is bearable and gives none.
std::vector<std::string> habitabilityReasons(const PlanetRecord& body, const HabitabilityRating& rating);

// The reasons joined by "; ", or "" when there are none.
std::string joinedReasons(const std::vector<std::string>& reasons);
