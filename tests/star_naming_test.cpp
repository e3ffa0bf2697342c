// Coordinate names of stars: longitude, latitude and distance from the galaxy's reference
// position, each with one decimal and a letter, and the "!" of catalogue stars named "NIL".

#include <gtest/gtest.h>

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
    GalaxyParameters catalogue;  // reference at the origin
    // One parsec along +x: longitude angle(0, -1) = 90, latitude 0, 3.26 ly -> 3.2 and the
    // letter of 5.99.. hundredths, 'f'.
    StarRecord a = starAt(1.0f, 0.0f, 0.0f);
    EXPECT_EQ(nameOf(catalogue, a), "90a0a3.2f");
    // Ten parsecs towards -x: longitude 270; 32.6 ly is 32.59999.. in doubles -> 32.5 'j'.
    StarRecord b = starAt(0.0f, 0.0f, 0.0f);
    EXPECT_EQ(nameOf(catalogue, b, -1, 0, 0), "270a0a32.5j");
    // Ten parsecs along +y: longitude 180; along -y: 0.
    StarRecord c = starAt(0.0f, 0.0f, 0.0f);
    EXPECT_EQ(nameOf(catalogue, c, 0, 1, 0), "180a0a32.5j");
    StarRecord d = starAt(0.0f, 0.0f, -10.0f);
    EXPECT_EQ(nameOf(catalogue, d), "0a0a32.5j");
    // (3, 4, 0): longitude atan2(3, -4) = 143.13 -> "143.1d"; 16.3 ly -> "16.2j".
    StarRecord e = starAt(3.0f, 0.0f, 4.0f);
    EXPECT_EQ(nameOf(catalogue, e), "143.1d0a16.2j");
    // Above the plane: (10, 0, 5): latitude atan(1/2) = 26.565 -> "26.5g".
    StarRecord f = starAt(0.0f, 5.0f, 0.0f);
    EXPECT_EQ(nameOf(catalogue, f, 1, 0, 0), "90a26.5g36.4e");
    // Cube and offset together: (-20, -30, 2) from cube (-2, -3, 0) and offset up 2.
    StarRecord g = starAt(0.0f, 2.0f, 0.0f);
    EXPECT_EQ(nameOf(catalogue, g, -2, -3, 0), "326.3a3.1h117.7c");
}

TEST(StarNaming, BelowThePlaneLatitudeIsNegativeWithTheLetterOfTheFullAngle) {
    GalaxyParameters catalogue;
    // (2, 0, -1): latitude 333.43495 -> number 333.4 written as -26.6, letter from
    // 0.03495 -> 'd' (the adjusted value would give another letter).
    StarRecord a = starAt(2.0f, -1.0f, 0.0f);
    EXPECT_EQ(nameOf(catalogue, a), "90a-26.6d7.2i");
    // (25, 13, -7): latitude 346.049 -> -14 written as "-14", letter 'e'.
    StarRecord b = starAt(5.0f, 3.0f, 3.0f);
    EXPECT_EQ(nameOf(catalogue, b, 2, 1, -1), "117.4h-14e94.6f");
    // Straight below: angle(0, +h) = 270 -> -90.
    StarRecord c = starAt(0.0f, -1.0f, 0.0f);
    EXPECT_EQ(nameOf(catalogue, c), "0a-90a3.2f");
    // Straight above: 90.
    StarRecord d = starAt(0.0f, 1.0f, 0.0f);
    EXPECT_EQ(nameOf(catalogue, d), "0a90a3.2f");
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
