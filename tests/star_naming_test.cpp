// Coordinate names of stars: longitude, latitude and distance from the galaxy's reference
// position, each with one decimal and a letter, and the "!" of catalogue stars named "NIL".

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "galaxy/galaxy_parameters.h"
#include "galaxy/star_naming.h"

namespace {

// The name of a star at `offset` (x, up, y) in cube `cube`, that was called `name` before.
std::string nameOf(const GalaxyParameters& catalogue, std::array<float, 3> offset, std::array<double, 3> cube = {},
                   const std::string& name = "") {
    StarRecord star;
    star.physical = std::make_unique<StellarData>(StellarData{.name = name});
    star.offset = offset;
    nameStar(catalogue, star, cube[0], cube[1], cube[2]);
    return star.physical->name;
}

}  // namespace

TEST(StarNaming, DirectionSpecialCases) {
    // The direction of (a, -b), carried into [0, 360), with the axes and the origin exact.
    const double cases[][3] = {{1, 0, 0},  {-0.0, -0.0, 0}, {-3, 0, 180}, {0, -2, 90},  {-0.0, -2, 90},
                               {0, 2, 270}, {1, -1, 45},    {-1, 1, 225}, {1, 1, 315}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(directionDegrees(c[0], c[1]), c[2]) << c[0] << ' ' << c[1];
}

TEST(StarNaming, NamesOfKnownPositions) {
    struct Case {
        std::array<float, 3> offset;  // x, up, y
        std::array<double, 3> cube;
        const char* name;
    };
    const Case cases[] = {
        // One parsec along +x: longitude 90, latitude 0, 3.26 ly with the letter of 5.99.. hundredths.
        {{1, 0, 0}, {0, 0, 0}, "90a0a3.2f"},
        // Ten parsecs towards -x: 32.6 ly is 32.59999.. in doubles.
        {{0, 0, 0}, {-1, 0, 0}, "270a0a32.5j"}, {{0, 0, 0}, {0, 1, 0}, "180a0a32.5j"}, {{0, 0, -10}, {}, "0a0a32.5j"},
        {{3, 0, 4}, {0, 0, 0}, "143.1d0a16.2j"},  // atan2(3, -4) = 143.13
        {{0, 5, 0}, {1, 0, 0}, "90a26.5g36.4e"},  // latitude atan(1/2) = 26.565
        {{0, 2, 0}, {-2, -3, 0}, "326.3a3.1h117.7c"},
        // Below the plane: the number is adjusted, the letter comes from the full angle
        // (333.43495 is written -26.6 with the letter of 0.03495).
        {{2, -1, 0}, {0, 0, 0}, "90a-26.6d7.2i"}, {{5, 3, 3}, {2, 1, -1}, "117.4h-14e94.6f"},
        {{0, -1, 0}, {0, 0, 0}, "0a-90a3.2f"}, {{0, 1, 0}, {0, 0, 0}, "0a90a3.2f"},
    };
    const GalaxyParameters catalogue;  // reference at the origin
    for (const Case& c : cases) EXPECT_EQ(nameOf(catalogue, c.offset, c.cube), c.name);
    // Only "NIL" itself marks a catalogue star; any other name is replaced.
    EXPECT_EQ(nameOf(catalogue, {1, 0, 0}, {}, "NIL"), "!90a0a3.2f");
    for (const char* other : {"nil", "NIL ", "Sol", "!90a0a3.2f"})
        EXPECT_EQ(nameOf(catalogue, {1, 0, 0}, {}, other), "90a0a3.2f") << other;
}

TEST(StarNaming, DistanceFromTheReferencePosition) {
    GalaxyParameters catalogue;
    // Reference (10, -5, 0): cube (1, -1, 0) with offset x 0, y 5, up 0 (held as x, y, up).
    catalogue.referencecube = {1.0f, -1.0f, 0.0f};
    catalogue.referenceoffset = {0.0f, 5.0f, 0.0f};
    EXPECT_EQ(nameOf(catalogue, {5, 0, -5}, {1, 0, 0}), "71.5g0a16.2j");  // (15, -5, 0): 5 pc away
    EXPECT_EQ(nameOf(catalogue, {0, 0, 5}, {1, -1, 0}), "63.4d0a0a");  // at the reference
    // The reference's height is its third offset.
    catalogue.referencecube = {0.0f, 0.0f, 0.0f};
    catalogue.referenceoffset = {0.0f, 0.0f, 1.0f};
    EXPECT_EQ(nameOf(catalogue, {0, 1, 0}), "0a90a0a");
}
