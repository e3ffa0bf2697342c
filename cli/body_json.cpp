#include "cli/body_json.h"

#include <cmath>

nlohmann::ordered_json realToJson(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    return value;
}

nlohmann::ordered_json bodyToJson(const PlanetRecord& b) {
    nlohmann::ordered_json j;
    j["planetnumber"] = b.planetnumber;
    j["sma"] = realToJson(b.sma);
    j["ecc"] = realToJson(b.ecc);
    j["axtilt"] = realToJson(b.axtilt);
    j["mass"] = realToJson(b.mass);
    j["gasgiant"] = b.gasgiant;
    j["dustmass"] = realToJson(b.dustmass);
    j["gasmass"] = realToJson(b.gasmass);
    j["coreradius"] = realToJson(b.coreradius);
    j["radius"] = realToJson(b.radius);
    j["orbitzone"] = b.orbitzone;
    j["density"] = realToJson(b.density);
    j["period"] = realToJson(b.period);
    j["day"] = realToJson(b.day);
    j["resonant"] = b.resonant;
    j["escvelocity"] = realToJson(b.escvelocity);
    j["surfaccel"] = realToJson(b.surfaccel);
    j["surfgrav"] = realToJson(b.surfgrav);
    j["rmsvelocity"] = realToJson(b.rmsvelocity);
    j["minmolweight"] = realToJson(b.minmolweight);
    j["volinventory"] = realToJson(b.volinventory);
    j["surfpressure"] = realToJson(b.surfpressure);
    j["greenhouse"] = b.greenhouse;
    j["boilpoint"] = realToJson(b.boilpoint);
    j["albedo"] = realToJson(b.albedo);
    j["exotemp"] = realToJson(b.exotemp);
    j["esttemp"] = realToJson(b.esttemp);
    j["estterrtemp"] = realToJson(b.estterrtemp);
    j["medsurftemp"] = realToJson(b.medsurftemp);
    j["greenhouserise"] = realToJson(b.greenhouserise);
    j["hightemp"] = realToJson(b.hightemp);
    j["lowtemp"] = realToJson(b.lowtemp);
    j["maxtemp"] = realToJson(b.maxtemp);
    j["mintemp"] = realToJson(b.mintemp);
    j["hydrofraction"] = realToJson(b.hydrofraction);
    j["cloudfraction"] = realToJson(b.cloudfraction);
    j["icefraction"] = realToJson(b.icefraction);
    j["gascount"] = b.gascount;
    j["inclination"] = realToJson(b.inclination);
    j["longascnode"] = realToJson(b.longascnode);
    j["longperihelion"] = realToJson(b.longperihelion);
    j["meanlongitude"] = realToJson(b.meanlongitude);
    j["atmdensity"] = realToJson(b.atmdensity);
    j["molconst"] = realToJson(b.molconst);
    nlohmann::ordered_json gases = nlohmann::ordered_json::array();
    for (const AtmosphereGas& gas : b.atmcompounds) {
        nlohmann::ordered_json g;
        g["gasnumber"] = gas.gasnumber;
        g["partialpressure"] = realToJson(gas.partialpressure);
        g["percentage"] = realToJson(gas.percentage);
        gases.push_back(std::move(g));
    }
    j["atmcompounds"] = std::move(gases);
    j["type"] = static_cast<int>(b.type);
    j["name"] = b.name;
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
