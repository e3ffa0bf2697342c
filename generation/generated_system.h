#pragma once
// The finished planetary system of one star, as the rest of the program reads it: the
// planets innermost first, each with its moons, every body a PlanetRecord. The generator
// fills it through generateFor(); the saved-system file, the export and the panels read it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct StellarData;
class LcgRandom;

// Body types. The value is stored in saved files, so the numbering is fixed.
enum PlanetType : std::int32_t {
    unknown = 0,
    rock = 1,
    venusian = 2,
    terrestrial = 3,
    jovian = 4,
    martian = 5,
    oceanic = 6,
    ice = 7,
    icegiant = 8,
    gasdwarf = 9,
    asteroids = 10,
    oneface = 11,
    sudarskyi = 12,
    sudarskyii = 13,
    sudarskyiii = 14,
    sudarskyiv = 15,
    sudarskyv = 16,
};
constexpr std::int32_t kPlanetTypeCount = sudarskyv + 1;

// Orbital zones by distance from the star, which decide what a body is made of. The value is
// stored in the JSON form.
enum OrbitZone : std::int32_t {
    kInnerZone = 1,
    kMiddleZone = 2,
    kOuterZone = 3,
};

// One constituent of an atmosphere: partial pressure in millibars, share in percent.
struct AtmosphereGas {
    std::int32_t gasnumber = 0;
    double partialpressure = 0.0;
    double percentage = 0.0;
};

// One body (planet or moon) of a finished system. Units: masses in solar masses, orbits in AU
// (for a moon, its orbit around the planet), radii in km, temperatures in K, pressures in
// millibars, period in days, day in hours, axial tilt in degrees, orbit angles in radians.
struct PlanetRecord {
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
    std::int32_t orbitzone = 0;  // an OrbitZone, 0 before evaluation
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

    std::int32_t gascount = 0;  // always atmcompounds.size()
    double inclination = 0.0;
    double longascnode = 0.0;
    double longperihelion = 0.0;
    double meanlongitude = 0.0;
    double atmdensity = 0.0;
    double molconst = 0.0;
    std::vector<AtmosphereGas> atmcompounds;
    PlanetType type = unknown;
    std::string name;
    std::array<float, 3> colour{0.0f, 0.0f, 0.0f};  // filled by the texture plug-in
    std::uint8_t cloudtexture = 0;                   // set when the body got a cloud texture
};

// One planet with its moons: bodies[0] is the planet, bodies[1..mooncount] its moons.
struct PlanetSlot {
    std::vector<PlanetRecord> bodies;
    std::int32_t mooncount = 0;  // always bodies.size() - 1
};

// The generated system of one star. A star owns at most one.
struct GeneratedSystem {
    std::string name;
    std::vector<PlanetSlot> planets;  // innermost first
    std::int32_t planetcount = 0;     // always planets.size()
    std::int32_t asteroidtotal = 0;   // filled by the export

    // Generates the planets and moons of the star described by `stellar` from `seed` (its
    // integer part modulo 2^32; 0 seeds from the clock) and replaces what the system held.
    // The same stellar data and non-zero seed always give the same system.
    void generateFor(double seed, const StellarData& stellar);

    // The same, drawing from `random`: it is reseeded from `seed` and left where the
    // generation ended, for a later export that continues the sequence.
    void generateFor(double seed, const StellarData& stellar, LcgRandom& random);

    // Empties the system (no planets), keeping its name.
    void clearPlanets();
};

// Display name of a body type; values outside the table give "Unknown".
const char* planetTypeName(std::int32_t type);

// Screen name of a gas by its number; unknown numbers give an empty name.
const char* gasDisplayName(std::int32_t gasnumber);

// Roman numeral of a moon's position (1 to 20); other numbers give an empty numeral.
const char* moonNumeral(std::int32_t number);

// Name of planet `index` (from 0): "a", "b", ... continuing past "z" with the following
// character codes.
std::string planetLetter(int index);

// Name of moon `number` (from 1) of a planet: the planet's name, a blank and the numeral.
std::string moonName(const std::string& planetName, int number);
