#pragma once
// The galaxy model's own random source: a multiply-with-carry generator with two 32-bit
// words. Each cube reseeds it before drawing, so a cube's generated stars depend only on where
// it is. The seeds of the planetary systems are drawn from it too. The galaxy catalogue owns
// the one that serves its cubes.

#include <cstdint>

class MwcRandom {
public:
    void seed(std::uint32_t a, std::uint32_t b) {
        z_ = a;
        w_ = b;
    }

    // Next 32-bit result.
    std::uint32_t next() {
        z_ = 36969u * (z_ & 0xFFFFu) + (z_ >> 16);
        w_ = 18000u * (w_ & 0xFFFFu) + (w_ >> 16);
        return (z_ << 16) + w_;
    }

    MwcRandom() = default;
    MwcRandom(std::uint32_t a, std::uint32_t b) : z_(a), w_(b) {}

    // Uniform double from a to b; both ends can occur.
    double uniform(double a, double b) { return a + (b - a) * next() / 4294967295.0; }

private:
    std::uint32_t z_ = 0;
    std::uint32_t w_ = 0;
};
