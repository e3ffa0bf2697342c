#pragma once
// How long a star stays on the main sequence: 10,000 million years for the Sun, shorter for
// heavier stars as mass^-2.5. Stellar evolution, catalogue completion, saved systems and the
// command line all measure a star's age against it.

#include <cmath>

// Main-sequence lifetime in millions of years of a star of `mass` solar masses.
inline double mainSequenceLifetime(double mass) { return 10000.0 * std::pow(mass, -2.5); }
