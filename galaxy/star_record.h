#pragma once
// One star of the galaxy, from the catalogue or generated, and its physical description.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "galaxy/star_id.h"
#include "generation/generated_system.h"

// A star's physical description. Masses, luminosities and radii in solar units, temperature
// in kelvin, ages and lifetimes in millions of years.
struct StellarData {
    double mass = 0.0;        // current mass
    double mslifetime = 0.0;  // main-sequence lifetime
    double age = 0.0;
    std::string name;
    float catalogvalue = 0.0f;  // the value the catalogue gives with the name
    std::string spectralclass;  // "O" ... "M", "N", "WC", "WN", "R", "C", "S", "DC", "Neut", "BH"
    std::int32_t subtype = 0;   // 0..9
    std::string lumclass;       // "Ia0", "Ia", "Ib", "I", "II", "III", "IV", "V", "VI" or empty
    std::string typename_;      // "Main Sequence Star", "White Dwarf", ... (key "typename")
    double luminosity = 0.0;
    double radius = 0.0;
    double surftemp = 0.0;
    double initialmass = 0.0;        // mass on the main sequence
    double initialluminosity = 0.0;  // luminosity on the main sequence
};

// One star: where it is, what it is, and its planetary system once generated or read.
struct StarRecord {
    StarId id;  // set when the catalogue numbers its stars or a cube generates the star
    CubeIndex cube;
    std::array<float, 3> offset{0.0f, 0.0f, 0.0f};  // parsecs inside the cube: x, up, y
    std::unique_ptr<GeneratedSystem> system;
    std::uint8_t systemready = 0;
    std::uint8_t systemfromfile = 0;
    std::string path;
    std::unique_ptr<StellarData> physical;
    std::string alias;
    std::string cntname;
    std::array<float, 3> ecliptic{0.0f, 0.0f, 0.0f};  // orientation of the system, degrees
    std::uint8_t classified = 0;
    std::uint8_t connected = 0;  // one jump from the route's last star
};
