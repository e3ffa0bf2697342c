#include "galaxy/star_naming.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

namespace {

std::string tenDigits(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

char letterOf(double value, double number) {
    return static_cast<char>('a' + static_cast<int>(std::trunc((value - number) * 100.0)));
}

double oneDecimal(double value) { return std::trunc(10.0 * value) / 10.0; }

}  // namespace

double directionDegrees(double a, double b) {
    if (b == 0.0) return a >= 0.0 ? 0.0 : 180.0;
    if (a == 0.0) return b < 0.0 ? 90.0 : 270.0;
    double degrees = std::atan2(-b, a) * 180.0 / std::numbers::pi;
    if (degrees < 0.0) degrees += 360.0;
    if (degrees >= 360.0) degrees -= 360.0;
    return degrees;
}

void nameStar(const GalaxyParameters& catalogue, StarRecord& star, double x, double y, double z) {
    const double px = 10.0 * x + static_cast<double>(star.offset[0]);
    const double py = 10.0 * y + static_cast<double>(star.offset[2]);
    const double ph = 10.0 * z + static_cast<double>(star.offset[1]);
    const double rx = 10.0 * static_cast<double>(catalogue.referencecube[0]) +
                      static_cast<double>(catalogue.referenceoffset[0]);
    const double ry = 10.0 * static_cast<double>(catalogue.referencecube[1]) +
                      static_cast<double>(catalogue.referenceoffset[1]);
    const double rh = 10.0 * static_cast<double>(catalogue.referencecube[2]) +
                      static_cast<double>(catalogue.referenceoffset[2]);

    const double distance =
        3.26 * std::sqrt((px - rx) * (px - rx) + (py - ry) * (py - ry) + (ph - rh) * (ph - rh));
    const double longitude = directionDegrees(-py, -px);
    const double latitude = directionDegrees(std::sqrt(px * px + py * py), -ph);

    const double lonNumber = oneDecimal(longitude);
    const double latNumber = oneDecimal(latitude);
    const double distNumber = oneDecimal(distance);
    const double latWritten = latNumber > 180.0 ? latNumber - 360.0 : latNumber;

    std::string name = star.physical->name == "NIL" ? "!" : "";
    name += tenDigits(lonNumber);
    name += letterOf(longitude, lonNumber);
    name += tenDigits(latWritten);
    name += letterOf(latitude, latNumber);
    name += tenDigits(distNumber);
    name += letterOf(distance, distNumber);
    star.physical->name = name;
}
