#pragma once
// What the generator needs to know of a star, and what the galaxy model tells of it.

#include <cstdint>
#include <string>

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
