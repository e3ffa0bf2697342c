#pragma once
// An upper bound of the eccentricity LcgRandom::eccentricityOf(u) gives, found without its
// power: the eccentricity falls as u grows, so the value at the start of the step of width
// 1/32 that holds u bounds every value in the step. The accretion uses it to reject injections
// whose widest possible reach holds no dust before paying for the exact eccentricity.

#include <array>

class EccentricityBound {
public:
    EccentricityBound();

    // At least eccentricityOf(u), for u in [0, 1] as drawUniform(0, 1) gives it.
    double atMost(double u) const;

private:
    static constexpr int kSteps = 32;
    std::array<double, kSteps + 1> bounds_{};
};
