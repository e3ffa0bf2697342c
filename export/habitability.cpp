#include "export/habitability.h"

#include <cmath>
#include <limits>
#include <vector>

#include "generation/gas_table.h"

namespace {

constexpr double kNoSurface = std::numeric_limits<double>::infinity();

// Gas patterns of the atmosphere classes, by gas number.
const std::vector<std::vector<int>> kPatterns = {
    {7, 8},     {902},     {7},       {17},       {904, 900, 1}, {900},      {904},
    {906, 7},   {0},       {902, 907}, {7, 17},   {908, 902},    {906, 909}, {7, 902},
    {904, 900}, {17, 902}, {17, 910}, {7, 911},   {1},           {902, 901},
};

}  // namespace

bool hasAtmosphere(const PlanetRecord& body) {
    return body.surfpressure > 0.1 && body.surfpressure != kNoSurface;
}

int atmosphereClass(const PlanetRecord& body) {
    if (!hasAtmosphere(body)) return 1;
    int best = 0;
    int bestScore = -1;
    for (int pattern = 0; pattern < static_cast<int>(kPatterns.size()); ++pattern) {
        int score = 0;
        for (const AtmosphereGas& gas : body.atmcompounds) {
            if (!(gas.percentage > 1.0)) continue;
            for (const int member : kPatterns[static_cast<std::size_t>(pattern)])
                if (member == gas.gasnumber) {
                    ++score;
                    break;
                }
        }
        if (score >= bestScore) {
            bestScore = score;
            best = pattern;
        }
    }
    return best + 2;  // pattern numbers count from 1, classes from 2
}

HabitabilityRating rateHabitability(const PlanetRecord& body) {
    HabitabilityRating rating;
    const double t = body.medsurftemp;
    if (body.surfpressure == kNoSurface)
        rating.temperature = 3;
    else
        rating.temperature = t > kHottestComfortable ? 2 : t >= kColdestComfortable ? 1 : 0;

    const double p = body.surfpressure;
    rating.pressure = p < kThinnestComfortable ? 0 : p <= kDensestComfortable ? 1 : 2;
    const double g = body.surfgrav;
    rating.gravity = g < kLowGravity ? 0 : g <= kMostGravity ? 1 : 2;

    if (p <= 0.1 || body.atmcompounds.empty()) {
        rating.breathing = 3;
    } else {
        bool goodOxygen = false;
        rating.breathing = -1;
        for (const AtmosphereGas& gas : body.atmcompounds) {
            const double inspired = ((p - 62.66151315789474) * gas.partialpressure) / p;
            const GasProperties* row = findGas(gas.gasnumber);
            if (row == nullptr) row = &kGasTable[0];
            if (inspired > row->maxinspiredpressure) {
                rating.breathing = 2;
                rating.breathingGas = gas.gasnumber;
                rating.inspiredPressure = inspired;
                break;
            }
            if (gas.gasnumber == 8) {
                goodOxygen = kLeastInspiredOxygen <= inspired && inspired <= kMostInspiredOxygen;
                rating.breathingGas = gas.gasnumber;
                rating.inspiredPressure = inspired;
            }
        }
        if (rating.breathing == -1) rating.breathing = goodOxygen ? 1 : 0;
    }

    const bool comfortable = rating.temperature == 1 && rating.pressure == 1;
    const bool bearableGravity = rating.gravity == 0 || rating.gravity == 1;
    if (comfortable && rating.breathing == 1 && bearableGravity)
        rating.verdict = HabitabilityVerdict::habitable;
    else if (comfortable && ((rating.breathing == 1 && rating.gravity == 2) ||
                             (rating.breathing != 1 && bearableGravity)))
        rating.verdict = HabitabilityVerdict::habitableWithEquipment;
    else
        rating.verdict = HabitabilityVerdict::hostile;
    return rating;
}
