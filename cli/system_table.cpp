#include "cli/system_table.h"

#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>

#include "export/habitability_reasons.h"
#include "generation/gas_table.h"
#include "generation/physical_constants.h"

namespace {

std::string format(const char* pattern, double value) {
    if (std::isinf(value)) return "-";
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string mainGases(const PlanetRecord& body) {
    std::string text;
    int shown = 0;
    for (const AtmosphereGas& gas : body.atmcompounds) {
        if (shown == 3) break;
        const GasProperties* row = findGas(gas.gasnumber);
        if (!text.empty()) text += ", ";
        text += row != nullptr ? row->symbol : "?";
        text += " " + format("%.3g%%", gas.percentage);
        ++shown;
    }
    return text.empty() ? "-" : text;
}

void printRow(std::ostream& out, const PlanetRecord& body, bool isMoon) {
    const std::string distance =
        isMoon ? format("%.0f km", body.sma * kKmPerAu) : format("%.4g AU", body.sma);
    char line[256];
    std::snprintf(line, sizeof line, "%-12s %-19s %13s %12s %10s %8s %12s  %s\n",
                  (isMoon ? "  " + body.name : body.name).c_str(), planetTypeName(body.type),
                  distance.c_str(), format("%.4g", body.mass * kEarthMassesPerSolarMass).c_str(),
                  format("%.0f", body.radius).c_str(), format("%.0f", body.medsurftemp).c_str(),
                  format("%.4g", body.surfpressure).c_str(), mainGases(body).c_str());
    out << line;
}

// "<body> <verdict>  <reasons>", the reasons left out for a habitable body.
void printHabitability(std::ostream& out, const PlanetRecord& body, bool isMoon) {
    const HabitabilityRating rating = rateHabitability(body);
    char line[64];
    std::snprintf(line, sizeof line, "%-12s %-9s", (isMoon ? "  " + body.name : body.name).c_str(),
                  verdictName(rating.verdict));
    const std::string reasons = joinedReasons(habitabilityReasons(body, rating));
    out << line << (reasons.empty() ? "" : "  " + reasons) << "\n";
}

}  // namespace

void printSystemTable(std::ostream& out, const GeneratedSystem& system) {
    out << "System " << system.name << ": " << system.planetcount
        << (system.planetcount == 1 ? " planet" : " planets") << "\n";
    if (system.planetcount == 0) return;
    char header[256];
    std::snprintf(header, sizeof header, "%-12s %-19s %13s %12s %10s %8s %12s  %s\n", "Body", "Type",
                  "Distance", "Mass (Earth)", "Radius km", "Temp K", "Press. mbar", "Main gases");
    out << header;
    for (const PlanetSlot& slot : system.planets)
        for (std::size_t i = 0; i < slot.bodies.size(); ++i) printRow(out, slot.bodies[i], i > 0);
    out << "Habitability\n";
    for (const PlanetSlot& slot : system.planets)
        for (std::size_t i = 0; i < slot.bodies.size(); ++i) printHabitability(out, slot.bodies[i], i > 0);
}
