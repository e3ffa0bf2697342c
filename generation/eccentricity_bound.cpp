#include "generation/eccentricity_bound.h"

#include <cmath>

#include "generation/lcg_random.h"

namespace {
// Covers the rounding of the power in eccentricityOf, a few units in the last place.
constexpr double kRoundingMargin = 1e-12;
}  // namespace

EccentricityBound::EccentricityBound() {
    for (int step = 0; step <= kSteps; ++step)
        bounds_[static_cast<std::size_t>(step)] =
            LcgRandom::eccentricityOf(static_cast<double>(step) / kSteps) + kRoundingMargin;
}

double EccentricityBound::atMost(double u) const {
    if (!(u > 0.0)) return bounds_[0];
    if (u >= 1.0) return bounds_[kSteps];
    // Scaling by a power of two is exact, so u lies at or above the start of its step.
    return bounds_[static_cast<std::size_t>(u * kSteps)];
}
