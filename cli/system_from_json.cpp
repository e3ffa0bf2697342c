#include "cli/system_from_json.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include <nlohmann/json.hpp>

#include "generation/gas_table.h"
#include "generation/planet_fields.h"
#include "text/format_limits.h"

namespace {

using nlohmann::json;

struct JsonError {
    std::string what;
};

// A system nests six deep; every level of nesting costs the parser memory.
constexpr int kDeepestNesting = 16;

// How deep the arrays and objects of JSON text nest (brackets inside strings do not count).
int nestingDepth(const std::string& text) {
    int depth = 0;
    int deepest = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) escaped = false;
            else if (c == '\\') escaped = true;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

const json& member(const json& object, const char* key, const std::string& where) {
    if (!object.is_object()) throw JsonError{where + " is not an object"};
    const auto found = object.find(key);
    if (found == object.end()) throw JsonError{where + " has no \"" + key + "\""};
    return *found;
}

double real(const json& object, const char* key, const std::string& where) {
    const json& value = member(object, key, where);
    if (value.is_number()) return value.get<double>();
    if (value.is_string()) {
        const std::string text = value.get<std::string>();
        if (text == "inf") return std::numeric_limits<double>::infinity();
        if (text == "-inf") return -std::numeric_limits<double>::infinity();
        if (text == "nan") return std::numeric_limits<double>::quiet_NaN();
    }
    throw JsonError{where + ": \"" + key + "\" is not a number"};
}

std::int32_t integer(const json& object, const char* key, const std::string& where) {
    const json& value = member(object, key, where);
    if (!value.is_number_integer()) throw JsonError{where + ": \"" + key + "\" is not a whole number"};
    const auto number = value.get<long long>();
    if (number < -2147483648LL || number > 2147483647LL) throw JsonError{where + ": \"" + key + "\" is out of range"};
    return static_cast<std::int32_t>(number);
}

std::string text(const json& object, const char* key, const std::string& where) {
    const json& value = member(object, key, where);
    if (!value.is_string()) throw JsonError{where + ": \"" + key + "\" is not a text"};
    return value.get<std::string>();
}

std::vector<AtmosphereGas> readGases(const json& b, const std::string& where) {
    const json& gases = member(b, "atmcompounds", where);
    if (!gases.is_array()) throw JsonError{where + ": \"atmcompounds\" is not an array"};
    if (gases.size() > kMostGases) throw JsonError{where + ": more than " + std::to_string(kMostGases) + " gases"};
    std::vector<AtmosphereGas> read;
    for (std::size_t g = 0; g < gases.size(); ++g) {
        const std::string gasWhere = where + " gas " + std::to_string(g);
        AtmosphereGas gas;
        gas.gasnumber = integer(gases[g], "gasnumber", gasWhere);
        gas.partialpressure = real(gases[g], "partialpressure", gasWhere);
        gas.percentage = real(gases[g], "percentage", gasWhere);
        read.push_back(gas);
    }
    return read;
}

PlanetRecord readBody(const json& b, const std::string& where) {
    PlanetRecord body;
    for (const PlanetField& field : kPlanetFields) {
        if (!field.readBack) continue;
        if (field.real != nullptr)
            body.*field.real = real(b, field.key, where);
        else
            body.*field.whole = integer(b, field.key, where);
    }
    body.atmcompounds = readGases(b, where);
    body.gascount = static_cast<std::int32_t>(body.atmcompounds.size());
    const std::int32_t type = integer(b, "type", where);
    if (type < 0 || type >= kPlanetTypeCount)
        throw JsonError{where + ": \"type\" must be 0 to " + std::to_string(kPlanetTypeCount - 1)};
    body.type = static_cast<PlanetType>(type);
    body.name = text(b, "name", where);
    return body;
}

}  // namespace

std::optional<std::string> readSystemJson(const std::string& input, StarRecord& star) {
    try {
        if (nestingDepth(input) > kDeepestNesting) throw JsonError{"nested deeper than a system is"};
        const json root = json::parse(input);
        const json& starObject = member(root, "star", "the system");
        auto data = std::make_unique<StellarData>();
        data->name = text(starObject, "name", "\"star\"");
        data->mass = real(starObject, "mass", "\"star\"");
        data->radius = real(starObject, "radius", "\"star\"");
        if (!(std::isfinite(data->mass) && data->mass > 0.0) || !(std::isfinite(data->radius) && data->radius > 0.0))
            throw JsonError{"\"star\": mass and radius must be positive numbers"};

        auto system = std::make_unique<GeneratedSystem>();
        system->name = text(root, "name", "the system");
        const json& planets = member(root, "planets", "the system");
        if (!planets.is_array()) throw JsonError{"\"planets\" is not an array"};
        if (planets.size() > kMostPlanets) throw JsonError{"more than " + std::to_string(kMostPlanets) + " planets"};
        std::size_t bodyTotal = 0;
        for (std::size_t p = 0; p < planets.size(); ++p) {
            const std::string where = "planet " + std::to_string(p + 1);
            const json& bodies = member(planets[p], "bodies", where);
            if (!bodies.is_array() || bodies.empty()) throw JsonError{where + ": \"bodies\" must hold the planet"};
            if (bodies.size() > kMostMoons + 1)
                throw JsonError{where + ": more than " + std::to_string(kMostMoons) + " moons"};
            bodyTotal += bodies.size();
            if (bodyTotal > kMostBodies)
                throw JsonError{where + ": more than " + std::to_string(kMostBodies) + " planets and moons in all"};
            PlanetSlot slot;
            for (std::size_t j = 0; j < bodies.size(); ++j)
                slot.bodies.push_back(readBody(bodies[j], where + (j == 0 ? "" : " moon " + std::to_string(j))));
            slot.mooncount = static_cast<std::int32_t>(slot.bodies.size() - 1);
            system->planets.push_back(std::move(slot));
        }
        system->planetcount = static_cast<std::int32_t>(system->planets.size());
        star.physical = std::move(data);
        star.system = std::move(system);
        star.systemready = 1;
        return std::nullopt;
    } catch (const json::exception& error) {
        return std::string("not valid JSON: ") + error.what();
    } catch (const JsonError& error) {
        return error.what;
    }
}
