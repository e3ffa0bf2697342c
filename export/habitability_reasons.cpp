#include "export/habitability_reasons.h"

#include <algorithm>
#include <cstdio>

#include "generation/gas_table.h"

namespace {

constexpr const char* kTemperature[] = {"too cold", "fine", "too hot", "no surface"};
constexpr const char* kPressure[] = {"too thin", "fine", "too dense"};
constexpr const char* kGravity[] = {"low", "fine", "high"};
constexpr const char* kAir[] = {"not breathable", "breathable", "toxic", "no air"};

// Four significant digits, so that a value just past a limit never reads as the limit itself;
// whole numbers from ten thousand up.
std::string amount(double value) {
    char text[32];
    std::snprintf(text, sizeof text, value >= 10000.0 ? "%.0f" : "%.4g", value);
    return text;
}

std::string range(double low, double high) { return amount(low) + "-" + amount(high); }

std::string gasSymbol(std::int32_t gasnumber) {
    const GasProperties* row = findGas(gasnumber);
    return row != nullptr ? row->symbol : "gas " + std::to_string(gasnumber);
}

std::string airReason(const HabitabilityRating& rating) {
    // Below the pressure of water vapour in the lungs nothing of a gas is inspired.
    const std::string inspired = amount(std::max(0.0, rating.inspiredPressure)) + " mbar inspired";
    if (rating.breathing == 3) return "air not breathable: no gases listed";
    if (rating.breathing == 2) {
        const GasProperties* row = findGas(rating.breathingGas);
        const double most = (row != nullptr ? row : &kGasTable[0])->maxinspiredpressure;
        return "air not breathable: " + gasSymbol(rating.breathingGas) + " at " + inspired +
               (most > 0.0 ? ", at most " + amount(most) + " mbar" : ", none tolerated");
    }
    const std::string needs = ", needs " + range(kLeastInspiredOxygen, kMostInspiredOxygen) + " mbar";
    if (rating.breathingGas < 0) return "air not breathable: no O2" + needs;
    return "air not breathable: O2 at " + inspired + needs;
}

}  // namespace

const char* verdictName(HabitabilityVerdict verdict) {
    switch (verdict) {
    case HabitabilityVerdict::habitable: return "habitable";
    case HabitabilityVerdict::habitableWithEquipment: return "marginal";
    case HabitabilityVerdict::hostile: return "hostile";
    }
    return "hostile";
}

HabitabilityClassNames classNames(const HabitabilityRating& rating) {
    return {kTemperature[rating.temperature], kPressure[rating.pressure], kGravity[rating.gravity], kAir[rating.breathing]};
}

std::vector<std::string> habitabilityReasons(const PlanetRecord& body, const HabitabilityRating& rating) {
    if (rating.temperature == 3) return {"no surface"};
    std::vector<std::string> reasons;
    const std::string temperature = amount(body.medsurftemp) + " K, needs " +
                                    range(kColdestComfortable, kHottestComfortable) + " K";
    if (rating.temperature == 0) reasons.push_back("too cold: " + temperature);
    if (rating.temperature == 2) reasons.push_back("too hot: " + temperature);
    const bool air = hasAtmosphere(body);
    const std::string pressure = amount(body.surfpressure) + " mbar, needs " +
                                 range(kThinnestComfortable, kDensestComfortable) + " mbar";
    if (air && rating.pressure == 0) reasons.push_back("air too thin: " + pressure);
    if (air && rating.pressure == 2) reasons.push_back("air too dense: " + pressure);
    if (rating.gravity == 2)
        reasons.push_back("gravity " + amount(body.surfgrav) + " g, above " + amount(kMostGravity) + " g");
    if (!air) reasons.push_back("no air");
    else if (rating.breathing != 1) reasons.push_back(airReason(rating));
    return reasons;
}

std::string joinedReasons(const std::vector<std::string>& reasons) {
    std::string text;
    for (const std::string& reason : reasons) text += (text.empty() ? "" : "; ") + reason;
    return text;
}
