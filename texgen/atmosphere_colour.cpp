#include "texgen/atmosphere_colour.h"

namespace texgen {

namespace {

struct Rgb8 {
    uint8_t r, g, b;
};

// Indexed by class. A class is its dominant gas pattern's number plus one; the colour is
// what a sky of that mixture would roughly scatter.
constexpr Rgb8 kClassColour[kAtmosphereClasses + 1] = {
    {0, 0, 0},        // (unused)
    {0, 0, 0},        // 1: no atmosphere
    {77, 128, 209},   // 2: nitrogen and oxygen, Earth-like blue
    {226, 208, 165},  // 3: carbon dioxide, pale yellow-white
    {150, 181, 230},  // 4: nitrogen, pale blue
    {184, 209, 92},   // 5: chlorine, yellow-green
    {88, 170, 222},   // 6: methane, ammonia and hydrogen, cyan-blue
    {236, 222, 184},  // 7: ammonia, cream
    {98, 188, 168},   // 8: methane, blue-green
    {168, 198, 232},  // 9: hydrogen peroxide and nitrogen, light blue
    {182, 182, 190},  // 10: no dominant gas, neutral haze
    {226, 204, 112},  // 11: carbon dioxide and sulphur dioxide, yellow
    {168, 204, 158},  // 12: nitrogen and chlorine, pale green
    {188, 118, 68},   // 13: nitric acid and carbon dioxide, orange-brown
    {204, 200, 150},  // 14: hydrogen peroxide and hydrogen sulphide, pale olive
    {174, 190, 216},  // 15: nitrogen and carbon dioxide, blue-grey
    {128, 198, 200},  // 16: methane and ammonia, teal
    {206, 214, 128},  // 17: chlorine and carbon dioxide, pale yellow-green
    {226, 168, 60},   // 18: chlorine and disulphur dichloride, yellow-orange
    {220, 208, 138},  // 19: nitrogen and sulphuric acid, yellowish
    {168, 190, 240},  // 20: hydrogen, faint blue
    {236, 236, 242},  // 21: carbon dioxide and water vapour, white
};

}  // namespace

uint32_t atmosphere_colour(int atmosphere_class) {
    if (atmosphere_class < 2 || atmosphere_class > kAtmosphereClasses) return 0;
    const Rgb8 c = kClassColour[atmosphere_class];
    return static_cast<uint32_t>(c.r) | static_cast<uint32_t>(c.g) << 8 |
           static_cast<uint32_t>(c.b) << 16;
}

}  // namespace texgen
