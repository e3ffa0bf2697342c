// A reader of exported systems that takes the files as the simulator does, and its use on Sol
// and on generated systems. The simulator reads every key by scanning the file from the top:
// the text after the first ';' is cut, blanks and tabs are trimmed, the key is what stands
// before the first '=' (case ignored), the first line with the key wins, and a number is what
// sscanf "%lf" makes of the value. It reads Planet1, Planet2, ... up to the first gap, and after
// each planet the keys "<planet's Name>:Moon1", ":Moon2", ... A reference is a path below
// Config without ".cfg". Anything the simulator would read differently from what we meant, or
// a value it would divide by or choke on, is reported.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "export/system_export.h"
#include "files/galaxy_files.h"
#include "galaxy/galaxy_catalogue.h"
#include "galaxy/stellar_tables.h"
#include "generation/lcg_random.h"
#include "platform/file_image.h"

#include "tests/galaxy_test_support.h"
#include "tests/test_files.h"

namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------------------------
// The checker

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string trimmedBlanks(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return text.substr(begin, end - begin);
}

// One configuration file as the simulator's item reader sees it.
class OrbiterCfg {
public:
    struct Item {
        std::string key;  // as written
        std::string value;
        int line;
    };

    static std::optional<OrbiterCfg> open(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) return std::nullopt;
        OrbiterCfg cfg;
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            if (line.size() >= 511) cfg.longLines_.push_back(number);  // the reader's buffer is 512 bytes
            if (lowered(line.substr(0, 9)) == "end_parse") break;
            const std::size_t comment = line.find(';');
            if (comment != std::string::npos) line.resize(comment);
            line = trimmedBlanks(line);
            const std::size_t equals = line.find('=');
            if (equals == std::string::npos) continue;
            const std::string key = trimmedBlanks(line.substr(0, equals));
            const std::string value = trimmedBlanks(line.substr(equals + 1));
            if (key.empty()) continue;
            cfg.items_.push_back({key, value, number});
        }
        return cfg;
    }

    // The value the simulator takes for `key`: the first line with it; empty counts as absent.
    std::optional<std::string> text(const std::string& key) const {
        const std::string wanted = lowered(key);
        for (const Item& item : items_)
            if (lowered(item.key) == wanted) {
                if (item.value.empty()) return std::nullopt;
                return item.value;
            }
        return std::nullopt;
    }

    // sscanf "%lf" of the value; absent when it does not scan.
    std::optional<double> real(const std::string& key) const {
        const auto value = text(key);
        if (!value) return std::nullopt;
        double number = 0.0;
        if (std::sscanf(value->c_str(), "%lf", &number) != 1) return std::nullopt;
        return number;
    }

    const std::vector<Item>& items() const { return items_; }
    const std::vector<int>& longLines() const { return longLines_; }

private:
    std::vector<Item> items_;
    std::vector<int> longLines_;
};

// Where the references of a system file lead: a reference starting with `prefix` (the export's
// reference prefix) lies in `exportFolder`, any other one below `configFolder`.
struct ReferenceBase {
    fs::path configFolder;
    std::string prefix;
    fs::path exportFolder;

    fs::path resolve(const std::string& reference) const {
        if (!prefix.empty() && reference.compare(0, prefix.size(), prefix) == 0)
            return exportFolder / (reference.substr(prefix.size()) + ".cfg");
        return configFolder / (reference + ".cfg");
    }
};

struct CheckResult {
    std::vector<std::string> problems;
    int planets = 0;
    int moons = 0;
    std::vector<std::string> bodyNames;  // in reading order

    std::string describe() const {
        std::string text;
        for (const std::string& problem : problems) text += problem + "\n";
        return text;
    }
};

enum class FileKind { star, body };

const std::set<std::string> kRealKeys = {
    "mass", "size", "errorlimit", "samplinginterval", "epoch", "semimajoraxis", "eccentricity", "inclination",
    "longascnode", "longperihelion", "meanlongitude", "sidrotperiod", "sidrotoffset", "obliquity", "lan",
    "atmpressure0", "atmdensity0", "atmgasconstant", "atmaltlimit", "atmhorizonalt", "atmhazeextent", "cloudalt",
    "cloudrotperiod"};
const std::set<std::string> kIntegerKeys = {"maxpatchresolution", "mincloudresolution", "maxcloudresolution"};
const std::map<std::string, int> kVectorKeys = {{"atmcolor0", 3}, {"atmhazecolor", 3}, {"cloudmicrotexturealt", 2}};
const std::set<std::string> kTextKeys = {"name", "module", "ellipticorbit", "haselements"};

void checkBodyFile(const OrbiterCfg& cfg, FileKind kind, const std::string& where, CheckResult& result) {
    auto problem = [&](const std::string& text) { result.problems.push_back(where + ": " + text); };
    for (const int line : cfg.longLines()) problem("line " + std::to_string(line) + " is too long for the reader");

    std::set<std::string> seen;
    for (const OrbiterCfg::Item& item : cfg.items()) {
        const std::string key = lowered(item.key);
        if (!seen.insert(key).second) problem("\"" + item.key + "\" appears twice; the second is never read");
        if (item.value.empty()) problem("\"" + item.key + "\" has no value");
        if (kRealKeys.count(key)) {
            double number = 0.0;
            char rest = 0;
            if (std::sscanf(item.value.c_str(), "%lf %c", &number, &rest) != 1)
                problem("\"" + item.key + " = " + item.value + "\" is not one number");
            else if (!std::isfinite(number))
                problem("\"" + item.key + " = " + item.value + "\" is not finite");
        } else if (kIntegerKeys.count(key)) {
            int number = 0;
            char rest = 0;
            if (std::sscanf(item.value.c_str(), "%d %c", &number, &rest) != 1)
                problem("\"" + item.key + " = " + item.value + "\" is not a whole number");
        } else if (kVectorKeys.count(key)) {
            std::istringstream in(item.value);
            std::string token;
            int count = 0;
            while (in >> token) {
                double number = 0.0;
                char rest = 0;
                if (std::sscanf(token.c_str(), "%lf%c", &number, &rest) != 1 || !std::isfinite(number))
                    problem("\"" + item.key + " = " + item.value + "\" holds \"" + token + "\"");
                ++count;
            }
            if (count != kVectorKeys.at(key)) problem("\"" + item.key + " = " + item.value + "\" has " +
                                                      std::to_string(count) + " numbers");
        } else if (!kTextKeys.count(key)) {
            problem("unknown key \"" + item.key + "\"");
        }
    }

    const auto name = cfg.text("Name");
    if (!name) problem("no Name");
    else if (name->size() > 255) problem("Name longer than the reader's buffer");
    const auto size = cfg.real("Size");
    const auto mass = cfg.real("Mass");
    if (!(size && *size > 0.0)) problem("Size missing or not positive");
    if (!(mass && *mass > 0.0)) problem("Mass missing or not positive");
    if (kind == FileKind::star) return;

    auto isTrue = [&](const char* key) {
        const auto value = cfg.text(key);
        return value && lowered(value->substr(0, 4)) == "true";
    };
    if (!isTrue("EllipticOrbit")) problem("EllipticOrbit is not TRUE");
    if (!isTrue("HasElements")) problem("HasElements is not TRUE");
    const auto sma = cfg.real("SemiMajorAxis");
    if (!(sma && *sma > 0.0)) problem("SemiMajorAxis missing or not positive");
    const auto ecc = cfg.real("Eccentricity");
    if (!(ecc && *ecc >= 0.0 && *ecc < 1.0)) problem("Eccentricity missing or outside [0, 1)");
    if (cfg.text("SidRotPeriod") && cfg.real("SidRotPeriod").value_or(0.0) == 0.0) problem("SidRotPeriod is 0");
    if (cfg.text("CloudRotPeriod") && cfg.real("CloudRotPeriod").value_or(0.0) == 0.0) problem("CloudRotPeriod is 0");
    const bool pressure = cfg.real("AtmPressure0").has_value();
    const bool density = cfg.real("AtmDensity0").has_value();
    if (pressure != density) problem("only one of AtmPressure0 and AtmDensity0");
    if (pressure && cfg.real("AtmPressure0").value() <= 0.0) problem("AtmPressure0 not positive");
    if (const auto limit = cfg.real("AtmAltLimit"); limit && *limit <= 0.0) problem("AtmAltLimit not positive");
    if (const auto micro = cfg.text("CloudMicrotextureAlt")) {
        double low = 0.0;
        double high = 0.0;
        if (std::sscanf(micro->c_str(), "%lf %lf", &low, &high) == 2 && !(low >= 0.0 && high >= low))
            problem("CloudMicrotextureAlt is not increasing");
    }
}

// Reads the system file `systemFile` as the simulator does and checks every file it leads to.
CheckResult checkExportedSystem(const fs::path& systemFile, const ReferenceBase& base) {
    CheckResult result;
    auto problem = [&](const std::string& text) { result.problems.push_back(text); };
    const auto system = OrbiterCfg::open(systemFile);
    if (!system) {
        problem("cannot open " + systemFile.string());
        return result;
    }
    for (const int line : system->longLines()) problem("system file line " + std::to_string(line) + " too long");
    if (!system->text("Name")) problem("the system file has no Name");

    auto openReferenced = [&](const std::string& key, const std::string& reference) -> std::optional<OrbiterCfg> {
        if (reference.size() >= 4 && lowered(reference.substr(reference.size() - 4)) == ".cfg")
            problem(key + ": the reference carries the extension");
        const fs::path path = base.resolve(reference);
        auto cfg = OrbiterCfg::open(path);
        if (!cfg) problem(key + " = " + reference + ": no file " + path.string() + " (fatal in the simulator)");
        return cfg;
    };

    const auto star = system->text("Star1");
    if (!star) {
        problem("no Star1");
    } else if (const auto cfg = openReferenced("Star1", *star)) {
        checkBodyFile(*cfg, FileKind::star, "star " + *star, result);
    }

    std::set<std::string> keysRead = {"name", "star1"};
    for (int n = 1;; ++n) {
        const std::string key = "Planet" + std::to_string(n);
        const auto reference = system->text(key);
        if (!reference) break;
        keysRead.insert(lowered(key));
        ++result.planets;
        const auto planet = openReferenced(key, *reference);
        if (!planet) continue;
        const std::string name = planet->text("Name").value_or("");
        result.bodyNames.push_back(name);
        checkBodyFile(*planet, FileKind::body, key + " (" + name + ")", result);
        for (int j = 1;; ++j) {
            const std::string moonKey = name + ":Moon" + std::to_string(j);
            const auto moonReference = system->text(moonKey);
            if (!moonReference) break;
            keysRead.insert(lowered(moonKey));
            ++result.moons;
            if (const auto moon = openReferenced(moonKey, *moonReference)) {
                result.bodyNames.push_back(moon->text("Name").value_or(""));
                checkBodyFile(*moon, FileKind::body, moonKey, result);
            }
        }
    }
    // Whatever the reader never reached: Planet keys after a gap, moon keys whose prefix is not
    // their planet's Name, keys it does not know.
    for (const OrbiterCfg::Item& item : system->items())
        if (!keysRead.count(lowered(item.key))) problem("the simulator never reads \"" + item.key + "\"");

    std::set<std::string> names;
    for (const std::string& name : result.bodyNames)
        if (!names.insert(lowered(name)).second) problem("two bodies are named \"" + name + "\"");
    return result;
}

// ---------------------------------------------------------------------------------------------
// Fixtures

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
    return checkExportedSystem(destination.folder / (system.name + "System.cfg"),
                               {root / "Config", destination.reference, destination.folder});
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

// ---------------------------------------------------------------------------------------------
// The checker itself

TEST(OrbiterChecker, FindsWhatTheSimulatorWouldMisread) {
    TemporaryRoot root;
    const fs::path d = root.path() / "Config" / "Sys";
    const std::string good =
        "\nName = P\nEllipticOrbit = TRUE\nHasElements = TRUE\nSemiMajorAxis = 1e11\nEccentricity = 0.1\n"
        "Size = 1000.000000\nMass = 1e20\nSidRotPeriod = 100\nObliquity = 0.1\nMinCloudResolution = 1";
    writeAll(d / "Star.cfg", "\nName = Star\nModule = Sun\nMass = 2e30\nSize = 7e8");
    writeAll(d / "P.cfg", good);
    writeAll(d / "M.cfg", good.substr(0, good.find("P\n")) + "M" + good.substr(good.find("P\n") + 1));
    writeAll(d / "N.cfg", good + "\nName = ignored");

    writeAll(d / "Good.cfg", "Name = G\nStar1 = Sys/Star\nPlanet1 = Sys/P\nP:Moon1 = Sys/M");
    const CheckResult fine = checkExportedSystem(d / "Good.cfg", {root.path() / "Config", "", {}});
    EXPECT_TRUE(fine.problems.empty()) << fine.describe();
    EXPECT_EQ(fine.planets, 1);
    EXPECT_EQ(fine.moons, 1);

    writeAll(d / "Bad.cfg",
              "Name = B\nStar1 = Sys/Star\nPlanet1 = Sys/P\nSys/P:Moon1 = Sys/M\nP:MOON1 = Sys/N\nPlanet4 = Sys/P\n"
              "Planet2 = Sys/Q.cfg");
    writeAll(d / "Q.cfg.cfg",
              "Name = Q\nEllipticOrbit = true\nHasElements = TRUE\nSemiMajorAxis = -1\nEccentricity = 1\n"
              "Size = inf\nMass = 1e20 ; kg\nSidRotPeriod = 0\nCloudRotPeriod = 0.0\nAtmPressure0 = 1000\n"
              "AtmDensity0 = abc\nAtmColor0 = 0.1 nan 0.3\nObliquty = 0.1\nMinCloudResolution = 1");
    const CheckResult bad = checkExportedSystem(d / "Bad.cfg", {root.path() / "Config", "", {}});
    const std::string text = bad.describe();
    for (const char* expected :
         {"never reads \"Sys/P:Moon1\"", "never reads \"Planet4\"", "\"Name\" appears twice",
          "two bodies are named \"P\"", "carries the extension", "SemiMajorAxis",
          "Eccentricity", "\"Size = inf\" is not finite", "SidRotPeriod is 0", "CloudRotPeriod is 0",
          "only one of AtmPressure0", "\"AtmDensity0 = abc\" is not one number", "holds \"nan\"",
          "unknown key \"Obliquty\""})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    EXPECT_EQ(text.find("Mass"), std::string::npos) << "the comment after Mass is cut";
    EXPECT_EQ(bad.planets, 2);

    writeAll(d / "Missing.cfg", "Name = M\nStar1 = Sys/Star\nPlanet1 = Sys/Nothing");
    EXPECT_NE(checkExportedSystem(d / "Missing.cfg", {root.path() / "Config", "", {}}).describe().find("no file"),
              std::string::npos);
}

// ---------------------------------------------------------------------------------------------
// Exported systems

TEST(OrbiterChecker, SolFromTheDefaultGalaxyReadsCleanly) {
    GalaxyCatalogue catalogue;
    loadGalaxy(catalogue, STARVANE_SOURCE_DIR "/data", "MilkyWay", realTables());
    StarRecord* sol = nullptr;
    for (const auto& star : catalogue.stars)
        if (star != nullptr && star->physical && star->physical->name == "Sol") sol = star.get();
    ASSERT_NE(sol, nullptr);
    ASSERT_TRUE(sol->system);
    EXPECT_FALSE(sol->path.empty());

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
    const auto earth = OrbiterCfg::open(folder / (sol->system->name + " Earth.cfg"));
    ASSERT_TRUE(earth);
    ASSERT_TRUE(earth->real("AtmDensity0"));
    EXPECT_GT(*earth->real("AtmDensity0"), 0.5);
    EXPECT_LT(*earth->real("AtmDensity0"), 2.0);
    EXPECT_TRUE(earth->real("AtmAltLimit"));
    EXPECT_NEAR(*earth->real("AtmPressure0"), 101325.0, 1.0);
    EXPECT_NEAR(*earth->real("Obliquity"), 0.4091, 0.0001);
}

TEST(OrbiterChecker, GeneratedSystemsReadCleanlyToFolderAndToCache) {
    const std::vector<StellarData> stars = {starOf("Sunlike", 1.0, 1.0, 1.0, 4600.0),
                                            starOf("Red Dwarf", 0.3, 0.012, 0.35, 8000.0),
                                            starOf("Bright", 1.6, 6.0, 1.7, 1200.0),
                                            starOf("Orange", 0.8, 0.4, 0.8, 6000.0)};
    int systems = 0;
    int bodies = 0;
    int belts = 0;
    for (const StellarData& star : stars) {
        for (const double seed : {7.0, 19.0, 25.0, 32.0, 99991.0, 3000000001.0}) {
            GeneratedSystem system;
            system.generateFor(seed, star);
            if (system.planets.empty()) continue;
            ++systems;
            for (const PlanetSlot& planet : system.planets)
                if (!planet.bodies.empty() && planet.bodies[0].type == asteroids) ++belts;

            TemporaryRoot root;
            LcgRandom random(static_cast<std::uint32_t>(seed) + 1u);
            const CheckResult folder = exportAndCheck(root.path(), system, star, 4, 1, random);
            EXPECT_TRUE(folder.problems.empty()) << star.name << " " << seed << "\n" << folder.describe();
            bodies += folder.planets + folder.moons;

            exportSystem(root.path(), system, star, 4, 1, true, nullptr, random);
            const ExportDestination cache = exportDestination(root.path(), system.name, true);
            const CheckResult cached =
                checkExportedSystem(cache.folder / (system.name + "System.cfg"), {root.path() / "Config", "", {}});
            EXPECT_TRUE(cached.problems.empty()) << star.name << " " << seed << "\n" << cached.describe();
            EXPECT_EQ(cached.moons, folder.moons);
        }
    }
    EXPECT_GE(systems, 18);
    EXPECT_GT(bodies, 60);
    EXPECT_GT(belts, 0) << "some seed should give a belt";
}

}  // namespace
