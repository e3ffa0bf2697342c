#include "app/info_text.h"

#include "export/habitability_reasons.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double kKmPerAuShown = 149598000.0;

std::string general(double v, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", digits, v);
    return text;
}

// "+" for a temperature at or above the reference; a lower one carries its own minus sign.
std::string signedDifference(double value, double reference) {
    return (value >= reference ? "+" : "") + formatValue(value - reference, 4);
}

bool isSudarsky(PlanetType type) { return type >= sudarskyi && type <= sudarskyv; }

}  // namespace

std::string formatValue(double v, int digits) {
    return general(std::trunc(v * 100.0) / 100.0, digits);
}

std::string formatPlain(double v, int digits) { return general(v, digits); }

std::string compositionText(const PlanetRecord& body) {
    std::string text;
    for (const AtmosphereGas& gas : body.atmcompounds) {
        if (!(gas.percentage > 0.1)) continue;
        text += gasDisplayName(gas.gasnumber);
        text += " " + formatPlain(gas.percentage, 3) + "%, ";
    }
    return text;
}

std::array<std::pair<std::string, std::string>, 24> bodyTableRows(const PlanetRecord& b) {
    std::array<std::pair<std::string, std::string>, 24> rows;
    const std::string na = "N/A";

    rows[0].first = planetTypeName(b.type);
    if (b.resonant) rows[0].second = b.greenhouse ? "resonant spin locked, Greenhouse effect" : "resonant spin locked";
    else if (b.greenhouse) rows[0].second = "Greenhouse effect";

    if (b.sma <= 0) rows[1] = {na, na};
    else rows[1] = {formatPlain(b.sma * kKmPerAuShown, 6) + " km", formatValue(b.sma, 6) + " AU"};

    if (b.mass <= 0) rows[2] = {na, na};
    else rows[2] = {formatPlain(b.mass * 1.989e+30, 4) + " Kg", formatValue(b.mass * 332775.64, 4) + " EM"};

    if (b.surfaccel <= 0) rows[3] = {na, na};
    else
        rows[3] = {formatValue(b.surfaccel * 0.01, 3) + " m/s^2",
                   formatValue(b.surfaccel * 0.0010196798205363514, 3) + " G"};

    if (std::isinf(b.surfpressure)) rows[4] = {na, na};
    else if (b.surfpressure <= 0.1) rows[4] = {"No Atmosphere", ""};
    else
        rows[4] = {formatValue(b.surfpressure, 4) + " milibars",
                   formatValue(b.surfpressure * 0.0009869232667160128, 4) + " atmospheres"};

    if (std::isinf(b.medsurftemp) || b.medsurftemp <= 0) rows[5] = {na, na};
    else rows[5] = {formatValue(b.medsurftemp, 4) + " K", signedDifference(b.medsurftemp, 287.15) + " K Earth temperature"};

    rows[6].first = b.lowtemp == 0 ? na : formatValue(b.lowtemp, 4) + " K / " + formatValue(b.hightemp, 4) + " K";
    rows[6].second = b.mintemp == 0 ? na : formatValue(b.mintemp, 4) + " K / " + formatValue(b.maxtemp, 4) + " K";

    if (b.radius <= 0) rows[7] = {na, na};
    else rows[7] = {formatValue(b.radius, 6) + " km", formatValue(b.radius * 0.00015678896205707118, 4) + " ER"};

    if (b.density <= 0) rows[8] = {na, na};
    else rows[8] = {formatValue(b.density, 4) + " g/cc", formatValue(b.density * 0.1811594202898551, 4) + " ED"};

    rows[9].first = formatValue(b.ecc, 4);
    rows[10].first = formatValue(b.escvelocity * 0.01, 4) + " m/s";
    rows[11] = {formatValue(b.minmolweight, 4) + " and above", b.surfpressure > 0.1 ? compositionText(b) : ""};
    rows[12].first = formatValue(b.axtilt, 4) + " degrees";
    rows[13].first = formatValue(b.albedo, 4);
    rows[14] = {formatValue(b.exotemp, 4) + " K", signedDifference(b.exotemp, 1273.0) + " K Earth temperature"};
    rows[15].first = b.period <= 0 ? na : formatValue(b.period, 5) + " days";
    rows[16].first = b.day <= 0 ? na : formatValue(b.day, 5) + " hours";
    rows[17].first = (b.boilpoint <= 0 || std::isinf(b.boilpoint)) ? na : formatValue(b.boilpoint, 4) + " K";
    rows[18].first = formatValue(b.hydrofraction, 4);
    rows[19].first = formatValue(b.cloudfraction, 4);
    rows[20].first = formatValue(b.icefraction, 4);
    rows[21].first = b.coreradius <= 0 ? na : formatValue(b.coreradius, 4) + " km";
    if (!(b.gasmass > 0) && !(b.dustmass > 0)) {
        rows[22].first = na;
        rows[23].first = na;
    } else {
        rows[22].first = formatPlain(b.gasmass * 1.989e+30, 4) + " kg";
        rows[23].first = formatPlain(b.dustmass * 1.989e+30, 4) + " kg";
    }
    return rows;
}

HabitabilityCells habitabilityCells(const PlanetRecord& body) {
    const HabitabilityRating rating = rateHabitability(body);
    return {rating.verdict, verdictName(rating.verdict), joinedReasons(habitabilityReasons(body, rating))};
}

std::array<std::string, 9> starTableRows(const StellarData& s) {
    return {s.name,
            s.spectralclass + std::to_string(s.subtype) + s.lumclass,
            s.typename_,
            formatValue(s.mass, 6),
            formatValue(s.radius, 6),
            formatValue(s.surftemp, 6),
            formatValue(s.age, 12),
            formatValue(s.mslifetime, 12),
            formatValue(s.luminosity, 4)};
}

std::string systemListType(const PlanetRecord& body) {
    std::string type = planetTypeName(body.type);
    if (isSudarsky(body.type)) {
        if (body.gasmass / body.mass < 0.2) type += " Dwarf";
        else if (body.mass * 332775.64 < 20.0) type += " Subgiant";
        else type += " Giant";
    }
    return type;
}

std::vector<SystemListRow> systemListRows(const GeneratedSystem& system) {
    std::vector<SystemListRow> rows;
    for (std::size_t p = 0; p < system.planets.size(); ++p) {
        const PlanetSlot& slot = system.planets[p];
        for (std::size_t j = 0; j < slot.bodies.size(); ++j) {
            const PlanetRecord& body = slot.bodies[j];
            SystemListRow row;
            row[0] = j == 0 ? std::to_string(p + 1) : "";
            row[1] = j == 0 ? "" : std::string(1, static_cast<char>('a' + static_cast<int>(j) - 1));
            row[2] = systemListType(body);
            row[3] = body.sma < 0.1 ? formatValue(body.sma * kKmPerAuShown, 4) + " km" : formatValue(body.sma, 6) + " AU";
            row[4] = formatValue(body.mass * 332775.64, 4) + " EM";
            row[5] = formatValue(body.radius * 0.00015678896205707118, 4) + " ER";
            rows.push_back(row);
        }
    }
    return rows;
}
