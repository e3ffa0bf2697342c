#pragma once
// A ready-to-fly scenario for every exported system: a DeltaGlider in a circular prograde
// orbit at 1.1 radii around the body most worth a visit, with its camera, HUD and orbit
// display set, so that the launchpad can start the system right away.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "export/config_writers.h"
#include "galaxy/star_record.h"
#include "generation/generated_system.h"

// The body the scenario circles: the most habitable planet or moon (habitable, then livable
// with equipment; the first in system order on a tie, a planet before its moons), else the
// largest planet. Only bodies whose file gives a positive size and mass and whose name holds
// no ';' (which the simulator reads as the start of a comment), nor a planet's, for a moon,
// count. Null when none does.
const PlanetRecord* scenarioTarget(const GeneratedSystem& system);

struct ScenarioFacts {
    std::string systemFile;  // the system's file below Config, without ".cfg"
    std::string systemName;  // the names the description shows
    std::string starName;
    WrittenBody body;
    std::int64_t moment = 0;  // of the export, in seconds since 1970 (UTC)
};

// The scenario's text, or nothing when some line would hold a ';' or be too long for the
// simulator to read.
std::optional<std::string> scenarioText(const ScenarioFacts& facts);

// The moment of an export: the whole seconds of the environment variable SOURCE_DATE_EPOCH
// when it holds them, for outputs that can be made again byte for byte; else the clock. A
// value that is not plain digits, or beyond the year 9999, is ignored.
std::int64_t exportMoment();

// SOURCE_DATE_EPOCH's text as seconds, nothing when it is absent or not usable.
std::optional<std::int64_t> sourceDateEpoch(const char* text);

// What became of an export's scenario: the launchpad's name for it, or why there is none.
struct ScenarioOutcome {
    std::string label;
    std::string problem;
};

// Writes the scenario of the system exported from `root` (see exportDestination), to cache in
// the simulator's Scenarios folder, to folder in the same layout inside the export's folder.
ScenarioOutcome saveScenario(const std::filesystem::path& root, const GeneratedSystem& system,
                             const StellarData& star, bool toCache, std::int64_t moment);
