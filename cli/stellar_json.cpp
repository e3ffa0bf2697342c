#include "cli/stellar_json.h"

#include <ostream>

#include "cli/body_json.h"

nlohmann::ordered_json stellarDataToJson(const StellarData& d) {
    nlohmann::ordered_json j;
    j["name"] = d.name;
    j["spectralclass"] = d.spectralclass;
    j["subtype"] = d.subtype;
    j["lumclass"] = d.lumclass;
    j["typename"] = d.typename_;
    j["mass"] = realToJson(d.mass);
    j["luminosity"] = realToJson(d.luminosity);
    j["radius"] = realToJson(d.radius);
    j["surftemp"] = realToJson(d.surftemp);
    j["age"] = realToJson(d.age);
    j["mslifetime"] = realToJson(d.mslifetime);
    j["initialmass"] = realToJson(d.initialmass);
    j["initialluminosity"] = realToJson(d.initialluminosity);
    return j;
}

nlohmann::ordered_json classRecordToJson(const StellarClassRecord& r) {
    nlohmann::ordered_json j;
    j["code"] = r.code;
    j["spectralclass"] = r.spectralclass;
    j["subtype"] = r.subtype;
    j["mass"] = realToJson(r.mass);
    j["luminosity"] = realToJson(r.luminosity);
    j["radius"] = realToJson(r.radius);
    j["temperature"] = realToJson(r.temperature);
    j["absmagnitude"] = realToJson(r.extra[0]);
    j["bolometriccorrection"] = realToJson(r.extra[1]);
    j["bv"] = realToJson(r.extra[2]);
    j["loggravity"] = realToJson(r.extra[3]);
    j["colour"] = {r.colour[0], r.colour[1], r.colour[2]};
    return j;
}

void printStellarData(std::ostream& out, const StellarData& d) {
    out << "Class       " << d.spectralclass << d.subtype << d.lumclass;
    if (!d.typename_.empty()) out << "  (" << d.typename_ << ")";
    out << "\nMass        " << d.mass << " solar masses"
        << "\nLuminosity  " << d.luminosity << " solar luminosities"
        << "\nRadius      " << d.radius << " solar radii"
        << "\nTemperature " << d.surftemp << " K";
    if (d.age != 0.0 || d.initialmass != 0.0)
        out << "\nAge         " << d.age << " million years"
            << "\nMS lifetime " << d.mslifetime << " million years"
            << "\nInitial     " << d.initialmass << " solar masses, " << d.initialluminosity
            << " solar luminosities";
    out << "\n";
}
