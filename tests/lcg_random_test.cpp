// The generator's random source: the exact draw sequence and the three derived draws.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "generation/lcg_random.h"

namespace {

// A seed whose first draw is `wanted`.
std::uint32_t seedGivingFirstDraw(int wanted) {
    for (std::uint32_t seed = 1;; ++seed) {
        if (LcgRandom(seed).next() == wanted) return seed;
    }
}

}  // namespace

TEST(LcgRandom, SeedOneGivesTheClassicSequence) {
    LcgRandom random(1);
    EXPECT_EQ(random.next(), 41);
    EXPECT_EQ(random.next(), 18467);
    EXPECT_EQ(random.next(), 6334);
    random.seed(1);
    EXPECT_EQ(random.next(), 41);  // reseeding repeats it
}

TEST(LcgRandom, StateWrapsModuloTwoToThe32AndResultsStayIn15Bits) {
    LcgRandom random(0xFFFFFFFFu);
    const std::uint32_t expected = 0xFFFFFFFFu * 214013u + 2531011u;
    const int first = random.next();
    EXPECT_EQ(random.state(), expected);
    EXPECT_EQ(first, static_cast<int>((expected >> 16) & 0x7FFFu));
}

TEST(LcgRandom, DrawUniformReachesBothEnds) {
    EXPECT_EQ(LcgRandom(seedGivingFirstDraw(32767)).drawUniform(2.0, 5.0), 5.0);
    EXPECT_EQ(LcgRandom(seedGivingFirstDraw(0)).drawUniform(2.0, 5.0), 2.0);
}

TEST(LcgRandom, DrawUniformAndDrawAroundTakeOneDrawEach) {
    LcgRandom random(1);
    EXPECT_DOUBLE_EQ(random.drawUniform(0.0, 32767.0), 41.0);
    EXPECT_DOUBLE_EQ(random.drawUniform(10.0, 20.0), 10.0 + 10.0 * 18467.0 / 32767.0);
    // value + value * drawUniform(-spread, spread) with the third draw, 6334.
    EXPECT_DOUBLE_EQ(random.drawAround(10.0, 0.5), 10.0 + 10.0 * (-0.5 + 6334.0 / 32767.0));
    LcgRandom replay(1);
    for (int i = 0; i < 3; ++i) replay.next();
    EXPECT_EQ(random.state(), replay.state());
}

TEST(LcgRandom, DrawEccentricityIsCappedAt099) {
    // A draw of 0 gives u = 0 and 1 - 0^0.077 = 1, which is capped.
    EXPECT_EQ(LcgRandom(seedGivingFirstDraw(0)).drawEccentricity(), 0.99);
    // The largest draw gives a circular orbit.
    EXPECT_EQ(LcgRandom(seedGivingFirstDraw(32767)).drawEccentricity(), 0.0);
    // Seed 1 draws 41.
    EXPECT_NEAR(LcgRandom(1).drawEccentricity(), 1.0 - std::pow(41.0 / 32767.0, 0.077), 1e-15);
}
