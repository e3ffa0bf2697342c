#pragma once
// The random source of planetary generation: a linear congruential generator with a 32-bit
// state and 15-bit results, the classic runtime-library generator. Whoever generates owns one
// and hands it on; the export continues the sequence of the generation before it, so a
// seeded system and its export always draw the same numbers in the same order.

#include <cstdint>

class LcgRandom {
public:
    static constexpr int kMax = 32767;

    LcgRandom() = default;
    explicit LcgRandom(std::uint32_t seed) : state_(seed) {}

    void seed(std::uint32_t value) { state_ = value; }

    // Next draw, 0 to 32767.
    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }

    std::uint32_t state() const { return state_; }

    // lo + (hi - lo) * n / 32767 for the next draw n: both ends can occur.
    double drawUniform(double lo, double hi) { return uniformOf(next(), lo, hi); }

    // The value drawUniform(lo, hi) gives for the draw n.
    static double uniformOf(int n, double lo, double hi) {
        const double draw = n;
        return lo + (hi - lo) * draw / 32767.0;
    }

    // value + value * drawUniform(-spread, spread).
    double drawAround(double value, double spread);

    // 1 - u^0.077 for u = drawUniform(0, 1), at most 0.99.
    double drawEccentricity();

    // The eccentricity drawEccentricity() gives for a draw `u` of drawUniform(0, 1).
    static double eccentricityOf(double u);

private:
    std::uint32_t state_ = 1;
};

// The low 32 bits of the integer part of `value`, as two's complement would give them
// (-1 gives 4294967295); 0 for a value that is not a number.
std::uint32_t low32Bits(double value);
