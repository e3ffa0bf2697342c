#pragma once
// The generator's working records: the star as the generator sees it, the bands of the dust
// disc, and the bodies (planets and moons) in singly linked lists. They live only while one
// system is generated; each finished body is copied into the system as its PlanetRecord.

#include <cstdint>

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

// One band of the dust disc; the bands run from the star outward and never overlap.
struct DustBand {
    double inneredge = 0.0;
    double outeredge = 0.0;
    std::int32_t dustpresent = 0;
    std::int32_t gaspresent = 0;
};

// A planet or moon while it is generated: the record it becomes, with the links of the
// generator's lists. Planets are linked through `next` in order of sma; a planet's moons start
// at `firstmoon` and continue through the moons' own `next`. A field that a stage of generation
// does not set keeps its default; the name and the orbit's orientation are left to the copy
// into the system. A moon carries its planet's sma and ecc while it is evaluated and keeps its
// own orbit around the planet in moonsma and moonecc.
struct BodyNode : PlanetRecord {
    GeneratorStar* star = nullptr;  // not owned
    BodyNode* firstmoon = nullptr;  // owned
    BodyNode* next = nullptr;       // owned by the list
    double moonsma = 0.0;
    double moonecc = 0.0;
    double reducedmass = 0.0;     // the accretion's reduced mass of the body,
    double reducedmassfor = -1.0;  // for this mass

    BodyNode() = default;
    BodyNode(const BodyNode&) = delete;
    BodyNode& operator=(const BodyNode&) = delete;
};

// Releases a list of bodies from `head` on, with all their moons.
void releaseBodies(BodyNode* head);

// Releases one body and its moons; its `next` is left alone.
void releaseBody(BodyNode* body);

// Number of bodies in a list.
int countBodies(const BodyNode* head);
