#pragma once
// Classifications as people type them on the command line ("G2V", "k0III", "DC5").

#include <string>

#include "generation/stellar_data.h"

// Splits "G2V", "k0III", "DC5", "WN7", "M4.5Ia0" into class, subtype and luminosity class.
StellarData parseClassification(const std::string& text);

// Whether the stellar table has a block for the spectral class of a parsed classification
// ("O" .. "S", "WC", "WN", "DC"; lower case accepted as catalogue completion accepts it).
bool isKnownSpectralClass(const std::string& spectralclass);
