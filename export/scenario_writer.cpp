#include "export/scenario_writer.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "export/asteroids.h"
#include "export/habitability.h"
#include "export/system_export.h"
#include "files/atomic_file.h"
#include "files/safe_name.h"
#include "files/simulator_paths.h"

namespace {

constexpr double kGravitation = 6.67259e-11;  // the simulator's own constant
constexpr const char* kShip = "SV-01";        // no blanks: some of the simulator's keys read one word
constexpr std::size_t kLongestLine = 254;     // the simulator reads lines into 256 bytes
constexpr std::int64_t kLastMoment = 253402300799;  // 9999-12-31 23:59:59 UTC

bool namable(const PlanetRecord& body) { return body.name.find(';') == std::string::npos; }

bool usable(const PlanetRecord& body) {
    const WrittenBody written = writtenBody("", body);
    return written.size > 0.0 && written.mass > 0.0 && namable(body);
}

std::string fixed(double value, int decimals) {
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}

std::string calendarText(std::int64_t moment) {
    using namespace std::chrono;
    const sys_seconds time{seconds{moment}};
    const sys_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss<seconds> clock{time - day};
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d UTC", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

// 1970-01-01 is MJD 40587. The simulator keeps dynamical time, which it takes as 66.184 s
// ahead of UTC when it starts from the clock; the same offset makes the scenario start at the
// moment of the export.
double modifiedJulianDate(std::int64_t moment) {
    return 40587.0 + (static_cast<double>(moment) + 66.184) / 86400.0;
}

}  // namespace

const PlanetRecord* scenarioTarget(const GeneratedSystem& system) {
    const PlanetRecord* best = nullptr;
    auto bestVerdict = HabitabilityVerdict::hostile;  // a hostile body is chosen only by its size
    const PlanetRecord* largest = nullptr;
    for (const PlanetSlot& planet : system.planets) {
        // The moons of a planet whose name holds a ';' are keyed by that name: none can be found.
        if (isBelt(planet) || planet.bodies.empty() || !namable(planet.bodies[0])) continue;
        for (std::size_t i = 0; i < planet.bodies.size(); ++i) {
            const PlanetRecord& body = planet.bodies[i];
            if (!usable(body)) continue;
            const HabitabilityVerdict verdict = rateHabitability(body).verdict;
            if (verdict < bestVerdict) {
                best = &body;
                bestVerdict = verdict;
            }
            if (i == 0 && (largest == nullptr || body.radius > largest->radius)) largest = &body;
        }
    }
    return best != nullptr ? best : largest;
}

std::optional<std::string> scenarioText(const ScenarioFacts& facts) {
    const std::string ship = kShip;
    const std::string& body = facts.body.name;
    const double radius = 1.1 * facts.body.size;
    const double speed = std::sqrt(kGravitation * facts.body.mass / radius);
    const std::vector<std::string> lines = {
        "BEGIN_DESC",
        // Lines of one paragraph are joined; the names stand alone so that long ones still fit.
        "Starvane: the system",
        facts.systemName,
        "around the star " + facts.starName + ".",
        "A DeltaGlider, " + ship + ", in a circular orbit at 1.1 radii around",
        body + ".",
        "Exported " + calendarText(facts.moment) + ".",
        "END_DESC",
        "BEGIN_ENVIRONMENT",
        "  System " + facts.systemFile,
        "  Date MJD " + fixed(modifiedJulianDate(facts.moment), 10),
        "END_ENVIRONMENT",
        "BEGIN_FOCUS",
        "  Ship " + ship,
        "END_FOCUS",
        "BEGIN_CAMERA",
        "  TARGET " + ship,
        "  MODE Cockpit",
        "  FOV 50.00",
        "END_CAMERA",
        "BEGIN_HUD",
        "  TYPE Orbit",
        "END_HUD",
        "BEGIN_MFD Left",
        "  TYPE Orbit",
        "  REF " + body,
        "END_MFD",
        "BEGIN_SHIPS",
        ship + ":DeltaGlider",
        "  STATUS Orbiting " + body,
        "  RPOS " + fixed(radius, 3) + " 0.000 0.000",
        "  RVEL 0.0000 0.0000 " + fixed(speed, 4),  // +z with the position on +x: prograde
        "  AROT 0.00 0.00 90.00",                    // belly towards the body
        "  PRPLEVEL 0:1.000 1:1.000",                // without it the tanks start empty
        "END",
        "END_SHIPS"};
    std::string text;
    for (const std::string& line : lines) {
        if (line.find(';') != std::string::npos || line.size() > kLongestLine) return std::nullopt;
        text += line + "\n";
    }
    return text;
}

std::optional<std::int64_t> sourceDateEpoch(const char* text) {
    if (text == nullptr || *text < '0' || *text > '9') return std::nullopt;
    const char* end = text + std::char_traits<char>::length(text);
    std::int64_t seconds = 0;
    const auto [stop, error] = std::from_chars(text, end, seconds);
    if (error != std::errc() || stop != end || seconds > kLastMoment) return std::nullopt;
    return seconds;
}

std::int64_t exportMoment() {
    if (const auto fixedMoment = sourceDateEpoch(std::getenv("SOURCE_DATE_EPOCH"))) return *fixedMoment;
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

ScenarioOutcome saveScenario(const std::filesystem::path& root, const GeneratedSystem& system,
                             const StellarData& star, bool toCache, std::int64_t moment) {
    const PlanetRecord* target = scenarioTarget(system);
    if (target == nullptr) return {"", "no planet or moon has a size and mass to orbit"};
    const ExportDestination destination = exportDestination(root, system.name, toCache);
    const std::string name = safeFileName(system.name);
    const ScenarioFacts facts{destination.reference + name + "System", name, oneLineName(star.name),
                              writtenBody(name, *target), moment};
    const std::optional<std::string> text = scenarioText(facts);
    if (!text) return {"", "a name holds a ';' or is too long for a scenario"};
    const auto path = resolveInside(toCache ? root : destination.folder, scenarioPath(name));
    std::error_code error;
    if (path) std::filesystem::create_directories(path->parent_path(), error);
    if (!path || !writeFileAtomically(*path, *text))
        return {"", "could not write " + (path ? path->string() : scenarioPath(name))};
    return {"Starvane/" + name, ""};
}
