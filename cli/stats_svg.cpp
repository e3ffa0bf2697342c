#include "cli/stats_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "text/display_text.h"

namespace {

constexpr double kLeft = 70.0, kRight = 700.0;              // both panels
constexpr double kScatterTop = 50.0, kScatterBottom = 450.0;
constexpr double kBarsTop = 530.0, kBarsBottom = 700.0;

// A log axis over whole decades.
struct LogAxis {
    double lowDecade = 0.0, highDecade = 1.0;
    double from = 0.0, to = 1.0;  // screen
    double at(double value) const {
        const double decade = std::log10(std::clamp(value, std::pow(10.0, lowDecade), std::pow(10.0, highDecade)));
        return from + (decade - lowDecade) / (highDecade - lowDecade) * (to - from);
    }
};

// Decades that hold every positive value (at most `lowest`..`highest`), or `fallback`.
LogAxis axisFor(const StatsTally& tally, double PlanetMark::*field, int lowest, int highest, int fallbackLow,
                int fallbackHigh) {
    double low = HUGE_VAL, high = 0.0;
    for (const PlanetMark& mark : tally.marks)
        if (mark.*field > 0.0) low = std::min(low, mark.*field), high = std::max(high, mark.*field);
    LogAxis axis;
    axis.lowDecade = high > 0.0 ? std::clamp(std::floor(std::log10(low)), double(lowest), double(highest - 1)) : fallbackLow;
    axis.highDecade = high > 0.0 ? std::clamp(std::ceil(std::log10(high)), axis.lowDecade + 1, double(highest)) : fallbackHigh;
    return axis;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string text(double x, double y, std::string_view content, const char* anchor = "middle") {
    return "<text x=\"" + number(x) + "\" y=\"" + number(y) + "\" text-anchor=\"" + anchor + "\" stroke=\"none\">" +
           escapeXml(content) + "</text>\n";
}

// An axis title along the left edge, read bottom to top.
std::string verticalText(double y, std::string_view content) {
    return "<g transform=\"translate(20 " + number(y) + ") rotate(-90)\">" + text(0, 0, content) + "</g>\n";
}

std::string line(double x1, double y1, double x2, double y2) {
    return "<line x1=\"" + number(x1) + "\" y1=\"" + number(y1) + "\" x2=\"" + number(x2) + "\" y2=\"" + number(y2) +
           "\"/>\n";
}

std::string decadeTicks(const LogAxis& axis, bool horizontal) {
    std::string out;
    for (double d = axis.lowDecade; d <= axis.highDecade; d += 1.0) {
        const double at = axis.at(std::pow(10.0, d));
        char label[16];
        std::snprintf(label, sizeof label, "%g", std::pow(10.0, d));
        out += horizontal ? line(at, kScatterBottom, at, kScatterTop) + text(at, kScatterBottom + 16, label)
                          : line(kLeft, at, kRight, at) + text(kLeft - 6, at + 4, label, "end");
    }
    return out;
}

// A survey's region, [period range] x [radius range], clipped to the frame.
struct Region {
    double periodLow, periodHigh, radiusLow, radiusHigh;
    const char* label;
    const char* colour;
};

const Region kRegions[] = {
    {0.0, 400.0, 1.0, 1e9, "Zhu 2018: P < 400 d, R > 1", "#1f77b4"},
    {0.0, 200.0, 1.0, 4.0, "Dressing 2015 (M): P < 200 d, 1-4", "#d62728"},
    {0.0, 2000.0, 8.0, 1e9, "Cumming 2008: giants > 0.3 M_J, P < 2000 d", "#2ca02c"},
    {338.0, 788.0, 0.5, 1.5, "eta-Earth: Sun's HZ, 0.5-1.5", "#9467bd"},
};

std::string regionBoxes(const LogAxis& x, const LogAxis& y) {
    std::string out;
    double labelY = kScatterTop + 14.0;
    for (const Region& r : kRegions) {
        const double x1 = x.at(std::max(r.periodLow, 1e-300)), x2 = x.at(r.periodHigh);
        const double y1 = y.at(r.radiusHigh), y2 = y.at(r.radiusLow);
        out += "<rect x=\"" + number(x1) + "\" y=\"" + number(y1) + "\" width=\"" + number(x2 - x1) + "\" height=\"" +
               number(y2 - y1) + "\" fill=\"none\" stroke=\"" + r.colour + "\" stroke-width=\"1.5\"/>\n";
        out += "<g fill=\"" + std::string(r.colour) + "\">" + text(kRight - 4, labelY, r.label, "end") + "</g>\n";
        labelY += 14.0;
    }
    return out;
}

std::string scatter(const StatsTally& tally) {
    const LogAxis x = [&] { LogAxis a = axisFor(tally, &PlanetMark::period, -2, 9, 0, 4); a.from = kLeft, a.to = kRight; return a; }();
    const LogAxis y = [&] { LogAxis a = axisFor(tally, &PlanetMark::radius, -3, 3, -1, 2); a.from = kScatterBottom, a.to = kScatterTop; return a; }();
    std::string out = "<g stroke=\"#ddd\">\n" + decadeTicks(x, true) + decadeTicks(y, false) + "</g>\n";
    out += "<path id=\"planets\" stroke=\"#333\" stroke-opacity=\"0.35\" stroke-width=\"2.5\" stroke-linecap=\"round\" d=\"";
    for (const PlanetMark& mark : tally.marks)
        if (mark.period > 0.0 && mark.radius > 0.0) out += "M" + number(x.at(mark.period)) + " " + number(y.at(mark.radius)) + "h0";
    out += "\"/>\n" + regionBoxes(x, y);
    out += text((kLeft + kRight) / 2, kScatterBottom + 34, "orbital period (days)");
    out += verticalText((kScatterTop + kScatterBottom) / 2, "radius (Earth radii)");
    return out;
}

std::string histogram(const StatsTally& tally) {
    const std::vector<std::int64_t>& h = tally.planetsPerSystem;
    const std::int64_t tallest = h.empty() ? 1 : std::max<std::int64_t>(1, *std::max_element(h.begin(), h.end()));
    const double width = (kRight - kLeft) / static_cast<double>(std::max<std::size_t>(h.size(), 1));
    std::string out = "<g fill=\"#1f77b4\">\n";
    for (std::size_t n = 0; n < h.size(); ++n) {
        const double top = kBarsBottom - (kBarsBottom - kBarsTop) * static_cast<double>(h[n]) / static_cast<double>(tallest);
        out += "<rect x=\"" + number(kLeft + width * static_cast<double>(n) + 1) + "\" y=\"" + number(top) + "\" width=\"" +
               number(width - 2) + "\" height=\"" + number(kBarsBottom - top) + "\"/>\n";
    }
    out += "</g>\n";
    for (std::size_t n = 0; n < h.size(); ++n)
        out += text(kLeft + width * (static_cast<double>(n) + 0.5), kBarsBottom + 16, std::to_string(n));
    out += text((kLeft + kRight) / 2, kBarsBottom + 34, "planets per system");
    out += text(kLeft - 6, kBarsTop + 4, std::to_string(tallest), "end") + text(kLeft - 6, kBarsBottom, "0", "end");
    return out + verticalText((kBarsTop + kBarsBottom) / 2, "systems");
}

}  // namespace

std::string statsSvg(const StatsTally& tally, std::string_view title) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"720\" height=\"750\" viewBox=\"0 0 720 750\" "
        "font-family=\"sans-serif\" font-size=\"11\">\n<rect width=\"720\" height=\"750\" fill=\"white\"/>\n";
    out += "<g font-size=\"14\">" + text(360, 24, title) + "</g>\n";
    out += scatter(tally) + histogram(tally) + "</svg>\n";
    return out;
}
