// Exported systems read the way the simulator reads them: in every file the text after the
// first ';' is cut, blanks are trimmed, the key is what stands before the first '=' (case
// ignored) and the first line with a key wins. The system file is followed through Planet1,
// Planet2, ... up to the first gap, and after each planet "<planet's Name>:Moon1", ... A
// reference is a path below Config without ".cfg". Anything the simulator would read
// differently from what we meant, or a value it would divide by or choke on, is reported.
// Byte-exact exports of catalogue stars are pinned by the golden outputs; this covers the many
// generated systems those do not reach.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "export/system_export.h"
#include "files/galaxy_files.h"
#include "galaxy/galaxy_catalogue.h"
#include "generation/lcg_random.h"

#include "tests/galaxy_test_support.h"
#include "tests/test_files.h"

namespace {

namespace fs = std::filesystem;

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string trimmed(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(" \t\r");
    return begin == std::string::npos ? "" : text.substr(begin, text.find_last_not_of(" \t\r") - begin + 1);
}

struct CheckResult {
    std::vector<std::string> problems;
    int planets = 0, moons = 0;
    std::string describe() const {
        std::string text;
        for (const std::string& problem : problems) text += problem + "\n";
        return text;
    }
};

// One file's keys (lowered) with the value of their first line; empty when there is no file.
std::map<std::string, std::string> readCfg(const fs::path& path, const std::string& where, CheckResult& result) {
    std::map<std::string, std::string> items;
    std::ifstream in(path, std::ios::binary);
    if (!in) result.problems.push_back(where + ": no file " + path.string() + " (fatal in the simulator)");
    for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find(';'));
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = lowered(trimmed(line.substr(0, equals)));
        const std::string value = trimmed(line.substr(equals + 1));
        const std::string said = where + ": \"" + key + " = " + value + "\"";
        if (!items.emplace(key, value).second) result.problems.push_back(said + " appears twice");
        if (value.empty()) result.problems.push_back(said + " has no value");
        const std::string low = lowered(value);
        if (low.find("nan") != std::string::npos || low.find("inf") != std::string::npos)
            result.problems.push_back(said + " is not finite");
    }
    return items;
}

// A number as sscanf "%lf" makes it, 0 when the key is absent or does not scan.
double number(const std::map<std::string, std::string>& items, const std::string& key) {
    double value = 0.0;
    const auto found = items.find(key);
    if (found == items.end() || std::sscanf(found->second.c_str(), "%lf", &value) != 1) return 0.0;
    return value;
}

void checkBody(const std::map<std::string, std::string>& cfg, bool star, const std::string& where,
               CheckResult& result) {
    auto require = [&](bool ok, const char* what) {
        if (!ok) result.problems.push_back(where + ": " + what);
    };
    require(number(cfg, "size") > 0.0, "Size missing or not positive");
    require(number(cfg, "mass") > 0.0, "Mass missing or not positive");
    if (star) return;
    require(lowered(cfg.count("ellipticorbit") ? cfg.at("ellipticorbit") : "") == "true", "EllipticOrbit not TRUE");
    require(number(cfg, "semimajoraxis") > 0.0, "SemiMajorAxis missing or not positive");
    const double ecc = number(cfg, "eccentricity");
    require(cfg.count("eccentricity") && ecc >= 0.0 && ecc < 1.0, "Eccentricity missing or outside [0, 1)");
    require(!cfg.count("sidrotperiod") || number(cfg, "sidrotperiod") != 0.0, "SidRotPeriod is 0");
    require(!cfg.count("cloudrotperiod") || number(cfg, "cloudrotperiod") != 0.0, "CloudRotPeriod is 0");
    require(cfg.count("atmpressure0") == cfg.count("atmdensity0"), "only one of AtmPressure0 and AtmDensity0");
}

// Reads `systemFile` as the simulator does and checks every file it leads to; references
// starting with `prefix` lie in `exportFolder`, others below `configFolder`.
CheckResult checkExportedSystem(const fs::path& systemFile, const fs::path& configFolder,
                                const std::string& prefix = "", const fs::path& exportFolder = {}) {
    CheckResult result;
    const auto system = readCfg(systemFile, "system", result);
    auto open = [&](const std::string& key, const std::string& reference) {
        if (lowered(reference).ends_with(".cfg")) result.problems.push_back(key + ": the reference carries .cfg");
        const bool exported = !prefix.empty() && reference.starts_with(prefix);
        const fs::path path = exported ? exportFolder / (reference.substr(prefix.size()) + ".cfg")
                                       : configFolder / (reference + ".cfg");
        return readCfg(path, key, result);
    };
    std::set<std::string> keysRead = {"name", "star1"}, names;
    if (!system.count("star1")) result.problems.push_back("no Star1");
    else checkBody(open("Star1", system.at("star1")), true, "Star1", result);
    for (int n = 1; system.count("planet" + std::to_string(n)); ++n, ++result.planets) {
        const std::string key = "planet" + std::to_string(n);
        keysRead.insert(key);
        const auto planet = open(key, system.at(key));
        const std::string name = planet.count("name") ? planet.at("name") : "";
        if (!names.insert(lowered(name)).second) result.problems.push_back("two bodies are named \"" + name + "\"");
        checkBody(planet, false, key, result);
        for (int j = 1; system.count(lowered(name) + ":moon" + std::to_string(j)); ++j, ++result.moons) {
            const std::string moonKey = lowered(name) + ":moon" + std::to_string(j);
            keysRead.insert(moonKey);
            checkBody(open(moonKey, system.at(moonKey)), false, moonKey, result);
        }
    }
    for (const auto& [key, value] : system)
        if (!keysRead.count(key)) result.problems.push_back("the simulator never reads \"" + key + "\"");
    return result;
}

// A simulator root with its two folders.
struct TemporaryRoot : TemporaryFolder {
    TemporaryRoot() {
        fs::create_directories(path() / "Starvane");
        fs::create_directories(path() / "Config");
    }
};

// Exports to folder and checks the result, with the placeholder folder standing for the export.
CheckResult exportAndCheck(const fs::path& root, GeneratedSystem& system, const StellarData& star, int maxAsteroids,
                           int minAsteroids, LcgRandom& random, std::size_t* asteroidCount = nullptr) {
    const auto swarm = exportSystem(root, system, star, maxAsteroids, minAsteroids, false, nullptr, random).asteroids;
    if (asteroidCount) *asteroidCount = swarm.size();
    const ExportDestination destination = exportDestination(root, system.name, false);
    return checkExportedSystem(destination.folder / (system.name + "System.cfg"), root / "Config",
                               destination.reference, destination.folder);
}

TEST(OrbiterChecker, FindsWhatTheSimulatorWouldMisread) {
    TemporaryRoot root;
    const fs::path d = root.path() / "Config" / "Sys";
    const std::string good = "\nName = P\nEllipticOrbit = TRUE\nSemiMajorAxis = 1e11\nEccentricity = 0.1\n"
                             "Size = 1000.000000\nMass = 1e20 ; kg\nSidRotPeriod = 100";
    writeAll(d / "Star.cfg", "\nName = Star\nModule = Sun\nMass = 2e30\nSize = 7e8");
    writeAll(d / "P.cfg", good);
    writeAll(d / "Good.cfg", "Name = G\nStar1 = Sys/Star\nPlanet1 = Sys/P\nP:Moon1 = Sys/P");
    const CheckResult fine = checkExportedSystem(d / "Good.cfg", root.path() / "Config");
    EXPECT_TRUE(fine.problems.empty()) << fine.describe();
    EXPECT_EQ(fine.moons, 1);

    writeAll(d / "Q.cfg.cfg", "Name = P\nEllipticOrbit = true\nSemiMajorAxis = -1\nEccentricity = 1\nSize = inf\n"
                              "Mass = 1e20\nSidRotPeriod = 0\nAtmPressure0 = 1000\nSize = 5");
    writeAll(d / "Bad.cfg", "Name = B\nStar1 = Sys/Star\nPlanet1 = Sys/P\nSys/P:Moon1 = Sys/P\nPlanet4 = Sys/P\n"
                            "Planet2 = Sys/Q.cfg\nPlanet2 = Sys/Nothing");
    const CheckResult bad = checkExportedSystem(d / "Bad.cfg", root.path() / "Config");
    const std::string text = bad.describe();
    for (const char* expected : {"never reads \"sys/p:moon1\"", "never reads \"planet4\"", "appears twice",
                                 "two bodies are named \"P\"", "carries .cfg", "SemiMajorAxis", "Eccentricity",
                                 "\"size = inf\" is not finite", "SidRotPeriod is 0", "only one of AtmPressure0"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    EXPECT_EQ(text.find("Mass"), std::string::npos) << "the comment after Mass is cut";
    EXPECT_EQ(bad.planets, 2);

    writeAll(d / "Missing.cfg", "Name = M\nStar1 = Sys/Star\nPlanet1 = Sys/Nothing");
    EXPECT_NE(checkExportedSystem(d / "Missing.cfg", root.path() / "Config").describe().find("no file"),
              std::string::npos);
}

TEST(OrbiterChecker, SolFromTheDefaultGalaxyReadsCleanly) {
    GalaxyCatalogue catalogue;
    loadGalaxy(catalogue, STARVANE_SOURCE_DIR "/data", "MilkyWay", realTables());
    StarRecord* sol = nullptr;
    for (const auto& star : catalogue.stars)
        if (star != nullptr && star->physical && star->physical->name == "Sol") sol = star.get();
    ASSERT_TRUE(sol != nullptr && sol->system);

    TemporaryRoot root;
    LcgRandom random(2024);
    std::size_t asteroids = 0;
    const CheckResult result = exportAndCheck(root.path(), *sol->system, *sol->physical, 20, 5, random, &asteroids);
    EXPECT_TRUE(result.problems.empty()) << result.describe();
    EXPECT_EQ(result.planets, 8 + static_cast<int>(asteroids));
    EXPECT_GE(result.moons, 1);

    // The saved file holds no air density; the loader works it out, so Earth gets a whole
    // atmosphere.
    const fs::path folder = exportDestination(root.path(), sol->system->name, false).folder;
    CheckResult ignored;
    const auto earth = readCfg(folder / (sol->system->name + " Earth.cfg"), "Earth", ignored);
    EXPECT_GT(number(earth, "atmdensity0"), 0.5);
    EXPECT_LT(number(earth, "atmdensity0"), 2.0);
    EXPECT_GT(number(earth, "atmaltlimit"), 0.0);
    EXPECT_NEAR(number(earth, "atmpressure0"), 101325.0, 1.0);
    EXPECT_NEAR(number(earth, "obliquity"), 0.4091, 0.0001);
}

StellarData starOf(const std::string& name, double mass, double luminosity, double radius, double age) {
    StellarData star;
    star.name = name;
    star.typename_ = "Main Sequence Star";
    star.spectralclass = "G";
    star.lumclass = "V";
    star.initialmass = star.mass = mass;
    star.initialluminosity = star.luminosity = luminosity;
    star.radius = radius;
    star.age = age;
    star.mslifetime = 10000.0 * mass / luminosity;
    return star;
}

TEST(OrbiterChecker, GeneratedSystemsReadCleanlyToFolderAndToCache) {
    int systems = 0, bodies = 0, belts = 0;
    for (const StellarData& star : {starOf("Sunlike", 1.0, 1.0, 1.0, 4600.0), starOf("Bright", 1.6, 6.0, 1.7, 1200.0),
                                    starOf("Red Dwarf", 0.3, 0.012, 0.35, 8000.0),
                                    starOf("Orange", 0.8, 0.4, 0.8, 6000.0)}) {
        for (const double seed : {7.0, 19.0, 25.0, 32.0, 99991.0, 3000000001.0}) {
            GeneratedSystem system;
            system.generateFor(seed, star);
            if (system.planets.empty()) continue;
            ++systems;
            for (const PlanetSlot& planet : system.planets) belts += planet.bodies.at(0).type == asteroids;

            TemporaryRoot root;
            LcgRandom random(static_cast<std::uint32_t>(seed) + 1u);
            const CheckResult folder = exportAndCheck(root.path(), system, star, 4, 1, random);
            EXPECT_TRUE(folder.problems.empty()) << star.name << " " << seed << "\n" << folder.describe();
            bodies += folder.planets + folder.moons;

            exportSystem(root.path(), system, star, 4, 1, true, nullptr, random);
            const ExportDestination cache = exportDestination(root.path(), system.name, true);
            const CheckResult cached =
                checkExportedSystem(cache.folder / (system.name + "System.cfg"), root.path() / "Config");
            EXPECT_TRUE(cached.problems.empty()) << star.name << " " << seed << "\n" << cached.describe();
            EXPECT_EQ(cached.moons, folder.moons);
        }
    }
    EXPECT_GE(systems, 18);
    EXPECT_GT(bodies, 60);
    EXPECT_GT(belts, 0) << "some seed should give a belt";
}

}  // namespace
