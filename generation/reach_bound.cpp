#include "generation/reach_bound.h"

#include "generation/lcg_random.h"

namespace {
// Each margin covers the rounding of the exact expressions several times over: the power in
// the eccentricity, and the order of the products and quotients of the reach.
constexpr double kEccentricityMargin = 1e-12;
constexpr double kReachMargin = 1e-12;
}  // namespace

ReachBound::ReachBound() {
    for (int s = 0; s <= kSteps; ++s)
        eccentricity_[static_cast<std::size_t>(s)] =
            LcgRandom::eccentricityOf(static_cast<double>(s) / kSteps) + kEccentricityMargin;
}

void ReachBound::setDisc(double cloudEcc, double mass) {
    for (std::size_t s = 0; s <= kSteps; ++s) {
        const double e = eccentricity_[s];
        inner_[s] = (1.0 - e) * (1.0 - mass) / (1.0 + cloudEcc) * (1.0 - kReachMargin);
        outer_[s] = (1.0 + e) * (1.0 + mass) / (1.0 - cloudEcc) * (1.0 + kReachMargin);
    }
}
