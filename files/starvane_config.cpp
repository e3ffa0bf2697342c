#include "files/starvane_config.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include "files/text_number.h"

namespace {

std::vector<std::string> configLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The two numbers of a pair line: up to the comma, and after it.
std::pair<std::string, std::string> pairOf(const std::string& line) {
    const std::size_t comma = line.find(',');
    if (comma == std::string::npos) return {line, ""};
    return {line.substr(0, comma), line.substr(comma + 1)};
}

int truncatedInteger(const std::string& text) {
    const double value = std::trunc(leadingNumber(text));
    if (!(value > -2147483648.0)) return value != value ? 0 : -2147483647 - 1;
    if (value > 2147483647.0) return 2147483647;
    return static_cast<int>(value);
}

}  // namespace

StarvaneConfig readStarvaneConfig(const std::string& text) {
    const std::vector<std::string> lines = configLines(text);
    auto line = [&](int number) { return number - 1 < static_cast<int>(lines.size()) ? lines[number - 1] : std::string(); };

    StarvaneConfig config;
    config.width = leadingInteger(line(2));
    config.height = leadingInteger(line(3));
    config.galaxy = line(5);
    config.hotspotfile = line(7);
    const auto levels = pairOf(line(9));
    config.largelevel = leadingInteger(levels.first);
    config.smalllevel = leadingInteger(levels.second);
    const auto radii = pairOf(line(11));
    config.largeradius = leadingNumber(radii.first);
    config.smallradius = leadingNumber(radii.second);
    config.lowerbound = leadingInteger(line(13));
    config.upperbound = leadingInteger(line(15));
    config.asteroidlevel = leadingInteger(line(17));
    const auto asteroids = pairOf(line(19));
    config.maxasteroids = truncatedInteger(asteroids.first);
    config.minasteroids = truncatedInteger(asteroids.second);
    const int capacityLess2 = leadingInteger(line(21));
    config.cachecapacity = capacityLess2 > 2147483645 ? 2147483647 : capacityLess2 + 2;
    config.pluginoption1 = leadingInteger(line(27));
    config.pluginoption3 = leadingInteger(line(29));
    config.textureswitch = leadingInteger(line(31));
    config.routes = leadingInteger(line(33));
    return config;
}

bool loadStarvaneConfig(const std::filesystem::path& root, StarvaneConfig& config) {
    std::ifstream in(root / "Starvane" / "Starvane.cfg", std::ios::binary);
    std::ostringstream text;
    if (in) text << in.rdbuf();
    config = readStarvaneConfig(text.str());
    return static_cast<bool>(in);
}
