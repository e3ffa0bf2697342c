// How stars are shown: marker identifiers by cube and index, radii by luminosity class and
// crowding, and colours by spectral class.

#include <gtest/gtest.h>

#include <string>

#include "app/star_markers.h"

namespace {

StellarData star(const std::string& spectralclass, const std::string& lumclass) {
    StellarData data;
    data.spectralclass = spectralclass;
    data.lumclass = lumclass;
    return data;
}

TEST(StarMarkers, IdentifiersByCubeAndIndex) {
    EXPECT_EQ(markerId(0, 0, 0, 0), 13000);
    EXPECT_EQ(markerId(0, 0, 0, 57), 13057);
    EXPECT_EQ(markerId(-1, -1, -1, 0), 0);
    EXPECT_EQ(markerId(1, 1, 1, 3), 26003);
    EXPECT_EQ(markerId(1, -1, 0, 0), 11000);
    EXPECT_EQ(markerId(0, 0, 1, 0), 22000);
    EXPECT_EQ(markerId(-1, 0, 0, 999), 12999);
}

TEST(StarMarkers, RadiusByLuminosityClassAndCrowding) {
    struct Case {
        const char* sc;
        const char* lum;
        float k;
    };
    const Case cases[] = {
        {"B", "Ia0", 10}, {"B", "Ia", 9},  {"B", "Ib", 8},   {"M", "I", 8},     {"K", "II", 7},
        {"K", "III", 6},  {"G", "IV", 4},  {"G", "V", 2},    {"DC", "", 1},     {"Neut", "", 1},
        {"BH", "", 6},    {"M", "VI", 2},  {"DC", "III", 6}, {"BH", "IV", 4},   {"X", "", 2},
    };
    for (const Case& c : cases) {
        const StellarData data = star(c.sc, c.lum);
        // A cube of 1000 stars: h = 500, so k/500 is below k/100.
        EXPECT_FLOAT_EQ(markerRadius(data, 1001), c.k / 500.0f) << c.sc << " " << c.lum;
        // Few stars: the limit k/100.
        EXPECT_FLOAT_EQ(markerRadius(data, 20), c.k / 100.0f) << c.sc << " " << c.lum;
        EXPECT_FLOAT_EQ(markerRadius(data, 0), c.k / 100.0f) << c.sc << " " << c.lum;
        EXPECT_FLOAT_EQ(markerRadius(data, 300), c.k / 150.0f) << c.sc << " " << c.lum;
    }
}

TEST(StarMarkers, ColourBySpectralClass) {
    auto same = [](PixelColour c, int r, int g, int b) { return c.red == r && c.green == g && c.blue == b; };
    EXPECT_TRUE(same(markerColour("B"), 180, 180, 255));
    EXPECT_TRUE(same(markerColour("b"), 180, 180, 255));
    EXPECT_TRUE(same(markerColour("A"), 255, 255, 255));
    EXPECT_TRUE(same(markerColour("DC"), 255, 255, 255));
    EXPECT_TRUE(same(markerColour("F"), 255, 255, 180));
    EXPECT_TRUE(same(markerColour("G"), 255, 255, 0));
    EXPECT_TRUE(same(markerColour("K"), 255, 180, 0));
    EXPECT_TRUE(same(markerColour("k"), 255, 180, 0));
    EXPECT_TRUE(same(markerColour("M"), 255, 0, 0));
    EXPECT_TRUE(same(markerColour("Neut"), 255, 0, 255));
    EXPECT_TRUE(same(markerColour("BH"), 255, 0, 200));
    // "O" and anything unrecognised are yellow.
    for (const char* other : {"O", "o", "WC", "N", "dc", "", "bh", "S"})
        EXPECT_TRUE(same(markerColour(other), 255, 255, 0)) << other;
}

}  // namespace
