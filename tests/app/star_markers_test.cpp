// How stars are shown: radii by luminosity class and crowding, and colours by spectral class.

#include <gtest/gtest.h>

#include <tuple>

#include "app/star_markers.h"

namespace {

TEST(StarMarkersTest, RadiiAndColours) {
    // k by class; the radius is k / max(100, half the star count).
    const struct { const char *sc, *lum; float k; } radii[] = {
        {"B", "Ia0", 10}, {"B", "Ia", 9}, {"B", "Ib", 8}, {"M", "I", 8},    {"K", "II", 7},  {"K", "III", 6},
        {"G", "IV", 4},   {"G", "V", 2},  {"DC", "", 1},  {"Neut", "", 1},  {"BH", "", 6},   {"M", "VI", 2},
        {"DC", "III", 6}, {"BH", "IV", 4}, {"X", "", 2},
    };
    for (const auto& c : radii) {
        StellarData data;
        data.spectralclass = c.sc;
        data.lumclass = c.lum;
        for (int count : {0, 20, 201, 300, 1001})
            EXPECT_FLOAT_EQ(markerRadius(data, count), c.k / (count < 202 ? 100.0f : (count / 2)))
                << c.sc << " " << c.lum << " of " << count;
    }

    const struct { const char* sc; int r, g, b; } colours[] = {
        {"B", 180, 180, 255}, {"b", 180, 180, 255}, {"A", 255, 255, 255}, {"a", 255, 255, 255}, {"DC", 255, 255, 255},
        {"F", 255, 255, 180}, {"f", 255, 255, 180}, {"G", 255, 255, 0},   {"K", 255, 180, 0},   {"k", 255, 180, 0},
        {"M", 255, 0, 0},     {"m", 255, 0, 0},     {"Neut", 255, 0, 255}, {"BH", 255, 0, 200},  {"O", 255, 255, 0},
        {"WC", 255, 255, 0},  {"dc", 255, 255, 0},  {"bh", 255, 255, 0},  {"", 255, 255, 0},
    };
    for (const auto& c : colours) {
        const PixelColour p = markerColour(c.sc);
        EXPECT_EQ(std::make_tuple(int(p.red), int(p.green), int(p.blue)), std::make_tuple(c.r, c.g, c.b)) << c.sc;
    }
}

}  // namespace
