#pragma once
// The generator's working records: the star as the generator sees it, the bands of the dust
// disc, and the bodies (planets and moons) in singly linked lists. They live only while one
// system is generated; the finished bodies are copied into PlanetRecord.

#include <cstdint>
#include <vector>

#include "generation/generated_system.h"

// The star as the generator sees it. Lifetime and age in years.
struct GeneratorStar {
    double luminosity = 0.0;
    double mass = 0.0;  // the mass the disc is accreted around
    double life = 0.0;
    double age = 0.0;
    double ecosphereradius = 0.0;
    const char* name = nullptr;  // owned by the caller
};

// One band of the dust disc; the list runs from the star outward and bands never overlap.
struct DustBand {
    double inneredge = 0.0;
    double outeredge = 0.0;
    std::int32_t dustpresent = 0;
    std::int32_t gaspresent = 0;
    DustBand* next = nullptr;
};

// A planet or moon while it is generated. Planets are linked through `next` in order of sma;
// a planet's moons start at `firstmoon` and continue through the moons' own `next`.
// A field that a stage of generation does not set keeps 0. Units as in PlanetRecord, except
// that a moon carries its planet's sma and ecc while it is evaluated and keeps its own orbit
// around the planet in moonsma and moonecc.
struct BodyNode {
    std::int32_t planetnumber = 0;
    double sma = 0.0;
    double ecc = 0.0;
    double axtilt = 0.0;
    double mass = 0.0;
    std::int32_t gasgiant = 0;
    double dustmass = 0.0;
    double gasmass = 0.0;
    double coreradius = 0.0;
    double radius = 0.0;
    std::int32_t orbitzone = 0;
    double density = 0.0;
    double period = 0.0;
    double day = 0.0;
    std::int32_t resonant = 0;
    double escvelocity = 0.0;
    double surfaccel = 0.0;
    double surfgrav = 0.0;
    double rmsvelocity = 0.0;
    double minmolweight = 0.0;
    double volinventory = 0.0;
    double surfpressure = 0.0;
    std::int32_t greenhouse = 0;
    double boilpoint = 0.0;
    double albedo = 0.0;
    double exotemp = 0.0;
    double esttemp = 0.0;
    double estterrtemp = 0.0;
    double medsurftemp = 0.0;
    double greenhouserise = 0.0;
    double hightemp = 0.0;
    double lowtemp = 0.0;
    double maxtemp = 0.0;
    double mintemp = 0.0;
    double hydrofraction = 0.0;
    double cloudfraction = 0.0;
    double icefraction = 0.0;
    GeneratorStar* star = nullptr;  // not owned
    std::int32_t gascount = 0;      // always atmcompounds.size()
    std::vector<AtmosphereGas> atmcompounds;
    PlanetType type = unknown;
    BodyNode* firstmoon = nullptr;  // owned
    BodyNode* next = nullptr;       // owned by the list
    double atmdensity = 0.0;
    double molconst = 0.0;
    double moonsma = 0.0;
    double moonecc = 0.0;

    BodyNode() = default;
    BodyNode(const BodyNode&) = delete;
    BodyNode& operator=(const BodyNode&) = delete;
};

// Releases a list of bodies from `head` on, with all their moons.
void releaseBodies(BodyNode* head);

// Releases one body and its moons; its `next` is left alone.
void releaseBody(BodyNode* body);

// Releases a band list.
void releaseBands(DustBand* head);

// Number of bodies in a list.
int countBodies(const BodyNode* head);

// Copies a body's data into a record (the fields from planetnumber on, its atmosphere, orbit
// data and type); the name and orientation are left to the caller.
void copyBodyToRecord(const BodyNode& body, PlanetRecord& record);
