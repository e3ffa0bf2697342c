#pragma once
// The stars a stats run generates systems for: one star of a mass or of a classification, or
// every star of a cube as the galaxy model fills it.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "generation/stellar_data.h"

struct StatsStars {
    std::vector<StellarData> stars;
    std::string description;  // for the heading
    std::string reproduce;    // the system command of one system, SEED standing for the seed
};

// A main-sequence star of `mass` as `starvane-cli system --initial-mass` makes it.
StatsStars starOfMass(double mass);

// The star of a classification, completed from the stellar table; nothing when the tables
// cannot be read (said on stderr).
std::optional<StatsStars> starOfClass(const StellarData& parsed, const std::optional<std::string>& root);

// Every star of cube (x, y, z) of `galaxy`; nothing when the galaxy cannot be read.
std::optional<StatsStars> starsOfCube(const std::array<int, 3>& cube, const std::optional<std::string>& root,
                                      const std::string& galaxy);

// Whether generation gives this star no planets at all (remnants and subdwarfs).
bool isRemnant(const StellarData& star);
