#pragma once
// Bounds of the reach of a protoplanet at its injection, found without the power that gives
// its eccentricity. The eccentricity 1 - u^0.077 falls as its draw u grows, so its value at
// the start of the step of width 1/32 that holds u bounds every value in the step, and the
// reach with that eccentricity holds the true reach. The accretion rejects an injection whose
// bounding reach holds no dust, as most late injections do, before working out the power.

#include <array>
#include <cstddef>

class ReachBound {
public:
    ReachBound();

    // Sets the disc's particle eccentricity and the protoplanet's mass the reach is worked
    // out with.
    void setDisc(double cloudEcc, double mass);

    struct Range {
        double inner;
        double outer;
    };

    // For a > 0 and `draw` the LcgRandom draw (0 to 32767) the eccentricity comes from: a range
    // that holds the reach.
    Range around(double a, int draw) const {
        const std::size_t s = step(draw);
        return {a * inner_[s], a * outer_[s]};
    }

private:
    static constexpr int kSteps = 32;

    // draw / 32767 lies at or above step / 32; out-of-range draws get the widest bound.
    static std::size_t step(int draw) {
        if (draw <= 0) return 0;
        if (draw >= kLargestDraw) return kSteps;
        return static_cast<std::size_t>(draw * kSteps / kLargestDraw);
    }
    static constexpr int kLargestDraw = 32767;  // LcgRandom::kMax

    std::array<double, kSteps + 1> eccentricity_{};  // at least the eccentricity of the step
    std::array<double, kSteps + 1> inner_{};
    std::array<double, kSteps + 1> outer_{};
};
