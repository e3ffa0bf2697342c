#include "cli/stats_tally.h"

#include <cmath>

#include "export/habitability.h"
#include "export/system_picture.h"
#include "generation/physical_constants.h"

namespace {

void countInto(std::vector<std::int64_t>& histogram, std::size_t value) {
    if (histogram.size() <= value) histogram.resize(value + 1, 0);
    ++histogram[value];
}

void countSurvey(SurveyCount& survey, bool inSample, std::int64_t planets) {
    if (!inSample) return;
    ++survey.stars;
    survey.planets += planets;
    if (planets > 0) ++survey.starsWith;
}

void rateBody(StatsTally& tally, const PlanetRecord& body) {
    const HabitabilityRating rating = rateHabitability(body);
    ++tally.verdicts[static_cast<std::size_t>(rating.verdict)];
    const int classes[] = {rating.temperature, rating.pressure, rating.gravity, rating.breathing};
    for (std::size_t i = 0; i < 4; ++i)
        if (classes[i] != 1) ++tally.failures[i];
}

std::size_t zoneIndex(std::int32_t zone) { return zone >= 1 && zone <= 3 ? static_cast<std::size_t>(zone) : 0; }
std::size_t typeIndex(PlanetType type) {
    return type >= 0 && type < kPlanetTypeCount ? static_cast<std::size_t>(type) : 0;
}

}  // namespace

StarSample starSample(double mass, double luminosity, bool remnant) {
    StarSample sample;
    sample.sunLike = !remnant && mass >= kSunLikeMin && mass <= kSunLikeMax;
    sample.mDwarf = !remnant && mass >= kMDwarfMin && mass <= kMDwarfMax;
    sample.luminosity = luminosity;
    return sample;
}

void tallySystem(StatsTally& tally, const GeneratedSystem& system, const StarSample& star,
                 bool keepMarks) {
    countInto(tally.planetsPerSystem, system.planets.size());
    const HabitableZone zone = habitableZone(star.luminosity);
    const double hzInner = zone.inner;
    const double hzOuter = zone.outer;
    std::int64_t kepler = 0, small = 0, giant = 0, temperate = 0;
    for (const PlanetSlot& slot : system.planets) {
        if (slot.bodies.empty()) continue;
        const PlanetRecord& planet = slot.bodies[0];
        const double radius = planet.radius / kEarthRadiusKm;
        const double earthMasses = planet.mass * kEarthMassesPerSolarMass;
        kepler += planet.period < 400.0 && radius > 1.0;
        small += planet.period < 200.0 && radius >= 1.0 && radius <= 4.0;
        giant += earthMasses > 0.3 * kJupiterEarthMasses && planet.sma < 20.0;
        temperate += radius >= 0.5 && radius <= 1.5 && planet.sma >= hzInner && planet.sma <= hzOuter;
        countInto(tally.moonsPerPlanet, slot.bodies.size() - 1);
        ++tally.planetsByType[typeIndex(planet.type)];
        ++tally.planetsByZone[zoneIndex(planet.orbitzone)];
        if (keepMarks) tally.marks.push_back({planet.period, radius});
        for (const PlanetRecord& body : slot.bodies) rateBody(tally, body);
        for (std::size_t i = 1; i < slot.bodies.size(); ++i) {
            ++tally.moonsByType[typeIndex(slot.bodies[i].type)];
            ++tally.moonsByZone[zoneIndex(slot.bodies[i].orbitzone)];
        }
    }
    countSurvey(tally.keplerLike, star.sunLike, kepler);
    countSurvey(tally.smallMDwarf, star.mDwarf, small);
    countSurvey(tally.giants, star.sunLike, giant);
    countSurvey(tally.etaEarth, star.sunLike, temperate);
}

namespace {

void addCounts(std::vector<std::int64_t>& total, const std::vector<std::int64_t>& part) {
    if (total.size() < part.size()) total.resize(part.size(), 0);
    for (std::size_t i = 0; i < part.size(); ++i) total[i] += part[i];
}

template <std::size_t N>
void addCounts(std::array<std::int64_t, N>& total, const std::array<std::int64_t, N>& part) {
    for (std::size_t i = 0; i < N; ++i) total[i] += part[i];
}

void addSurvey(SurveyCount& total, const SurveyCount& part) {
    total.stars += part.stars;
    total.starsWith += part.starsWith;
    total.planets += part.planets;
}

}  // namespace

void mergeTally(StatsTally& total, const StatsTally& part) {
    addCounts(total.planetsPerSystem, part.planetsPerSystem);
    addCounts(total.moonsPerPlanet, part.moonsPerPlanet);
    addCounts(total.planetsByType, part.planetsByType);
    addCounts(total.moonsByType, part.moonsByType);
    addCounts(total.planetsByZone, part.planetsByZone);
    addCounts(total.moonsByZone, part.moonsByZone);
    addSurvey(total.keplerLike, part.keplerLike);
    addSurvey(total.smallMDwarf, part.smallMDwarf);
    addSurvey(total.giants, part.giants);
    addSurvey(total.etaEarth, part.etaEarth);
    addCounts(total.verdicts, part.verdicts);
    addCounts(total.failures, part.failures);
    total.marks.insert(total.marks.end(), part.marks.begin(), part.marks.end());
}

namespace {

// The value at sorted position `rank` (from 0) of the counted values.
std::size_t valueAtRank(const std::vector<std::int64_t>& histogram, std::int64_t rank) {
    for (std::size_t value = 0; value < histogram.size(); ++value) {
        if (rank < histogram[value]) return value;
        rank -= histogram[value];
    }
    return histogram.empty() ? 0 : histogram.size() - 1;
}

}  // namespace

CountSummary summarizeCounts(const std::vector<std::int64_t>& histogram) {
    CountSummary s;
    double sum = 0.0, squares = 0.0;
    for (std::size_t value = 0; value < histogram.size(); ++value) {
        s.total += histogram[value];
        sum += static_cast<double>(value) * static_cast<double>(histogram[value]);
        squares += static_cast<double>(value * value) * static_cast<double>(histogram[value]);
    }
    if (s.total == 0) return s;
    const double n = static_cast<double>(s.total);
    s.mean = sum / n;
    s.deviation = std::sqrt(std::fmax(0.0, squares / n - s.mean * s.mean));
    s.min = static_cast<std::int64_t>(valueAtRank(histogram, 0));
    s.max = static_cast<std::int64_t>(valueAtRank(histogram, s.total - 1));
    s.median = 0.5 * static_cast<double>(valueAtRank(histogram, (s.total - 1) / 2) +
                                         valueAtRank(histogram, s.total / 2));
    return s;
}
