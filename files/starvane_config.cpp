#include "files/starvane_config.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "text/format_limits.h"
#include "text/text_lines.h"
#include "text/text_number.h"

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

// Line 19's asteroid counts, each cut to the most a belt may have.
void readAsteroidCounts(const std::string& line, StarvaneConfig& config, std::string* problem) {
    const auto counts = pairOf(line);
    const int most = truncatedInteger(counts.first);
    const int least = truncatedInteger(counts.second);
    config.maxasteroids = std::min(most, kMostAsteroidsPerBelt);
    config.minasteroids = std::min(least, kMostAsteroidsPerBelt);
    if (problem == nullptr || (most <= kMostAsteroidsPerBelt && least <= kMostAsteroidsPerBelt)) return;
    *problem = "line 19: " + std::to_string(most) + "," + std::to_string(least) +
               " asteroids per belt, more than the " + std::to_string(kMostAsteroidsPerBelt) +
               " a belt may have; " + std::to_string(config.maxasteroids) + "," +
               std::to_string(config.minasteroids) + " are used";
}

}  // namespace

StarvaneConfig readStarvaneConfig(const std::string& text, std::string* problem) {
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
    readAsteroidCounts(line(19), config, problem);
    const int capacityLess2 = leadingInteger(line(21));
    config.cachecapacity = capacityLess2 > 2147483645 ? 2147483647 : capacityLess2 + 2;
    config.pluginoption1 = leadingInteger(line(27));
    config.pluginoption3 = leadingInteger(line(29));
    config.textureswitch = leadingInteger(line(31));
    config.routes = leadingInteger(line(33));
    return config;
}

bool loadStarvaneConfig(const std::filesystem::path& root, StarvaneConfig& config, MessageSink* messages) {
    const std::filesystem::path file = root / "Starvane" / "Starvane.cfg";
    bool read = false;
    const std::string text = readTextFile(file, &read);
    std::string problem;
    config = readStarvaneConfig(text, &problem);
    if (messages != nullptr && !problem.empty())
        messages->showMessage(kFileProblemTitle, file.string() + ", " + problem);
    return read;
}
