// The export to the simulator's files: a small hand-made system, left-out lines, asteroids, the
// habitability and atmosphere class, texture levels, and generated systems read back as the
// simulator reads them. Golden outputs pin whole exports; numbers here are known answers.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "export/asteroids.h"
#include "export/habitability.h"
#include "export/system_save.h"  // with the export, the textures, the plug-in and the star record
#include "files/cache_list.h"

#include "tests/test_files.h"

namespace {

namespace fs = std::filesystem;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Every path below `folder`, relative to it.
std::set<std::string> treeOf(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error))
        names.insert(fs::relative(entry.path(), folder).generic_string());
    return names;
}

// The line "key = value" of a configuration text, or "<none>".
std::string lineOf(const std::string& text, const std::string& key) {
    const std::size_t at = text.find("\n" + key + " = ");
    if (at == std::string::npos) return "<none>";
    const std::size_t end = text.find('\n', at + 1);
    return text.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
}

// The simulator's reading of a configuration file: the text after the first ';' is cut, blanks
// are trimmed, the key is what stands before the first '=' (case ignored) and the first line
// with a key wins. The system file is followed through Planet1, Planet2, ... up to the first
// gap, and after each planet "<planet's Name>:Moon1", ...; a reference is a path below Config
// without ".cfg". What the simulator would misread or choke on is reported.
using Items = std::map<std::string, std::string>;

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// One file's keys (lowered) with the value of their first line; empty when there is no file.
Items readCfg(const fs::path& path) {
    static const std::regex keyLine(R"(\s*([^=;]*?)\s*=\s*([^;]*?)\s*(;.*)?)");
    Items items;
    std::ifstream in(path, std::ios::binary);
    std::smatch match;
    for (std::string line; std::getline(in, line);)
        if (std::regex_match(line, match, keyLine)) items.emplace(lowered(match[1]), match[2]);
    return items;
}

// What the simulator would misread, divide by or choke on in one body's file, a problem a line.
std::string problemsOf(const Items& cfg, const std::string& where, bool star) {
    if (cfg.empty()) return where + ": no file (fatal in the simulator)\n";
    std::string problems;
    auto require = [&](bool ok, const std::string& what) { problems += ok ? "" : where + ": " + what + "\n"; };
    auto number = [&](const std::string& key) {  // as sscanf "%lf" reads it, 0 when absent
        double value = 0.0;
        return cfg.count(key) && std::sscanf(cfg.at(key).c_str(), "%lf", &value) == 1 ? value : 0.0;
    };
    for (const auto& [key, value] : cfg)
        require(!value.empty() && lowered(value).find("nan") == std::string::npos &&
                    lowered(value).find("inf") == std::string::npos,
                key + " = \"" + value + "\" is no usable value");
    require(number("size") > 0.0 && number("mass") > 0.0, "Size or Mass missing or not positive");
    if (star) return problems;
    require(cfg.count("ellipticorbit") && lowered(cfg.at("ellipticorbit")) == "true", "EllipticOrbit not TRUE");
    require(number("semimajoraxis") > 0.0, "SemiMajorAxis missing or not positive");
    const double ecc = number("eccentricity");
    require(cfg.count("eccentricity") && ecc >= 0.0 && ecc < 1.0, "Eccentricity missing or outside [0, 1)");
    for (const char* period : {"sidrotperiod", "cloudrotperiod"})
        require(!cfg.count(period) || number(period) != 0.0, std::string(period) + " is 0");
    require(cfg.count("atmpressure0") == cfg.count("atmdensity0"), "only one of AtmPressure0 and AtmDensity0");
    return problems;
}

// Follows `systemFile`; references starting with `prefix` lie in `exportFolder`, others below Config.
std::string checkExportedSystem(const fs::path& systemFile, const fs::path& configFolder,
                                const std::string& prefix = "", const fs::path& exportFolder = {}) {
    std::string problems;
    const Items system = readCfg(systemFile);
    std::set<std::string> keysRead = {"name"}, names;
    auto body = [&](const std::string& key, bool star) {  // returns the body's lowered name
        keysRead.insert(key);
        const std::string& reference = system.at(key);
        const Items cfg = readCfg(!prefix.empty() && reference.starts_with(prefix)
                                      ? exportFolder / (reference.substr(prefix.size()) + ".cfg")
                                      : configFolder / (reference + ".cfg"));
        problems += problemsOf(cfg, key, star);
        return lowered(cfg.count("name") ? cfg.at("name") : "");
    };
    if (system.count("star1")) body("star1", true);
    for (int n = 1; system.count("planet" + std::to_string(n)); ++n) {
        const std::string name = body("planet" + std::to_string(n), false);
        if (!names.insert(name).second) problems += "two bodies are named \"" + name + "\"\n";
        for (int j = 1; system.count(name + ":moon" + std::to_string(j)); ++j)
            body(name + ":moon" + std::to_string(j), false);
    }
    for (const auto& [key, value] : system)
        if (!keysRead.count(key)) problems += "the simulator never reads \"" + key + "\"\n";
    return problems;
}

// "Tiny": a, rock without air; b, terrestrial with N2/O2 and the moon "b I" (pressure, no gases,
// no rotation period); c, a belt with a moon that is never exported; d, a giant without surface.
GeneratedSystem tinySystem() {
    const PlanetRecord a{.sma = 0.5, .ecc = 0.1, .axtilt = 10.0, .mass = 1e-7, .radius = 2000.0, .day = 24.0,
                         .type = rock, .name = "a"};
    const PlanetRecord b{.sma = 1.0, .axtilt = 23.44, .mass = 3e-6, .radius = 6371.0, .day = 24.0, .surfaccel = 980.665,
                         .surfgrav = 1.0, .surfpressure = 1013.25, .medsurftemp = 288.0, .maxtemp = 300.0,
                         .mintemp = 270.0, .gascount = 2, .atmdensity = 1.2, .molconst = 287.0,
                         .atmcompounds = {{7, 790.0, 78.0}, {8, 210.0, 21.0}}, .type = terrestrial, .name = "b",
                         .colour = {255.0f, 128.0f, 0.0f}};
    const PlanetRecord moon{.sma = 0.0025, .mass = 3.7e-8, .radius = 1700.0, .surfpressure = 500.0, .type = rock,
                            .name = "b I"};
    const PlanetRecord c{.sma = 2.5, .ecc = 0.05, .mass = 1e-9, .inclination = 0.03, .type = asteroids, .name = "c"};
    const PlanetRecord cMoon{.sma = 0.001, .mass = 1e-12, .radius = 100.0, .type = rock, .name = "c I"};
    const PlanetRecord d{.sma = 5.2, .mass = 0.00095, .radius = 70000.0, .day = 10.0, .surfpressure = kInf,
                         .gascount = 1, .atmdensity = kInf, .atmcompounds = {{1, 900.0, 90.0}}, .type = sudarskyi,
                         .name = "d"};
    return {.name = "Tiny", .planets = {PlanetSlot({a}), PlanetSlot({b, moon}), PlanetSlot({c, cMoon}),
                                        PlanetSlot({d})}, .planetcount = 4};
}

// Asteroids are named after the star, everything else after the system.
const StellarData kTinyStar{.mass = 1.0, .name = "Tinystar", .radius = 1.0};


struct RecordingMessages : MessageSink {
    std::vector<std::string> shown;
    void showMessage(const std::string& head, const std::string& text) override { shown.push_back(head + '|' + text); }
};

// Exports Tiny (changed by `change`) to folder below a fresh root.
struct TinyExport {
    TemporaryFolder root;
    GeneratedSystem system = tinySystem();
    ExportedSystem exported;
    fs::path folder = root.path() / "Starvane" / "SavedSystems" / "Tiny";
    TinyExport(LcgRandom& random, int asteroidCount = 2, void (*change)(GeneratedSystem&) = nullptr) {
        fs::create_directories(root.path() / "Starvane");
        if (change) change(system);
        exported = exportSystem(root.path(), system, kTinyStar, asteroidCount, asteroidCount, false, nullptr, random);
    }
    std::string file(const std::string& name) const { return readAll(folder / (name + ".cfg")); }
    std::string problems() const {
        return checkExportedSystem(folder / "TinySystem.cfg", root.path() / "Config", "XXXXXXXXX/Tiny/", folder);
    }
};

TEST(SystemExport, TinySystemToFolder) {
    LcgRandom generator(4242);
    TinyExport tiny(generator);
    const std::string R = " XXXXXXXXX/Tiny/";
    EXPECT_EQ(tiny.file("TinySystem"), "\n; === Configuration file for the Tiny solar system ===\nName = Tiny System\n"
                                       "\nStar1 =" + R + "Tiny\nPlanet1 =" + R + "Tiny a\nPlanet2 =" + R + "Tiny b"
                                       "\nTiny b:Moon1 =" + R + "Tiny b I\nPlanet3 =" + R + "Tiny d"
                                       "\nPlanet4 =" + R + "Tinystar c#1\nPlanet5 =" + R + "Tinystar c#2");
    EXPECT_TRUE(tiny.file("SV_Tiny").ends_with("Config/UMMUPermanentBase\n6371000.000000,-999,1,0\n"));
    // The moon carries its planet's index; the giant's index counts the belt.
    EXPECT_TRUE(tiny.file("Tiny b I").starts_with("\n; === Configuration file for Planet Tiny 1\nName = Tiny b I\n"));
    EXPECT_TRUE(tiny.file("Tiny d").starts_with("\n; === Configuration file for Planet Tiny 3\n"));
    // Air only with a surface pressure and gases; no period line without a period.
    for (const char* name : {"Tiny a", "Tiny b I", "Tiny d"})
        EXPECT_EQ(lineOf(tiny.file(name), "AtmPressure0"), "<none>") << name;
    EXPECT_EQ(lineOf(tiny.file("Tiny b"), "AtmPressure0"), "AtmPressure0 = 101325.000000");
    EXPECT_EQ(lineOf(tiny.file("Tiny b I"), "SidRotPeriod"), "<none>");
    // The belt and its moon have no files; nothing else is written.
    EXPECT_EQ(treeOf(tiny.folder),
              (std::set<std::string>{"TinySystem.cfg", "Tiny.cfg", "Tiny a.cfg", "Tiny b.cfg", "Tiny b I.cfg",
                                     "Tiny d.cfg", "Tinystar c#1.cfg", "Tinystar c#2.cfg", "SV_Tiny.cfg"}));
    EXPECT_EQ(treeOf(tiny.root.path()).size(), 3u + 9u);
    // Count, 2 x 6 asteroid values, one cloud height, 2 x 2 angles: the state after exactly these.
    EXPECT_EQ(generator.state(), 2254741804u);
    EXPECT_EQ(tiny.system.asteroidtotal, 2);
    EXPECT_EQ(tiny.problems(), "");

}

// Numbers that are not finite and zero periods are left out; the notation turns fixed at the
// first body's Size line even when that line is left out.
TEST(SystemExport, LeftOutLines) {
    LcgRandom generator(3);
    const TinyExport tiny(generator, 0, [](GeneratedSystem& system) {
        PlanetRecord& a = system.planets[0].bodies[0];
        a.ecc = a.radius = kNaN;
        a.mass = kInf;
        a.axtilt = -kInf;
        PlanetRecord& b = system.planets[1].bodies[0];
        b.radius = kInf;     // habitable, but no marker line without a finite radius
        b.atmdensity = 0.0;  // altitude limit and horizon divide by zero
        b.colour[1] = std::numeric_limits<float>::quiet_NaN();
        b.mintemp = 0.0;  // cloud period 0
        system.planets[3].bodies[0].day = kNaN;
    });
    EXPECT_EQ(tiny.problems(), "planet1: Size or Mass missing or not positive\n"
                               "planet1: Eccentricity missing or outside [0, 1)\n"
                               "planet2: Size or Mass missing or not positive\n");
    const std::string a = tiny.file("Tiny a"), b = tiny.file("Tiny b");
    EXPECT_EQ(lineOf(a, "SemiMajorAxis"), "SemiMajorAxis = 7.47989e+10");
    EXPECT_EQ(lineOf(b, "SemiMajorAxis"), "SemiMajorAxis = 149597870691.000000");
    EXPECT_EQ(lineOf(b, "AtmDensity0"), "AtmDensity0 = 0.000000");
    EXPECT_EQ(lineOf(b, "AtmHazeExtent"), "AtmHazeExtent = 0.100000");
    EXPECT_EQ(tiny.file("SV_Tiny").find('\n'), tiny.file("SV_Tiny").size() - 1) << "the header line alone";
    // No asteroids asked for, none in the system file.
    EXPECT_TRUE(tiny.file("TinySystem").ends_with("\nPlanet3 = XXXXXXXXX/Tiny/Tiny d"));
}

// Counts are cut to what a belt and a system may have, with a message. Each belt draws its count,
// then six values per asteroid; the numbers run on over the belts.
TEST(SystemExport, AsteroidSwarms) {
    std::string problem;
    const StarvaneConfig config = readStarvaneConfig(std::string(18, '\n') + "2000000,1000000000\n", &problem);
    EXPECT_EQ(std::pair(config.maxasteroids, config.minasteroids), std::pair(1000, 1000));
    EXPECT_TRUE(problem.starts_with("line 19: ")) << problem;
    const GeneratedSystem many{.planets = std::vector<PlanetSlot>(20, PlanetSlot({PlanetRecord{.type = asteroids}}))};
    LcgRandom generator(1);
    EXPECT_EQ(generateAsteroids(many, "Sun", 1000, 1000, generator).size(), 10000u);

    GeneratedSystem system;
    system.planets = {PlanetSlot({PlanetRecord{.type = rock}}),
                      PlanetSlot({PlanetRecord{.sma = 2.1, .mass = 3e-10, .type = asteroids, .name = "x"},
                            PlanetRecord{.type = rock, .name = "x I"}}),
                      PlanetSlot({PlanetRecord{.sma = 40.0, .mass = 1e-8, .type = asteroids, .name = "y"}})};
    for (const auto& [seed, least, most, count, state, last] :
         {std::tuple{1u, 0, 4, 4u, 811474043u, "Sol_B y#4"}, {2u, 3, 3, 6u, 472665136u, "Sol_B y#6"},
          {3u, 1, 6, 3u, 1292251911u, "Sol_B y#3"}}) {
        LcgRandom random(seed);
        const std::vector<PlanetRecord> swarm = generateAsteroids(system, "Sol/B", most, least, random);
        SCOPED_TRACE(seed);
        ASSERT_EQ(swarm.size(), count);
        EXPECT_EQ(random.state(), state);
        EXPECT_EQ(swarm.back().name, last);
    }
    // Known counts over many seeds: three in four are carbonaceous (2.2 to 2.6 g/cc), few metallic.
    int carbonaceous = 0, metallic = 0;
    for (std::uint32_t seed = 1; seed <= 150; ++seed) {
        LcgRandom random(seed);
        for (const PlanetRecord& s : generateAsteroids(system, "Sun", 2, 1, random)) {
            carbonaceous += s.density <= 2600.0;
            metallic += s.density >= 7300.0;
        }
    }
    EXPECT_EQ(carbonaceous, 343);
    EXPECT_EQ(metallic, 35);
}

// The verdict behind a planet's marker line: 253 to 323 K, 300 to 6000 mbar and inspired oxygen
// (p - 62.66151315789474) x partial / p of 95.99 to 533.29 mbar make a habitable world unless the
// gravity is above 1.5 g or a gas is above what may be breathed; else equipment helps, if light.
TEST(Habitability, VerdictBoundaries) {
    constexpr auto kYes = HabitabilityVerdict::habitable;
    constexpr auto kEquipped = HabitabilityVerdict::habitableWithEquipment;
    constexpr auto kNo = HabitabilityVerdict::hostile;
    const double f = (1000.0 - 62.66151315789474) / 1000.0;
    const std::vector<AtmosphereGas> air = {{7, 780.0, 78.0}, {8, 210.0, 21.0}};
    const struct {
        double temperature, pressure, gravity;
        std::vector<AtmosphereGas> gases;
        HabitabilityVerdict verdict;
    } rows[] = {
        {252.999, 1000.0, 1.0, air, kNo}, {253.0, 300.0, 0.3, air, kYes}, {323.0, 6000.0, 1.5, air, kYes},
        {323.001, 1000.0, 1.0, air, kNo}, {288.0, 299.99, 1.0, air, kNo}, {288.0, 6000.01, 1.0, air, kNo},
        {288.0, 1000.0, 1.5001, air, kEquipped}, {kInf, kInf, 1.0, air, kNo}, {288.0, 1000.0, 1.0, {}, kEquipped},
        {288.0, 1000.0, 1.0, {{8, 95.9922 / f, 10.0}}, kYes}, {288.0, 1000.0, 1.0, {{8, 95.992 / f, 10.0}}, kEquipped},
        {288.0, 1000.0, 1.0, {{8, 533.28 / f, 60.0}}, kYes}, {288.0, 1000.0, 1.0, {{8, 533.3 / f, 60.0}}, kEquipped},
        {288.0, 1000.0, 2.0, air, kEquipped}, {288.0, 1000.0, 2.0, {{8, 20.0, 2.0}}, kNo},
        {288.0, 1000.0, 1.0, {{902, 9.33 / f, 1.0}, {8, 210.0, 21.0}}, kYes},
        {288.0, 1000.0, 1.0, {{902, 9.34 / f, 1.0}, {8, 210.0, 21.0}}, kEquipped},
        {288.0, 1000.0, 1.0, {{8, 210.0, 21.0}, {900, 0.2 / f, 0.02}}, kEquipped},
        // Nitrogen may be breathed up to 3106 mbar; a gas missing from the table takes the first
        // row's limit, which is 0.
        {288.0, 4000.0, 1.0, {{7, 3100.0, 77.0}, {8, 350.0, 9.0}}, kYes},
        {288.0, 4000.0, 1.0, {{7, 3330.0, 83.0}, {8, 350.0, 9.0}}, kEquipped},
        {288.0, 1000.0, 1.0, {{8, 210.0, 21.0}, {17, 0.001, 0.0001}}, kEquipped},
        // No oxygen, or the last oxygen entry bad: not breathable; the last entry decides.
        {288.0, 1000.0, 1.0, {{7, 990.0, 99.0}}, kEquipped},
        {288.0, 1000.0, 1.0, {{8, 210.0, 21.0}, {8, 50.0, 5.0}}, kEquipped},
        {288.0, 1000.0, 1.0, {{8, 50.0, 5.0}, {8, 210.0, 21.0}}, kYes},
    };
    for (const auto& row : rows) {
        const PlanetRecord b{.surfgrav = row.gravity, .surfpressure = row.pressure, .medsurftemp = row.temperature,
                             .gascount = static_cast<std::int32_t>(row.gases.size()), .atmcompounds = row.gases};
        EXPECT_EQ(rateHabitability(b).verdict, row.verdict) << &row - rows;
    }
}

// The best matching gas pattern wins, the later one on a tie; a share of just 1 percent is none.
TEST(AtmosphereClass, BestPatternWinsAndTheLaterOneOnATie) {
    const struct {
        double pressure;
        std::vector<AtmosphereGas> gases;
        int atmosphereClass;
    } rows[] = {
        {0.1, {{7, 0.08, 80.0}, {8, 0.02, 20.0}}, 1}, {kInf, {{1, 1.0, 90.0}}, 1},
        {1000.0, {{7, 780.0, 78.0}, {8, 210.0, 21.0}}, 2}, {1000.0, {{902, 950.0, 95.0}, {907, 50.0, 5.0}}, 11},
        {1000.0, {{906, 500.0, 50.0}, {909, 500.0, 50.0}}, 14}, {1000.0, {{17, 500.0, 50.0}, {910, 500.0, 50.0}}, 18},
        {1000.0, {{0, 1000.0, 100.0}}, 10},
        // Methane and ammonia match patterns 5 and 15 alike: the later one wins. With hydrogen, 5.
        {1000.0, {{904, 500.0, 50.0}, {900, 500.0, 50.0}}, 16},
        {1000.0, {{904, 400.0, 40.0}, {900, 400.0, 40.0}, {1, 200.0, 20.0}}, 6},
        {1000.0, {{7, 1000.0, 100.0}}, 19},  // matches 3, 8, 11, 14 and 18: the last of them
        {1000.0, {{2, 1000.0, 100.0}}, 21}, {1000.0, {}, 21},  // no match: pattern 20 wins the tie at zero
        {1000.0, {{7, 990.0, 99.0}, {8, 10.0, 1.0}}, 19}, {1000.0, {{7, 990.0, 99.0}, {8, 10.0, 1.0000001}}, 2},
    };
    for (const auto& row : rows)
        EXPECT_EQ(atmosphereClass({.surfpressure = row.pressure, .atmcompounds = row.gases}), row.atmosphereClass)
            << &row - rows;
}

const StarvaneConfig kTextureConfig{.largelevel = 7, .smalllevel = 3, .largeradius = 6000.0, .smallradius = 500.0,
                                    .lowerbound = 5, .upperbound = 4, .maxasteroids = 2, .minasteroids = 2,
                                    .cachecapacity = 10};

// Levels: 3 + (r - 500) x 3 / 5500 + 0.5, truncated, within 3..7, at least the lower bound for
// terrestrial and oceanic worlds, at most the upper for giants. Cloud classes; one-face styles.
TEST(TextureExport, LevelsStylesAndCloudClasses) {
    for (const auto& [type, radius, level] :
         {std::tuple{rock, 6000.0, 7}, {rock, 50000.0, 7}, {rock, 500.0, 3}, {rock, 100.0, 3}, {rock, 500.001, 3},
          {rock, 1416.6, 3}, {rock, 1416.7, 4}, {rock, 3250.0, 5}, {rock, 5999.0, 6}, {martian, 2000.0, 4},
          {terrestrial, 500.0, 5}, {oceanic, 2000.0, 5}, {terrestrial, 6000.0, 7}, {sudarskyi, 70000.0, 4},
          {icegiant, 25000.0, 4}, {gasdwarf, 500.0, 3}, {ice, 70000.0, 7}})
        EXPECT_EQ(textureLevel({.radius = radius, .type = type}, kTextureConfig), level) << type << " " << radius;
    for (const auto& [pressure, plain, switched] :
         {std::tuple{0.0, 6, 5}, {0.0999, 6, 5}, {0.1, 5, 5}, {149.9, 5, 5}, {150.0, 4, 4}, {599.9, 4, 4},
          {600.0, 3, 3}, {1999.9, 3, 3}, {2000.0, 2, 2}, {9999.9, 2, 2}, {10000.0, 5, 5}, {kInf, 5, 5}}) {
        EXPECT_EQ(cloudClass(pressure, 0), plain) << pressure;
        EXPECT_EQ(cloudClass(pressure, 1), switched) << pressure;
    }
    for (const auto& [ice, hydro, style] :
         {std::tuple{0.5, 0.2, 1}, {0.2, 0.1, 1}, {0.1, 0.05, 2}, {0.05, 0.05, 2}, {0.0, 0.9, 12}, {0.0, 0.8, 10},
          {0.5, 0.5, 10}, {0.0, 0.1, 2}, {0.0, 0.11, 10}})
        EXPECT_EQ(surfaceStyle({.hydrofraction = hydro, .icefraction = ice, .type = oneface}).style, style)
            << ice << " " << hydro;
    EXPECT_EQ(progressText(3, 17, 6, 0.429), "3/17: Lvl6 42%");
}

// A missing library is passed over quietly; one without the five entry points is reported.
// Without a plug-in no texture is made and no body changed.
TEST(TextureExport, ALibraryThatIsNotThePluginIsNotUsed) {
    TexturePlugin plugin;
    RecordingMessages sink;
    EXPECT_TRUE(plugin.load("/nonexistent/starvane/texgen.so", sink));
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_FALSE(plugin.load("libm.so.6", sink));  // the C maths library, on every system
    EXPECT_FALSE(plugin.loaded());
    EXPECT_EQ(sink.shown, std::vector<std::string>{"Error!|Interface error. Check installation for version mix-up."});
    TemporaryFolder root;
    fs::create_directories(root.path() / "Config" / "StarvaneSystems" / "Tiny");
    GeneratedSystem system = tinySystem();
    system.planets[3].bodies[0].cloudtexture = 7;
    exportTextures(root.path(), system, std::vector<PlanetRecord>(3, {.type = asteroids, .name = "Tinystar c#1"}),
                   kTextureConfig, true, plugin, [](int, int, int, double) { ADD_FAILURE() << "progress"; });
    EXPECT_EQ(system.planets[3].bodies[0].cloudtexture, 7);
    EXPECT_EQ(treeOf(root.path()).size(), 3u);
}

// A star read from a custom file is never exported to cache, and a system whose name cannot be
// listed is not exported unlisted. The simulator's Config folder is found whatever its case.
TEST(SystemSave, ToCacheOnlyWhatIsListed) {
    TemporaryFolder root;
    fs::create_directories(root.path() / "config" / "ummupermanentbase");
    fs::create_directories(root.path() / "Starvane" / "Cache.txt");  // a list that cannot be written
    StarRecord star;
    star.path = "Custom Systems/Tiny.svs";
    star.system = std::make_unique<GeneratedSystem>(tinySystem());
    star.physical = std::make_unique<StellarData>(kTinyStar);
    LcgRandom random;
    const auto before = treeOf(root.path());
    EXPECT_EQ(saveToCache(root.path(), star, kTextureConfig, nullptr, {}, random).outcome, SaveOutcome::readFromFile);
    star.path.clear();
    EXPECT_EQ(saveToCache(root.path(), star, kTextureConfig, nullptr, {}, random).outcome, SaveOutcome::notRegistered);
    EXPECT_EQ(treeOf(root.path()), before);
    fs::remove(root.path() / "Starvane" / "Cache.txt");
    EXPECT_EQ(saveToCache(root.path(), star, kTextureConfig, nullptr, {}, random).outcome, SaveOutcome::saved);
    EXPECT_EQ(readCacheList(root.path()), std::vector<std::string>{"Tiny"});
    const fs::path folder = root.path() / "config" / "StarvaneSystems" / "Tiny";
    EXPECT_EQ(checkExportedSystem(folder / "TinySystem.cfg", root.path() / "config"), "");
    EXPECT_EQ(lineOf(readAll(folder / "TinySystem.cfg"), "Planet5"), "Planet5 = StarvaneSystems/Tiny/Tinystar c#2");
    EXPECT_EQ(readAll(root.path() / "config" / "ummupermanentbase" / "SV_Tiny.cfg"),
              ";This file was created by starvane to indicate habitable planets to UMMU 2.0. It will be deleted "
              "along with your texture files and system configs when the system gets removed from cache\n"
              "6371000.000000,-999,1,0\n");
    EXPECT_FALSE(fs::exists(root.path() / "Config"));
}

// A save stopped between two bodies' textures names the bodies up to the stop. To cache, nothing
// of the system stays; to folder, the textures of the bodies done stay whole beside its files.
TEST(SystemSave, StoppedBetweenBodies) {
    TexturePlugin plugin;
    RecordingMessages sink;
    ASSERT_TRUE(plugin.load(STARVANE_TEXGEN_PATH, sink) && plugin.loaded());
    StarvaneConfig config = kTextureConfig;
    config.largelevel = config.smalllevel = config.lowerbound = config.upperbound = config.asteroidlevel = 1;
    for (const bool toCache : {true, false}) {
        TemporaryFolder root;
        for (const char* folder : {"Config/EPP", "Config/UMMUPermanentBase", "Textures", "Starvane"})
            fs::create_directories(root.path() / folder);
        StarRecord star;
        star.system = std::make_unique<GeneratedSystem>(tinySystem());
        star.physical = std::make_unique<StellarData>(kTinyStar);
        std::vector<std::string> named;
        SaveHooks hooks;
        hooks.body = [&named](const std::string& name) { named.push_back(name); };
        hooks.cancelled = [&named] { return named.size() == 2; };
        LcgRandom random;
        const SaveResult result = toCache ? saveToCache(root.path(), star, config, &plugin, hooks, random)
                                          : saveToFolder(root.path(), star, config, &plugin, hooks, random);
        EXPECT_EQ(result.outcome, SaveOutcome::cancelled);
        EXPECT_EQ(named, (std::vector<std::string>{"a", "b"}));
        const auto after = treeOf(root.path());
        if (toCache) {
            EXPECT_TRUE(readCacheList(root.path()).empty());
            std::set<std::string> files;
            std::copy_if(after.begin(), after.end(), std::inserter(files, files.end()),
                         [&root](const std::string& path) { return fs::is_regular_file(root.path() / path); });
            EXPECT_EQ(files, std::set<std::string>{"Starvane/Cache.txt"});
        } else {
            const std::string textures = "Starvane/SavedSystems/Tiny/Textures/";
            for (const char* file : {"Tiny a.tex", "Tiny aM.bmp", "Tiny b.tex", "Tiny bM.bmp"})
                EXPECT_EQ(after.count(textures + file), 1u) << file;
            EXPECT_EQ(after.count(textures + "Tiny b I.tex"), 0u);
        }
    }
}

TEST(OrbiterChecker, FindsWhatTheSimulatorWouldMisread) {
    TemporaryFolder root;
    const fs::path config = root.path() / "Config", d = config / "Sys";
    writeAll(d / "Star.cfg", "\nName = Star\nModule = Sun\nMass = 2e30\nSize = 7e8");
    writeAll(d / "P.cfg", "\nName = P\nEllipticOrbit = TRUE\nSemiMajorAxis = 1e11\nEccentricity = 0.1\n"
                          "Size = 1000.000000\nMass = 1e20 ; kg\nSidRotPeriod = 100");
    writeAll(d / "Q.cfg", "Name = Q\nEllipticOrbit = true\nSemiMajorAxis = 1e11\nEccentricity = 0.1\nSize = inf\n"
                          "Mass = 1e20\nCloudRotPeriod = 0\nAtmPressure0 = 1000\nSize = 5");
    writeAll(d / "Bad.cfg", "Star1 = Sys/Star\nPlanet1 = Sys/P\nSys/P:Moon1 = Sys/P\nPlanet2 = Sys/Q\nPlanet2 = Sys/P\n"
                            "Planet3 = Sys/P.cfg\nPlanet4 = Sys/P\nP:Moon1 = Sys/P\nPlanet6 = Sys/P");
    EXPECT_EQ(checkExportedSystem(d / "Bad.cfg", config),
              "planet2: size = \"inf\" is no usable value\nplanet2: cloudrotperiod is 0\n"
              "planet2: only one of AtmPressure0 and AtmDensity0\nplanet3: no file (fatal in the simulator)\n"
              "two bodies are named \"p\"\n"
              "the simulator never reads \"planet6\"\nthe simulator never reads \"sys/p:moon1\"\n");
}

TEST(OrbiterChecker, GeneratedSystemsReadCleanlyToFolderAndToCache) {
    int systems = 0, belts = 0;
    for (const auto& [name, mass, luminosity, radius, age] :
         {std::tuple{"Sunlike", 1.0, 1.0, 1.0, 4600.0}, {"Bright", 1.6, 6.0, 1.7, 1200.0},
          {"Red Dwarf", 0.3, 0.012, 0.35, 8000.0}, {"Orange", 0.8, 0.4, 0.8, 6000.0}}) {
        const StellarData star{.mass = mass, .mslifetime = 10000.0 * mass / luminosity, .age = age, .name = name,
                               .spectralclass = "G", .lumclass = "V", .typename_ = "Main Sequence Star",
                               .luminosity = luminosity, .radius = radius, .initialmass = mass,
                               .initialluminosity = luminosity};
        for (const double seed : {7.0, 19.0, 25.0, 32.0, 99991.0, 3000000001.0}) {
            GeneratedSystem system;
            system.generateFor(seed, star);
            if (system.planets.empty()) continue;
            ++systems;
            for (const PlanetSlot& planet : system.planets) belts += planet.bodies.at(0).type == asteroids;
            TemporaryFolder root;
            fs::create_directories(root.path() / "Starvane");
            fs::create_directories(root.path() / "Config");
            LcgRandom random(static_cast<std::uint32_t>(seed) + 1u);
            for (const bool toCache : {false, true}) {
                exportSystem(root.path(), system, star, 4, 1, toCache, nullptr, random);
                const ExportDestination to = exportDestination(root.path(), system.name, toCache);
                EXPECT_EQ(checkExportedSystem(to.folder / (system.name + "System.cfg"), root.path() / "Config",
                                              to.reference, to.folder),
                          "")
                    << star.name << " " << seed << (toCache ? " to cache" : "");
            }
        }
    }
    EXPECT_GE(systems, 18);
    EXPECT_GT(belts, 0) << "some seed should give a belt";
}

}  // namespace
