#include "cli/body_json.h"

#include "export/habitability_reasons.h"

#include <cmath>

#include "generation/planet_fields.h"

nlohmann::ordered_json realToJson(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    return value;
}

namespace {

nlohmann::ordered_json gasesToJson(const std::vector<AtmosphereGas>& gases) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const AtmosphereGas& gas : gases) {
        nlohmann::ordered_json g;
        g["gasnumber"] = gas.gasnumber;
        g["partialpressure"] = realToJson(gas.partialpressure);
        g["percentage"] = realToJson(gas.percentage);
        list.push_back(std::move(g));
    }
    return list;
}

// The verdict, its four classes and the reasons against it.
nlohmann::ordered_json habitabilityToJson(const PlanetRecord& b) {
    const HabitabilityRating rating = rateHabitability(b);
    const HabitabilityClassNames classes = classNames(rating);
    nlohmann::ordered_json j;
    j["verdict"] = verdictName(rating.verdict);
    j["temperature"] = classes.temperature;
    j["pressure"] = classes.pressure;
    j["gravity"] = classes.gravity;
    j["air"] = classes.air;
    j["reasons"] = habitabilityReasons(b, rating);
    return j;
}

}  // namespace

nlohmann::ordered_json bodyToJson(const PlanetRecord& b) {
    nlohmann::ordered_json j;
    for (const PlanetField& field : kPlanetFields) {
        if (field.real != nullptr)
            j[field.key] = realToJson(b.*field.real);
        else
            j[field.key] = b.*field.whole;
    }
    j["atmcompounds"] = gasesToJson(b.atmcompounds);
    j["type"] = static_cast<int>(b.type);
    j["name"] = b.name;
    j["habitability"] = habitabilityToJson(b);
    return j;
}

nlohmann::ordered_json systemToJson(const GeneratedSystem& system) {
    nlohmann::ordered_json j;
    j["name"] = system.name;
    j["planetcount"] = system.planetcount;
    nlohmann::ordered_json planets = nlohmann::ordered_json::array();
    for (const PlanetSlot& slot : system.planets) {
        nlohmann::ordered_json p;
        p["mooncount"] = slot.mooncount;
        nlohmann::ordered_json bodies = nlohmann::ordered_json::array();
        for (const PlanetRecord& body : slot.bodies) bodies.push_back(bodyToJson(body));
        p["bodies"] = std::move(bodies);
        planets.push_back(std::move(p));
    }
    j["planets"] = std::move(planets);
    return j;
}
