#include "generation/lcg_random.h"

#include <cmath>

double LcgRandom::drawAround(double value, double spread) {
    return value + value * drawUniform(-spread, spread);
}

double LcgRandom::drawEccentricity() { return eccentricityOf(drawUniform(0.0, 1.0)); }

double LcgRandom::eccentricityOf(double u) {
    const double e = 1.0 - std::pow(u, 0.077);
    return e > 0.99 ? 0.99 : e;
}

std::uint32_t low32Bits(double value) {
    if (!std::isfinite(value)) return 0;
    double word = std::fmod(std::trunc(value), 4294967296.0);
    if (word < 0.0) word += 4294967296.0;
    return static_cast<std::uint32_t>(word);
}
