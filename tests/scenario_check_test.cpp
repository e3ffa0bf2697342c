// Exported scenarios read the way the simulator reads them: each block is found by a line that
// starts with BEGIN_<block> (case ignored), its lines are cut at ';' and trimmed, and a key is
// matched as the start of a line. "System X" opens Config/X.cfg, the vessel's body is looked up
// by the exact "Name =" of the planets and moons that file lists, and the vessel must circle it.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>

#include "export/scenario_writer.h"
#include "export/system_save.h"
#include "files/cache_list.h"
#include "files/galaxy_files.h"
#include "galaxy/galaxy_catalogue.h"

#include "tests/galaxy_test_support.h"
#include "tests/test_files.h"

namespace {

namespace fs = std::filesystem;

std::string trimmed(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(" \t");
    return begin == std::string::npos ? "" : text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool startsWithIgnoringCase(const std::string& text, const std::string& start) {
    return text.size() >= start.size() && strncasecmp(text.c_str(), start.c_str(), start.size()) == 0;
}

// The raw lines of the block that the first line starting with `begin` opens, up to END_.
std::vector<std::string> block(const std::string& text, const std::string& begin) {
    std::istringstream in(text);
    std::vector<std::string> lines;
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (inside && startsWithIgnoringCase(trimmed(line), "END_")) break;
        if (inside) lines.push_back(trimmed(line.substr(0, line.find(';'))));
        inside = inside || startsWithIgnoringCase(line, begin);
    }
    return lines;
}

// The rest of the first line that starts with `key`, trimmed; "" when there is none.
std::string value(const std::vector<std::string>& lines, const std::string& key) {
    for (const std::string& line : lines)
        if (startsWithIgnoringCase(line, key)) return trimmed(line.substr(key.size()));
    return "";
}

// A configuration file's keys (lowered) with their first value.
std::map<std::string, std::string> readCfg(const fs::path& path) {
    std::map<std::string, std::string> items;
    std::istringstream in(readAll(path));
    for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find(';'));
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos)
            items.emplace(lowered(trimmed(line.substr(0, equals))), trimmed(line.substr(equals + 1)));
    }
    return items;
}

// What the simulator would make of the scenario `text` below the configuration folder
// `config`; empty when the vessel circles the body it names.
std::string checkScenario(const std::string& text, const fs::path& config) {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.size() >= 255) return "a line of 255 characters or more";
    const auto ships = block(text, "BEGIN_SHIPS");
    for (const std::string& line : ships)
        if (line.empty()) return "a blank line among the ships";
    const auto system = readCfg(config / (value(block(text, "BEGIN_ENVIRONMENT"), "System") + ".cfg"));
    if (system.empty()) return "no system file";
    std::map<std::string, std::map<std::string, std::string>> bodies;  // by their Name
    auto add = [&](const std::string& key) {
        auto body = readCfg(config / (system.at(key) + ".cfg"));
        return bodies[body["name"]] = body;
    };
    std::string key;
    for (int n = 1; system.count(key = "planet" + std::to_string(n)); ++n) {
        const std::string name = lowered(add(key)["name"]);
        for (int j = 1; system.count(key = name + ":moon" + std::to_string(j)); ++j) add(key);
    }
    const std::string status = value(ships, "STATUS");
    const std::string body = startsWithIgnoringCase(status, "Orbiting ") ? trimmed(status.substr(9)) : "";
    if (!bodies.count(body)) return "no body is named \"" + body + "\"";
    if (ships.empty() || value(block(text, "BEGIN_FOCUS"), "Ship") != ships[0].substr(0, ships[0].find(':')))
        return "the focus is not the vessel";
    if (value(block(text, "BEGIN_MFD"), "REF") != body) return "the orbit display refers to another body";
    double x = 0, y = 0, z = 0, vx = 0, vy = 0, vz = 0, size = 0, mass = 0;
    std::sscanf(value(ships, "RPOS").c_str(), "%lf %lf %lf", &x, &y, &z);
    std::sscanf(value(ships, "RVEL").c_str(), "%lf %lf %lf", &vx, &vy, &vz);
    std::sscanf(bodies[body]["size"].c_str(), "%lf", &size);
    std::sscanf(bodies[body]["mass"].c_str(), "%lf", &mass);
    const double r = std::hypot(x, y, z), v = std::hypot(vx, vy, vz);
    if (!(r > size)) return "the vessel is not above the surface";
    if (!(std::abs(v / std::sqrt(6.67259e-11 * mass / r) - 1.0) < 0.01)) return "the orbit is not circular";
    if (!(vz * x - vx * z > 0.0)) return "the orbit is not prograde";  // ecliptic north is +y
    if (value(ships, "PRPLEVEL").empty()) return "empty tanks";
    return "";
}

StarRecord generatedStar() {
    StarRecord star;
    star.physical = std::make_unique<StellarData>();
    star.physical->name = "Sunlike";
    star.physical->typename_ = "Main Sequence Star";
    star.physical->mass = star.physical->initialmass = star.physical->radius = 1.0;
    star.physical->luminosity = star.physical->initialluminosity = 1.0;
    star.physical->age = 4600.0;
    star.physical->mslifetime = 10000.0;
    star.system = std::make_unique<GeneratedSystem>();
    star.system->generateFor(19.0, *star.physical);
    return star;
}

struct SavedScenario {
    TemporaryFolder root;
    SaveResult result{SaveOutcome::noSystem};
    fs::path path;
    SavedScenario(StarRecord& star, bool toCache) {
        fs::create_directories(root.path() / "Config");
        fs::create_directories(root.path() / "Starvane" / "SavedSystems");
        StarvaneConfig config;
        config.cachecapacity = 5;
        LcgRandom random(5);
        result = toCache ? saveToCache(root.path(), star, config, nullptr, {}, random)
                         : saveToFolder(root.path(), star, config, nullptr, {}, random);
        // A folder export goes below Config under the placeholder name its files refer to.
        const fs::path own = root.path() / "Starvane" / "SavedSystems" / star.system->name;
        if (!toCache) fs::create_directory_symlink(own.parent_path(), root.path() / "Config" / "XXXXXXXXX");
        path = (toCache ? root.path() : own) / "Scenarios" / "Starvane" / (star.system->name + ".scn");
    }
};

TEST(ScenarioCheck, SolAndAGeneratedSystemFlyToCacheAndToFolder) {
    GalaxyCatalogue catalogue;
    loadGalaxy(catalogue, STARVANE_SOURCE_DIR "/data", "MilkyWay", realTables());
    StarRecord* sol = nullptr;
    for (const auto& star : catalogue.stars)
        if (star != nullptr && star->physical && star->physical->name == "Sol") sol = star.get();
    ASSERT_TRUE(sol != nullptr && sol->system);
    sol->path.clear();  // exported as generated, not as read from its file
    StarRecord generated = generatedStar();
    setenv("SOURCE_DATE_EPOCH", "946728000", 1);  // 2000-01-01 12:00:00 UTC
    for (StarRecord* star : {sol, &generated}) {
        for (const bool toCache : {true, false}) {
            SavedScenario saved(*star, toCache);
            const std::string name = star->system->name, text = readAll(saved.path), at = "Starvane/" + name;
            EXPECT_EQ(checkScenario(text, saved.root.path() / "Config"), "") << name << " " << toCache << text;
            EXPECT_EQ(saveResultText(saved.result, name), "Saved " + name + ". Fly there: scenario " + at + ".");
            EXPECT_NE(text.find("\n  Date MJD 51544.5007660185\n"), std::string::npos) << text;
            EXPECT_NE(text.find("Exported 2000-01-01 12:00:00 UTC."), std::string::npos) << text;
            if (star == sol) EXPECT_NE(text.find("STATUS Orbiting Sol Earth\n"), std::string::npos) << text;
        }
    }
    unsetenv("SOURCE_DATE_EPOCH");
}

TEST(ScenarioCheck, TheCheckerSeesWhatTheSimulatorWouldMisread) {
    StarRecord star = generatedStar();
    SavedScenario saved(star, true);
    const std::string good = readAll(saved.path);
    const std::size_t ships = good.find("BEGIN_SHIPS"), status = good.find("Orbiting ") + 9;
    const std::size_t rpos = good.find("RPOS ") + 5, rvel = good.find("0.0000 0.0000 ") + 14;
    const double r = std::stod(good.substr(rpos)), v = std::stod(good.substr(rvel));
    const auto replaced = [&](std::size_t at, std::size_t length, const std::string& by) {
        return std::string(good).replace(at, length, by);
    };
    const struct {
        std::string text, problem;
    } rows[] = {
        {replaced(status, 1, std::string(1, static_cast<char>(good[status] ^ 0x20))), "no body is named"},
        {replaced(rpos, good.find(' ', rpos) - rpos, std::to_string(r / 1.2)), "not above the surface"},
        {replaced(rvel, good.find('\n', rvel) - rvel, std::to_string(v * 1.02)), "not circular"},
        {replaced(rvel, 0, "-"), "not prograde"},
        {replaced(ships + 12, 0, "\n"), "a blank line among the ships"},
        {replaced(good.find("System ") + 7, 0, "x"), "no system file"},
        {replaced(good.find("REF ") + 4, 0, "x"), "another body"},
        {replaced(good.find("Ship ") + 5, 0, "x"), "focus"},
        {replaced(good.find("PRPLEVEL"), 8, "XPRPLEVEL"), "empty tanks"},
        {replaced(good.find("Exported"), 0, std::string(250, 'x')), "255 characters"},
    };
    EXPECT_EQ(checkScenario(good, saved.root.path() / "Config"), "");
    for (const auto& row : rows) {
        const std::string found = checkScenario(row.text, saved.root.path() / "Config");
        EXPECT_TRUE(row.problem.empty() ? found.empty() : found.find(row.problem) != std::string::npos)
            << found << "\n" << row.text;
    }
}

TEST(ScenarioCheck, LeavingTheCacheTakesTheScenarioAlong) {
    StarRecord star = generatedStar();
    SavedScenario saved(star, true);
    const fs::path& root = saved.root.path();
    const fs::path other = saved.path.parent_path() / "Other.scn";
    writeAll(other, "kept");
    ASSERT_TRUE(fs::exists(saved.path));
    EXPECT_TRUE(removeFromCache(root, star.system->name));
    EXPECT_FALSE(fs::exists(saved.path));
    writeAll(saved.path, "as evicted from a full cache");
    removeExportedSystem(root, star.system->name);
    EXPECT_FALSE(fs::exists(saved.path));
    EXPECT_TRUE(fs::exists(other));
}

// A body of radius `radius` km: hostile (0), livable with equipment (1) or habitable (2).
PlanetRecord body(const std::string& name, double radius, int kind, double mass = 1e-6) {
    PlanetRecord record;
    record.name = name;
    record.radius = radius;
    record.mass = mass;
    if (kind > 0) record.medsurftemp = 288.0, record.surfpressure = 1000.0, record.surfgrav = 1.0;
    if (kind > 1) record.atmcompounds = {{7, 790.0, 79.0}, {8, 210.0, 21.0}};
    return record;
}

TEST(ScenarioCheck, TheBodyMostWorthAVisitAndTheMomentOfExport) {
    const struct {
        std::vector<std::vector<PlanetRecord>> planets;
        std::string chosen;
    } rows[] = {
        {{{body("a", 3000, 0), body("a I", 9000, 0)}, {body("b", 7000, 0)}, {body("c", 7000, 0)}}, "b"},
        {{{body("a", 3000, 0), body("a I", 1000, 1)}, {body("b", 7000, 1)}}, "a I"},
        {{{body("a", 3000, 1)}, {body("b", 7000, 0), body("b I", 1000, 2)}, {body("c", 10, 2)}}, "b I"},
        {{{body("a;", 3000, 2), body("a I", 1000, 2)}, {body("b", 9, 2, 0.0)}, {body("c", 100, 0)}}, "c"},
        {{{body("a", 0.0, 2)}, {body("b;", 10, 0)}}, ""},
    };
    for (const auto& row : rows) {
        GeneratedSystem system;
        for (const auto& bodies : row.planets) system.planets.push_back({bodies, 0});
        const PlanetRecord* chosen = scenarioTarget(system);
        EXPECT_EQ(chosen ? chosen->name : "", row.chosen);
    }
    ScenarioFacts facts{"Sys/SysSystem", "Sys", "Star", {"Sys b", 1000.0, 1e20}, 0};
    EXPECT_TRUE(scenarioText(facts));
    for (const auto& [file, body] : {std::pair{"Sys;/SysSystem", "Sys b"}, {"Sys/SysSystem", "Sys;b"}})
        EXPECT_FALSE(scenarioText({file, "Sys", "Star", {body, 1000.0, 1e20}, 0})) << file << body;
    facts.body.name = std::string(236, 'b');  // STATUS then holds 254 characters, the REF line fewer
    EXPECT_TRUE(scenarioText(facts));
    facts.body.name += "b";
    EXPECT_FALSE(scenarioText(facts));

    const struct {
        const char* text;
        std::optional<std::int64_t> seconds;
    } epochs[] = {{"0", 0}, {"946728000", 946728000}, {"253402300800", {}}, {"", {}}, {"-1", {}}, {"12x", {}}};
    for (const auto& epoch : epochs) EXPECT_EQ(sourceDateEpoch(epoch.text), epoch.seconds) << epoch.text;
    EXPECT_FALSE(sourceDateEpoch(nullptr));
    setenv("SOURCE_DATE_EPOCH", "12x", 1);
    EXPECT_NEAR(static_cast<double>(exportMoment()), static_cast<double>(std::time(nullptr)), 5.0);
    unsetenv("SOURCE_DATE_EPOCH");
}

}  // namespace
