// How stars are shown: radii by luminosity class and crowding, colours by spectral class, and the
// radius as the point markers carry it.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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

TEST(StarMarkersTest, RadiusLevelsOnALogarithmicScale) {
    const struct { float radius; int level; } known[] = {
        {0.1f, 255}, {0.01f, 170}, {0.001f, 85}, {0.0001f, 0}, {0.02f, 196}, {0.005f, 144},
        {1.0f, 255}, {0.00001f, 0}, {0.0f, 0},   {-0.5f, 0},   {std::numeric_limits<float>::quiet_NaN(), 0},
    };
    for (const auto& c : known) EXPECT_EQ(markerRadiusLevel(c.radius), c.level) << c.radius;
    // The point shader reads the level back as 10^(level / 255 * 3 - 4): every radius a marker
    // takes comes back within 1.4 %.
    for (int count : {10, 500, 3000, 20000})
        for (float k : {1.0f, 2.0f, 4.0f, 6.0f, 7.0f, 8.0f, 9.0f, 10.0f}) {
            const float radius = k / std::max(100.0f, static_cast<float>(count / 2));
            const float back = std::pow(10.0f, markerRadiusLevel(radius) / 255.0f * 3.0f - 4.0f);
            EXPECT_NEAR(back / radius, 1.0f, 0.014f) << radius;
        }
}

}  // namespace
