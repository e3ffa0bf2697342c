#pragma once
// Counting what many generated systems hold: planets per system, moons per planet, bodies by
// type and zone, habitability, and the figures that planet surveys measure. Every count is an
// integer, so tallies of parts of a run merge to the same result in any order.

#include <array>
#include <cstdint>
#include <vector>

#include "generation/generated_system.h"

// Which survey samples a star belongs to, by its mass; remnants belong to none.
struct StarSample {
    bool sunLike = false;  // 0.8 to 1.2 solar masses
    bool mDwarf = false;   // 0.1 to 0.6 solar masses
    double luminosity = 1.0;
};
constexpr double kSunLikeMin = 0.8, kSunLikeMax = 1.2;
constexpr double kMDwarfMin = 0.1, kMDwarfMax = 0.6;
StarSample starSample(double mass, double luminosity, bool remnant);

// A survey figure: how many stars of its sample were counted, how many of them have at least
// one planet of the kind, and how many such planets they have in all.
struct SurveyCount {
    std::int64_t stars = 0;
    std::int64_t starsWith = 0;
    std::int64_t planets = 0;
};

// One planet in the period-radius plane: days and Earth radii.
struct PlanetMark {
    double period = 0.0;
    double radius = 0.0;
};

struct StatsTally {
    std::vector<std::int64_t> planetsPerSystem;  // [n]: systems with n planets
    std::vector<std::int64_t> moonsPerPlanet;    // [n]: planets with n moons
    std::array<std::int64_t, kPlanetTypeCount> planetsByType{}, moonsByType{};
    std::array<std::int64_t, 4> planetsByZone{}, moonsByZone{};  // [0]: no zone
    SurveyCount keplerLike;   // Sun-like: period < 400 d, radius > 1 Earth radius
    SurveyCount smallMDwarf;  // M dwarf: 1-4 Earth radii, period < 200 d
    SurveyCount giants;       // Sun-like: above 0.3 Jupiter masses within 20 AU
    SurveyCount etaEarth;     // Sun-like: 0.5-1.5 Earth radii in the habitable zone
    std::array<std::int64_t, 3> verdicts{};  // by HabitabilityVerdict
    std::array<std::int64_t, 4> failures{};  // temperature, pressure, gravity, breathing
    std::vector<PlanetMark> marks;           // filled when asked for, in seed order
};

// Adds one system of a star; `keepMarks` also records its planets' marks.
void tallySystem(StatsTally& tally, const GeneratedSystem& system, const StarSample& star,
                 bool keepMarks);

// Adds `part` to `total`; marks are appended, so merge parts in seed order.
void mergeTally(StatsTally& total, const StatsTally& part);

// Mean, median, standard deviation and range of a histogram of counts.
struct CountSummary {
    double mean = 0.0, median = 0.0, deviation = 0.0;
    std::int64_t min = 0, max = 0, total = 0;
};
CountSummary summarizeCounts(const std::vector<std::int64_t>& histogram);

constexpr double kJupiterEarthMasses = 317.83;
