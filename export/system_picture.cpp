#include "export/system_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "text/display_text.h"

namespace {

constexpr double kLeft = 90.0;         // the star's centre
constexpr double kAxisLeft = 150.0;    // where the distance axis starts
constexpr double kAxisWidth = 800.0;
constexpr double kLineY = 150.0;       // the planets sit on this line
constexpr double kMoonRow = 16.0;      // height of one moon's line below its planet
constexpr double kColumnWidth = 86.0;  // the least distance between two columns of labels

std::string number(double value, const char* pattern = "%.4g") {
    char text[32];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

// Rocky worlds in browns and greys, water and life in blues and greens, ice pale, giants in
// the colours of their cloud decks.
constexpr const char* kColours[kPlanetTypeCount] = {
    "#9a9a9a", "#8c7b6b", "#e3c27a", "#4f9d5d", "#d9a66c", "#c1583a", "#3f7fd0", "#cfe6f2", "#7fc6d6",
    "#b5a48c", "#6f6a60", "#a0522d", "#e0b080", "#f0e6d0", "#8aa0c8", "#4a6fa8", "#c8a0d8"};

const char* typeColour(std::int32_t type) {
    return type >= 0 && type < kPlanetTypeCount ? kColours[type] : kColours[0];
}

// Radius in pixels: grows with the square root of the radius, an Earth is 6 pixels.
double markRadius(double radiusKm) {
    return std::clamp(6.0 * std::sqrt(std::max(radiusKm, 0.0) / 6371.0), 2.0, 30.0);
}

struct Scale {
    double low = 0.0, high = 0.0;  // log10 of the axis ends, AU
    double x(double au) const {
        return kAxisLeft + (std::log10(std::max(au, 1e-6)) - low) / (high - low) * kAxisWidth;
    }
};

Scale scaleFor(const GeneratedSystem& system, const HabitableZone& zone) {
    double nearest = zone.inner, farthest = zone.outer;
    for (const PlanetSlot& slot : system.planets)
        if (!slot.bodies.empty() && slot.bodies[0].sma > 0.0) {
            nearest = std::min(nearest, slot.bodies[0].sma);
            farthest = std::max(farthest, slot.bodies[0].sma);
        }
    Scale scale{std::floor(std::log10(nearest)), std::ceil(std::log10(farthest))};
    if (scale.high <= scale.low) scale.high = scale.low + 1.0;
    return scale;
}

void axis(std::string& out, const Scale& scale, const HabitableZone& zone) {
    const double hzLeft = scale.x(zone.inner), hzRight = scale.x(zone.outer);
    out += "<rect class=\"habitable-zone\" x=\"" + number(hzLeft, "%.1f") + "\" y=\"40\" width=\"" +
           number(hzRight - hzLeft, "%.1f") + "\" height=\"220\" fill=\"#3c9a50\" fill-opacity=\"0.18\"/>\n";
    out += "<text x=\"" + number((hzLeft + hzRight) / 2, "%.1f") +
           "\" y=\"54\" text-anchor=\"middle\" fill=\"#7fd08f\">habitable zone</text>\n";
    out += "<line x1=\"" + number(kAxisLeft) + "\" y1=\"270\" x2=\"" + number(kAxisLeft + kAxisWidth) +
           "\" y2=\"270\" stroke=\"#8090b0\"/>\n";
    for (double decade = scale.low; decade <= scale.high; decade += 1.0) {
        const double x = scale.x(std::pow(10.0, decade));
        out += "<line x1=\"" + number(x, "%.1f") + "\" y1=\"266\" x2=\"" + number(x, "%.1f") +
               "\" y2=\"274\" stroke=\"#8090b0\"/><text x=\"" + number(x, "%.1f") +
               "\" y=\"288\" text-anchor=\"middle\" fill=\"#b0c0e0\">" + number(std::pow(10.0, decade), "%g") +
               " AU</text>\n";
    }
}

void body(std::string& out, const PlanetRecord& b, const char* kind, double x, double y, double r) {
    out += "<circle class=\"" + std::string(kind) + "\" cx=\"" + number(x, "%.1f") + "\" cy=\"" +
           number(y, "%.1f") + "\" r=\"" + number(r, "%.1f") + "\" fill=\"" + typeColour(b.type) +
           "\"><title>" + escapeXml(b.name) + ": " + planetTypeName(b.type) + ", " + number(b.radius, "%.0f") +
           " km</title></circle>\n";
}

// A planet on its orbit, its name and type below it, and its moons in a column below those,
// at `column` (kept apart from the previous column so that no two labels overlap).
double planet(std::string& out, const PlanetSlot& slot, double x, double column) {
    const PlanetRecord& p = slot.bodies[0];
    const double r = markRadius(p.radius);
    out += "<path d=\"M " + number(kLeft + (x - kLeft) * 0.96, "%.1f") + " " + number(kLineY - 90) + " Q " +
           number(x + (x - kLeft) * 0.04, "%.1f") + " " + number(kLineY) + " " +
           number(kLeft + (x - kLeft) * 0.96, "%.1f") + " " + number(kLineY + 90) +
           "\" fill=\"none\" stroke=\"#405070\"/>\n";
    body(out, p, "planet", x, kLineY, r);
    if (std::abs(column - x) > 1.0)
        out += "<line x1=\"" + number(x, "%.1f") + "\" y1=\"" + number(kLineY + r) + "\" x2=\"" +
               number(column, "%.1f") + "\" y2=\"300\" stroke=\"#607090\" stroke-dasharray=\"2 2\"/>\n";
    double y = 312.0;
    out += "<text x=\"" + number(column, "%.1f") + "\" y=\"" + number(y) + "\" text-anchor=\"middle\" fill=\"#ffffff\">" +
           escapeXml(p.name) + "</text>\n";
    out += "<text x=\"" + number(column, "%.1f") + "\" y=\"" + number(y + 13) +
           "\" text-anchor=\"middle\" font-size=\"10\" fill=\"#a0b0d0\">" + planetTypeName(p.type) + "</text>\n";
    y += 30.0;
    for (std::size_t i = 1; i < slot.bodies.size(); ++i, y += kMoonRow) {
        body(out, slot.bodies[i], "moon", column - 30.0, y - 4.0, std::min(markRadius(slot.bodies[i].radius), 6.0));
        out += "<text x=\"" + number(column - 20.0, "%.1f") + "\" y=\"" + number(y) + "\" font-size=\"10\" fill=\"#d0d8e8\">" +
               escapeXml(slot.bodies[i].name) + "</text>\n";
    }
    return y;
}

}  // namespace

HabitableZone habitableZone(double luminosity) {
    const double scale = std::sqrt(std::max(luminosity, 0.0));
    return {0.95 * scale, 1.67 * scale};
}

std::string systemPictureSvg(const GeneratedSystem& system, const StellarData& star) {
    const HabitableZone zone = habitableZone(star.luminosity > 0.0 ? star.luminosity : 1.0);
    const Scale scale = scaleFor(system, zone);
    std::string drawing;
    axis(drawing, scale, zone);
    double column = -1e9, bottom = 300.0;
    for (const PlanetSlot& slot : system.planets) {
        if (slot.bodies.empty()) continue;
        const double x = scale.x(slot.bodies[0].sma);
        column = std::max(x, column + kColumnWidth);
        bottom = std::max(bottom, planet(drawing, slot, x, column));
    }
    const double width = std::max(kAxisLeft + kAxisWidth + 60.0, column + kColumnWidth / 2 + 10.0);
    const double height = bottom + 20.0;
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      number(width, "%.0f") + "\" height=\"" + number(height, "%.0f") + "\" viewBox=\"0 0 " +
                      number(width, "%.0f") + " " + number(height, "%.0f") +
                      "\" font-family=\"DejaVu Sans, sans-serif\" font-size=\"12\">\n";
    out += "<rect width=\"100%\" height=\"100%\" fill=\"#0b1020\"/>\n";
    out += "<text x=\"20\" y=\"24\" font-size=\"16\" fill=\"#ffffff\">" + escapeXml(system.name) + ": " +
           std::to_string(system.planetcount) + (system.planetcount == 1 ? " planet" : " planets") + " around " +
           escapeXml(star.name) + " (luminosity " + number(star.luminosity) + " Sun)</text>\n";
    out += "<circle class=\"star\" cx=\"" + number(kLeft) + "\" cy=\"" + number(kLineY) +
           "\" r=\"26\" fill=\"#ffd36b\"/>\n";
    return out + drawing + "</svg>\n";
}
