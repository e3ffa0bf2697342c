#pragma once
// The vocabulary of spectral and luminosity classes and their fixed index orders, which are
// also the block and column orders of the stellar table.

#include <string>
#include <string_view>

constexpr int kSpectralClassCount = 13;  // "O" .. "S"; white dwarfs have a block of their own
constexpr int kWhiteDwarfBlock = 13;
constexpr int kSubtypeCount = 10;
constexpr int kLuminosityClassCount = 8;
constexpr int kMainSequenceIndex = 6;  // "V"

// Spectral class text of a block 0..12.
const char* spectralClassName(int index);

// Block index of a spectral class text; anything unknown (white dwarfs included) gives 6.
int spectralClassIndex(std::string_view spectralclass);

// Luminosity-class code of a column 0..7: "Ia0", "Ia", "Ib", "II", "III", "IV", "V", "VI".
const char* luminosityClassCode(int index);

// Column index of a luminosity class text ("I" shares 2 with "Ib"); anything else gives 7.
int luminosityClassIndex(std::string_view lumclass);
