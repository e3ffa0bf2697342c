#pragma once
// The numeric fields of a body, listed once: the JSON form's key, the member of PlanetRecord
// and its unit, and for the fields the saved-system file stores, that file's key and the
// factors between the file's unit and the record's. The list follows PlanetRecord and the
// JSON form key by key; the JSON writer and reader, the saved-system file and the checks that
// compare bodies walk it instead of naming every field. The gas list, the type and the name
// are no numbers and each reader and writer handles them itself.

#include <cstdint>

#include "generation/generated_system.h"

struct PlanetField {
    const char* key;                              // the JSON form's key
    double PlanetRecord::*real = nullptr;         // a real member,
    std::int32_t PlanetRecord::*whole = nullptr;  // or a whole-number one
    const char* unit = "";                        // the record's unit; "" for pure numbers
    bool readBack = true;   // false: written for scripts, and worked out again on reading
    const char* fileKey = nullptr;  // the saved-system file's key; nullptr when not stored
    double toFile = 1.0;            // file units per record unit
    double fromFile = 1.0;          // record units per file unit (its own constant, not 1/toFile)

    constexpr PlanetField savedAs(const char* keyInFile, double to = 1.0, double from = 1.0) const {
        PlanetField stored = *this;
        stored.fileKey = keyInFile;
        stored.toFile = to;
        stored.fromFile = from;
        return stored;
    }
    constexpr PlanetField notReadBack() const {
        PlanetField written = *this;
        written.readBack = false;
        return written;
    }
};

constexpr PlanetField realField(const char* key, double PlanetRecord::*member, const char* unit) {
    return {key, member, nullptr, unit};
}

constexpr PlanetField wholeField(const char* key, std::int32_t PlanetRecord::*member, const char* unit) {
    return {key, nullptr, member, unit};
}

// The saved-system file's units: metres, kilograms and pascals.
constexpr double kFileMetresPerAu = 149597870700.0;
constexpr double kFileAuPerMetre = 6.684587122268445e-12;
constexpr double kFileKgPerSolarMass = 1.98892e30;
constexpr double kFileSolarMassPerKg = 5.02785431289343e-31;

inline constexpr PlanetField kPlanetFields[] = {
    wholeField("planetnumber", &PlanetRecord::planetnumber, "position from 1"),
    realField("sma", &PlanetRecord::sma, "AU").savedAs("sma", kFileMetresPerAu, kFileAuPerMetre),
    realField("ecc", &PlanetRecord::ecc, "").savedAs("ecc"),
    realField("axtilt", &PlanetRecord::axtilt, "degrees").savedAs("axtilt"),
    realField("mass", &PlanetRecord::mass, "solar masses").savedAs("mass", kFileKgPerSolarMass, kFileSolarMassPerKg),
    wholeField("gasgiant", &PlanetRecord::gasgiant, "flag"),
    realField("dustmass", &PlanetRecord::dustmass, "solar masses"),
    realField("gasmass", &PlanetRecord::gasmass, "solar masses"),
    realField("coreradius", &PlanetRecord::coreradius, "km").savedAs("coreradius", 1000.0, 0.001),
    realField("radius", &PlanetRecord::radius, "km").savedAs("radius", 1000.0, 0.001),
    wholeField("orbitzone", &PlanetRecord::orbitzone, "OrbitZone"),
    realField("density", &PlanetRecord::density, "g/cm³"),
    realField("period", &PlanetRecord::period, "days").savedAs("period"),
    realField("day", &PlanetRecord::day, "hours").savedAs("day"),
    wholeField("resonant", &PlanetRecord::resonant, "flag"),
    realField("escvelocity", &PlanetRecord::escvelocity, "cm/s"),
    realField("surfaccel", &PlanetRecord::surfaccel, "cm/s²"),
    realField("surfgrav", &PlanetRecord::surfgrav, "Earth gravities"),
    realField("rmsvelocity", &PlanetRecord::rmsvelocity, "cm/s"),
    realField("minmolweight", &PlanetRecord::minmolweight, "g/mol"),
    realField("volinventory", &PlanetRecord::volinventory, ""),
    realField("surfpressure", &PlanetRecord::surfpressure, "millibars").savedAs("surfpressure", 100.0, 0.01),
    wholeField("greenhouse", &PlanetRecord::greenhouse, "flag"),
    realField("boilpoint", &PlanetRecord::boilpoint, "K"),
    realField("albedo", &PlanetRecord::albedo, "").savedAs("albedo"),
    realField("exotemp", &PlanetRecord::exotemp, "K"),
    realField("esttemp", &PlanetRecord::esttemp, "K"),
    realField("estterrtemp", &PlanetRecord::estterrtemp, "K"),
    realField("medsurftemp", &PlanetRecord::medsurftemp, "K").savedAs("medsurftemp"),
    realField("greenhouserise", &PlanetRecord::greenhouserise, "K"),
    realField("hightemp", &PlanetRecord::hightemp, "K"),
    realField("lowtemp", &PlanetRecord::lowtemp, "K"),
    realField("maxtemp", &PlanetRecord::maxtemp, "K"),
    realField("mintemp", &PlanetRecord::mintemp, "K"),
    realField("hydrofraction", &PlanetRecord::hydrofraction, "").savedAs("hydrofraction"),
    realField("cloudfraction", &PlanetRecord::cloudfraction, "").savedAs("cloudfraction"),
    realField("icefraction", &PlanetRecord::icefraction, "").savedAs("icefraction"),
    wholeField("gascount", &PlanetRecord::gascount, "gases").notReadBack(),
    // The orbit's orientation; the file capitalises its keys so that no other key begins like them.
    realField("inclination", &PlanetRecord::inclination, "radians").savedAs("Inclination"),
    realField("longascnode", &PlanetRecord::longascnode, "radians").savedAs("LongAscNode"),
    realField("longperihelion", &PlanetRecord::longperihelion, "radians").savedAs("LongPerihelion"),
    realField("meanlongitude", &PlanetRecord::meanlongitude, "radians").savedAs("MeanLongitude"),
    realField("atmdensity", &PlanetRecord::atmdensity, "kg/m³"),
    realField("molconst", &PlanetRecord::molconst, "J/(kg K)").savedAs("molconst"),
};

// Every field names exactly one member, and the file stores only reals.
constexpr bool planetFieldsAreWellFormed() {
    for (const PlanetField& field : kPlanetFields) {
        if ((field.real == nullptr) == (field.whole == nullptr)) return false;
        if (field.fileKey != nullptr && field.real == nullptr) return false;
    }
    return true;
}
static_assert(planetFieldsAreWellFormed());
