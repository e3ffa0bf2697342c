// Coordinate names of stars: longitude, latitude and distance from the galaxy's reference
// position, each with one decimal and a letter, and the "!" of catalogue stars named "NIL".

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "galaxy/galaxy_parameters.h"
#include "galaxy/star_naming.h"

namespace {

StarRecord starAt(float x, float up, float y, const std::string& name = "") {
    StarRecord star;
    star.physical = std::make_unique<StellarData>();
    star.physical->name = name;
    star.offset = {x, up, y};
    return star;
}

std::string nameOf(const GalaxyParameters& catalogue, StarRecord& star, double x = 0, double y = 0,
                   double z = 0) {
    nameStar(catalogue, star, x, y, z);
    return star.physical->name;
}

TEST(StarNaming, DirectionSpecialCases) {
    EXPECT_EQ(directionDegrees(1.0, 0.0), 0.0);
    EXPECT_EQ(directionDegrees(-0.0, -0.0), 0.0);
    EXPECT_EQ(directionDegrees(-3.0, 0.0), 180.0);
    EXPECT_EQ(directionDegrees(0.0, -2.0), 90.0);
    EXPECT_EQ(directionDegrees(-0.0, -2.0), 90.0);
    EXPECT_EQ(directionDegrees(0.0, 2.0), 270.0);
    // Otherwise the direction of (a, -b), carried into [0, 360).
    EXPECT_DOUBLE_EQ(directionDegrees(1.0, -1.0), 45.0);
    EXPECT_DOUBLE_EQ(directionDegrees(-1.0, 1.0), 225.0);
    EXPECT_DOUBLE_EQ(directionDegrees(1.0, 1.0), 315.0);
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
        {{0, 0, 0}, {-1, 0, 0}, "270a0a32.5j"},
        {{0, 0, 0}, {0, 1, 0}, "180a0a32.5j"},
        {{0, 0, -10}, {0, 0, 0}, "0a0a32.5j"},
        {{3, 0, 4}, {0, 0, 0}, "143.1d0a16.2j"},  // atan2(3, -4) = 143.13
        {{0, 5, 0}, {1, 0, 0}, "90a26.5g36.4e"},  // latitude atan(1/2) = 26.565
        {{0, 2, 0}, {-2, -3, 0}, "326.3a3.1h117.7c"},
        // Below the plane: the number is adjusted, the letter comes from the full angle
        // (333.43495 is written -26.6 with the letter of 0.03495).
        {{2, -1, 0}, {0, 0, 0}, "90a-26.6d7.2i"},
        {{5, 3, 3}, {2, 1, -1}, "117.4h-14e94.6f"},
        {{0, -1, 0}, {0, 0, 0}, "0a-90a3.2f"},
        {{0, 1, 0}, {0, 0, 0}, "0a90a3.2f"},
    };
    const GalaxyParameters catalogue;  // reference at the origin
    for (const Case& c : cases) {
        StarRecord star = starAt(c.offset[0], c.offset[1], c.offset[2]);
        EXPECT_EQ(nameOf(catalogue, star, c.cube[0], c.cube[1], c.cube[2]), c.name);
    }
}

TEST(StarNaming, DistanceFromTheReferencePosition) {
    GalaxyParameters catalogue;
    // Reference (10, -5, 0): cube (1, -1, 0) with offset x 0, y 5, up 0 (held as x, y, up).
    catalogue.referencecube = {1.0f, -1.0f, 0.0f};
    catalogue.referenceoffset = {0.0f, 5.0f, 0.0f};
    StarRecord a = starAt(5.0f, 0.0f, -5.0f);  // (15, -5, 0): 5 pc from the reference
    EXPECT_EQ(nameOf(catalogue, a, 1, 0, 0), "71.5g0a16.2j");
    // At the reference: distance 0.
    StarRecord b = starAt(0.0f, 0.0f, 5.0f);
    const std::string atReference = nameOf(catalogue, b, 1, -1, 0);
    EXPECT_EQ(atReference.substr(atReference.size() - 2), "0a");
    // The reference's height is its third offset.
    catalogue.referencecube = {0.0f, 0.0f, 0.0f};
    catalogue.referenceoffset = {0.0f, 0.0f, 1.0f};
    StarRecord c = starAt(0.0f, 1.0f, 0.0f);
    const std::string level = nameOf(catalogue, c);
    EXPECT_EQ(level.substr(level.size() - 2), "0a");
}

TEST(StarNaming, NilGetsAnExclamationMarkOtherNamesAreReplaced) {
    GalaxyParameters catalogue;
    StarRecord a = starAt(1.0f, 0.0f, 0.0f, "NIL");
    EXPECT_EQ(nameOf(catalogue, a), "!90a0a3.2f");
    for (const char* other : {"nil", "NIL ", "Sol", "!90a0a3.2f"}) {
        StarRecord b = starAt(1.0f, 0.0f, 0.0f, other);
        EXPECT_EQ(nameOf(catalogue, b), "90a0a3.2f") << other;
    }
}

}  // namespace
