#include "cli/stats_report.h"

#include <cstdio>
#include <optional>
#include <ostream>

#include "export/habitability.h"
#include "export/system_picture.h"

namespace {

// A survey figure beside its measured value.
struct Comparison {
    const char* key;
    const char* label;
    const char* observed;
    const char* reference;
    const SurveyCount StatsTally::*count;
    bool fraction;  // stars with such planets, else planets per star (or per star with any)
    bool perStarWith;
};

const Comparison kComparisons[] = {
    {"kepler_like_fraction", "Sun-like stars with a planet P < 400 d, R > 1 R_E", "30 +- 3 %",
     "Zhu et al. 2018, ApJ 860, 101", &StatsTally::keplerLike, true, false},
    {"kepler_like_multiplicity", "  such planets per such system", "3.0 +- 0.3",
     "Zhu et al. 2018, ApJ 860, 101", &StatsTally::keplerLike, false, true},
    {"m_dwarf_small_planets", "Planets of 1-4 R_E, P < 200 d per M dwarf", "2.5 +- 0.2",
     "Dressing & Charbonneau 2015, ApJ 807, 45", &StatsTally::smallMDwarf, false, false},
    {"giant_fraction", "Sun-like stars with a giant > 0.3 M_J within 20 AU", "17-20 %",
     "Cumming et al. 2008, PASP 120, 531", &StatsTally::giants, true, false},
    {"eta_earth", "Rocky HZ planets per Sun-like star (eta-Earth)", "0.1-0.5",
     "range of published estimates", &StatsTally::etaEarth, false, false},
};

// The model's value of a comparison, or nothing when no star of its sample was run.
std::optional<double> modelValue(const Comparison& c, const StatsTally& tally) {
    const SurveyCount& count = tally.*c.count;
    const std::int64_t base = c.perStarWith ? count.starsWith : count.stars;
    if (base == 0) return std::nullopt;
    const double numerator = static_cast<double>(c.fraction ? count.starsWith : count.planets);
    return numerator / static_cast<double>(base) * (c.fraction ? 100.0 : 1.0);
}

std::string modelText(const Comparison& c, const StatsTally& tally) {
    const std::optional<double> value = modelValue(c, tally);
    if (!value) return "n/a";
    char text[32];
    std::snprintf(text, sizeof text, c.fraction ? "%.1f %%" : "%.2f", *value);
    return text;
}

const char* const kZoneNames[] = {"none", "inner", "middle", "outer"};
const char* const kVerdictNames[] = {"habitable", "with equipment", "hostile"};
const char* const kVerdictKeys[] = {"habitable", "habitable_with_equipment", "hostile"};
const char* const kFailureNames[] = {"temperature", "pressure", "gravity", "breathing"};

void printSummary(std::ostream& out, const char* label, const CountSummary& s) {
    char line[160];
    std::snprintf(line, sizeof line, "%-20s mean %.3f  median %.1f  sd %.3f  min %lld  max %lld\n", label,
                  s.mean, s.median, s.deviation, static_cast<long long>(s.min), static_cast<long long>(s.max));
    out << line;
}

void printRow(std::ostream& out, const std::string& name, std::int64_t a, std::int64_t b) {
    char line[96];
    std::snprintf(line, sizeof line, "  %-20s %10lld %10lld\n", name.c_str(), static_cast<long long>(a),
                  static_cast<long long>(b));
    out << line;
}

void printBodies(std::ostream& out, const StatsTally& tally) {
    out << "\nBodies by type           planets      moons\n";
    for (std::size_t t = 0; t < tally.planetsByType.size(); ++t)
        if (tally.planetsByType[t] + tally.moonsByType[t] > 0)
            printRow(out, planetTypeName(static_cast<std::int32_t>(t)), tally.planetsByType[t], tally.moonsByType[t]);
    out << "Bodies by zone           planets      moons\n";
    for (std::size_t z = 0; z < 4; ++z)
        if (tally.planetsByZone[z] + tally.moonsByZone[z] > 0)
            printRow(out, kZoneNames[z], tally.planetsByZone[z], tally.moonsByZone[z]);
}

void printHabitability(std::ostream& out, const StatsTally& tally) {
    out << "\nHabitability of all bodies (planets and moons)\n";
    for (std::size_t v = 0; v < 3; ++v) out << "  " << kVerdictNames[v] << ": " << tally.verdicts[v] << "\n";
    out << "  failing:";
    for (std::size_t f = 0; f < 4; ++f) out << (f ? ", " : " ") << kFailureNames[f] << " " << tally.failures[f];
    out << "\n";
}

}  // namespace

void printStatsTable(std::ostream& out, const StatsRun& run, const StatsTally& tally) {
    out << "Stars: " << run.stars << "\nSystems: " << run.systems << " (seeds " << run.firstSeed << " to "
        << run.lastSeed << ")\nOne system: " << run.reproduce << "\n\n";
    printSummary(out, "Planets per system", summarizeCounts(tally.planetsPerSystem));
    printSummary(out, "Moons per planet", summarizeCounts(tally.moonsPerPlanet));
    printBodies(out, tally);
    out << "\nBeside surveys (Sun-like: " << kSunLikeMin << "-" << kSunLikeMax << " solar masses; M dwarf: "
        << kMDwarfMin << "-" << kMDwarfMax << " solar masses; R_E Earth radii; HZ " << habitableZone(1.0).inner << "-"
        << habitableZone(1.0).outer << " AU x sqrt(L); rocky 0.5-1.5 R_E)\n";
    char line[200];
    std::snprintf(line, sizeof line, "%-52s %9s %12s  %s\n", "Statistic", "model", "observed", "reference");
    out << line;
    for (const Comparison& c : kComparisons) {
        std::snprintf(line, sizeof line, "%-52s %9s %12s  %s\n", c.label, modelText(c, tally).c_str(),
                      c.observed, c.reference);
        out << line;
    }
    printHabitability(out, tally);
}

namespace {

nlohmann::ordered_json summaryJson(const CountSummary& s) {
    return {{"mean", s.mean}, {"median", s.median}, {"sd", s.deviation}, {"min", s.min}, {"max", s.max}};
}

nlohmann::ordered_json bodiesJson(const StatsTally& tally) {
    nlohmann::ordered_json types = nlohmann::ordered_json::object(), zones = nlohmann::ordered_json::object();
    for (std::size_t t = 0; t < tally.planetsByType.size(); ++t)
        if (tally.planetsByType[t] + tally.moonsByType[t] > 0)
            types[planetTypeName(static_cast<std::int32_t>(t))] = {{"planets", tally.planetsByType[t]},
                                                                   {"moons", tally.moonsByType[t]}};
    for (std::size_t z = 0; z < 4; ++z)
        if (tally.planetsByZone[z] + tally.moonsByZone[z] > 0)
            zones[kZoneNames[z]] = {{"planets", tally.planetsByZone[z]}, {"moons", tally.moonsByZone[z]}};
    return {{"by_type", types}, {"by_zone", zones}};
}

}  // namespace

nlohmann::ordered_json statsToJson(const StatsRun& run, const StatsTally& tally) {
    nlohmann::ordered_json j;
    j["stars"] = run.stars;
    j["systems"] = run.systems;
    j["seeds"] = {run.firstSeed, run.lastSeed};
    j["planets_per_system"] = summaryJson(summarizeCounts(tally.planetsPerSystem));
    j["moons_per_planet"] = summaryJson(summarizeCounts(tally.moonsPerPlanet));
    j["bodies"] = bodiesJson(tally);
    j["samples"] = {{"sun_like_mass", {kSunLikeMin, kSunLikeMax}}, {"m_dwarf_mass", {kMDwarfMin, kMDwarfMax}},
                    {"habitable_zone_au_at_1_lsun", {habitableZone(1.0).inner, habitableZone(1.0).outer}}};
    nlohmann::ordered_json surveys = nlohmann::ordered_json::object();
    for (const Comparison& c : kComparisons) {
        const std::optional<double> value = modelValue(c, tally);
        surveys[c.key] = {{"model", value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json("n/a")},
                          {"observed", c.observed}, {"reference", c.reference}};
    }
    j["surveys"] = std::move(surveys);
    nlohmann::ordered_json habitability = nlohmann::ordered_json::object();
    for (std::size_t v = 0; v < 3; ++v) habitability[kVerdictKeys[v]] = tally.verdicts[v];
    for (std::size_t f = 0; f < 4; ++f) habitability["failing_" + std::string(kFailureNames[f])] = tally.failures[f];
    j["habitability"] = std::move(habitability);
    return j;
}
