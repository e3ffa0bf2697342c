#pragma once
// The figures of a stats run for people (a plain table) and for scripts (one JSON object).

#include <cstdint>
#include <iosfwd>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/stats_tally.h"

// What was run, for the heading: the stars and seeds, and how to reproduce one system.
struct StatsRun {
    std::string stars;      // e.g. "1 solar mass (luminosity 1, radius 1)"
    std::string reproduce;  // a command line with SEED in place of the seed
    std::int64_t systems = 0;
    double firstSeed = 1.0, lastSeed = 1.0;
};

void printStatsTable(std::ostream& out, const StatsRun& run, const StatsTally& tally);
nlohmann::ordered_json statsToJson(const StatsRun& run, const StatsTally& tally);
