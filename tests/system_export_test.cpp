// The export to the simulator's configuration files: a small hand-made system with a moon, a
// belt and a giant, the switch of the number notation, left-out lines, the asteroid swarms of
// belts, the habitability rating and atmosphere class, and the texture levels, styles and cloud
// classes. Whole exports of catalogue stars are pinned by the golden outputs; the numbers here
// are known answers of the current export.

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "export/asteroids.h"
#include "export/habitability.h"
#include "export/system_export.h"
#include "export/system_save.h"
#include "export/texture_export.h"
#include "export/texture_plugin.h"
#include "files/cache_list.h"
#include "galaxy/star_record.h"
#include "generation/lcg_random.h"

#include "tests/test_files.h"

namespace {

namespace fs = std::filesystem;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Every path below `folder` (or only its entries), relative to it.
std::set<std::string> treeOf(const fs::path& folder, bool deep = true) {
    std::set<std::string> names;
    std::error_code error;
    if (deep)
        for (const auto& entry : fs::recursive_directory_iterator(folder, error))
            names.insert(fs::relative(entry.path(), folder).generic_string());
    else
        for (const auto& entry : fs::directory_iterator(folder, error)) names.insert(entry.path().filename().string());
    return names;
}

// The line "key = value" of a configuration text, or "<none>".
std::string lineOf(const std::string& text, const std::string& key) {
    const std::size_t at = text.find("\n" + key + " = ");
    if (at == std::string::npos) return "<none>";
    const std::size_t end = text.find('\n', at + 1);
    return text.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
}

PlanetRecord body(const std::string& name, PlanetType type, double sma = 0.0, double mass = 0.0,
                  double radius = 0.0) {
    PlanetRecord b;
    b.name = name;
    b.type = type;
    b.sma = sma;
    b.mass = mass;
    b.radius = radius;
    return b;
}

PlanetSlot slot(std::vector<PlanetRecord> bodies) {
    PlanetSlot s;
    s.bodies = std::move(bodies);
    s.mooncount = static_cast<std::int32_t>(s.bodies.size() - 1);
    return s;
}

// "Tiny": a, rock without air; b, terrestrial with N2/O2 and the moon "b I"; c, a belt with a
// moon that is never exported; d, a giant without surface.
GeneratedSystem tinySystem() {
    PlanetRecord a = body("a", rock, 0.5, 1e-7, 2000.0);
    a.ecc = 0.1;
    a.inclination = 0.01;
    a.longascnode = 0.2;
    a.longperihelion = 0.3;
    a.meanlongitude = 0.4;
    a.day = 24.0;
    a.axtilt = 10.0;
    a.medsurftemp = 400.0;
    a.surfgrav = 0.3;

    PlanetRecord b = body("b", terrestrial, 1.0, 3e-6, 6371.0);
    b.ecc = 0.02;
    b.longperihelion = 1.5;
    b.meanlongitude = 3.0;
    b.day = 24.0;
    b.axtilt = 23.44;
    b.surfpressure = 1013.25;
    b.atmdensity = 1.2;
    b.molconst = 287.0;
    b.surfaccel = 980.665;
    b.surfgrav = 1.0;
    b.medsurftemp = 288.0;
    b.mintemp = 270.0;
    b.maxtemp = 300.0;
    b.atmcompounds = {{7, 790.0, 78.0}, {8, 210.0, 21.0}};
    b.gascount = 2;
    b.colour = {255.0f, 128.0f, 0.0f};

    PlanetRecord moon = body("b I", rock, 0.0025, 3.7e-8, 1700.0);
    moon.ecc = 0.01;
    moon.axtilt = 6.68;         // no rotation period: the line is left out
    moon.surfpressure = 500.0;  // pressure but no gases: no atmosphere block
    moon.medsurftemp = 250.0;
    moon.surfgrav = 0.17;

    PlanetRecord c = body("c", asteroids, 2.5, 1e-9, 500.0);
    c.ecc = 0.05;
    c.inclination = 0.03;
    c.longascnode = 1.1;

    PlanetRecord d = body("d", sudarskyi, 5.2, 0.00095, 70000.0);
    d.ecc = 0.048;
    d.day = 10.0;
    d.axtilt = 3.1;
    d.surfpressure = d.medsurftemp = d.atmdensity = kInf;
    d.surfgrav = 2.5;
    d.mintemp = 100.0;
    d.maxtemp = 120.0;
    d.atmcompounds = {{1, 900.0, 90.0}};
    d.gascount = 1;

    GeneratedSystem system;
    system.name = "Tiny";
    system.planets = {slot({a}), slot({b, moon}), slot({c, body("c I", rock, 0.001, 1e-12, 100.0)}), slot({d})};
    system.planetcount = 4;
    return system;
}

StellarData tinyStar() {
    StellarData star;
    star.name = "Tinystar";  // asteroids are named after the star, everything else after the system
    star.mass = 1.0;
    star.radius = 1.0;
    return star;
}

const char* const kFolderMarkerHeader =
    ";This file was created by starvane to indicate habitable planets to UMMU 2.0. It was exported with the "
    "rest of a system to a custom folder. You'll need to place it in Config/UMMUPermanentBase";
const char* const kCacheMarkerHeader =
    ";This file was created by starvane to indicate habitable planets to UMMU 2.0. It will be deleted along "
    "with your texture files and system configs when the system gets removed from cache";

class RecordingMessages : public MessageSink {
public:
    void showMessage(const std::string& title, const std::string& text) override {
        shown.push_back(title + "|" + text);
    }
    std::vector<std::string> shown;
};

// Exports Tiny with two asteroids to a fresh root and returns the folder of its files.
struct TinyExport {
    TemporaryFolder root;
    GeneratedSystem system = tinySystem();
    ExportedSystem exported;
    fs::path folder;
    TinyExport(std::uint32_t seed, bool toCache, const char* configFolder, LcgRandom* generator = nullptr) {
        fs::create_directories(root.path() / "Starvane");
        if (configFolder) fs::create_directories(root.path() / configFolder / "ummupermanentbase");
        LcgRandom own(seed);
        exported = exportSystem(root.path(), system, tinyStar(), 2, 2, toCache, nullptr, generator ? *generator : own);
        folder = toCache ? root.path() / (configFolder ? configFolder : "Config") / "StarvaneSystems" / "Tiny"
                         : root.path() / "Starvane" / "SavedSystems" / "Tiny";
    }
    std::string file(const std::string& name) const { return readAll(folder / (name + ".cfg")); }
};

// ---------------------------------------------------------------------------------------------
// Whole export of Tiny

TEST(SystemExport, TinySystemToFolder) {
    LcgRandom generator(4242);
    TinyExport tiny(4242, false, nullptr, &generator);
    const std::string R = " XXXXXXXXX/Tiny/";
    EXPECT_EQ(tiny.file("TinySystem"), "\n; === Configuration file for the Tiny solar system ===\nName = Tiny System\n"
                                       "\nStar1 =" + R + "Tiny\nPlanet1 =" + R + "Tiny a\nPlanet2 =" + R + "Tiny b"
                                       "\nTiny b:Moon1 =" + R + "Tiny b I\nPlanet3 =" + R + "Tiny d"
                                       "\nPlanet4 =" + R + "Tinystar c#1\nPlanet5 =" + R + "Tinystar c#2");
    EXPECT_EQ(tiny.file("Tiny"), "\n; === Configuration file for star Tiny ===\nName = Tiny\nModule = Sun"
                                 "\nErrorLimit = 1e-6\nSamplingInterval = 1497\nMass = 1.98892e+30\nSize = 6.96e+08");
    EXPECT_EQ(tiny.file("SV_Tiny"), std::string(kFolderMarkerHeader) + "\n6371000.000000,-999,1,0\n");
    // The moon carries its planet's index; the giant's index counts the belt.
    EXPECT_TRUE(tiny.file("Tiny b I").starts_with("\n; === Configuration file for Planet Tiny 1\nName = Tiny b I\n"));
    EXPECT_TRUE(tiny.file("Tiny d").starts_with("\n; === Configuration file for Planet Tiny 3\n"));
    const std::string a = tiny.file("Tiny a");
    EXPECT_TRUE(a.ends_with("\nSidRotOffset = 0 \nObliquity = 0.174533\nLAN = 1\n\n; === Visualization Parameters === "
                            "\nMaxPatchResolution = 8\nMinCloudResolution = 1\nMaxCloudResolution = 8"))
        << a;
    // General notation until the first "Size" line, fixed from there on, for every later file.
    const struct {
        const char* file;
        const char* key;
        const char* line;
    } rows[] = {
        {"Tiny a", "SemiMajorAxis", "SemiMajorAxis = 7.47989e+10"},
        {"Tiny a", "Size", "Size = 2000000.000000"},
        {"Tiny a", "Mass", "Mass = 198891944439999992168448.000000"},
        {"Tiny a", "AtmPressure0", "<none>"},
        {"Tiny b", "SemiMajorAxis", "SemiMajorAxis = 149597870691.000000"},
        {"Tiny b", "AtmAltLimit", "AtmAltLimit = 138893.827271"},
        {"Tiny b", "AtmHazeExtent", "AtmHazeExtent = 0.113333"},
        {"Tiny b", "CloudAlt", "CloudAlt = 5112"},
        {"Tiny b", "CloudRotPeriod", "CloudRotPeriod = 311040.000000"},
        {"Tiny b I", "SidRotPeriod", "<none>"},
        {"Tiny b I", "AtmPressure0", "<none>"},
        {"Tiny d", "AtmPressure0", "<none>"},
        {"Tinystar c#1", "SemiMajorAxis", "SemiMajorAxis = 384116855721.885132"},
        {"Tinystar c#1", "LongPerihelion", "LongPerihelion = 3.303048"},
        {"Tinystar c#1", "Size", "Size = 19295.449721"},
        {"Tinystar c#1", "Mass", "Mass = 54608758500473496.000000"},
        {"Tinystar c#2", "Size", "Size = 28930.572045"},
    };
    for (const auto& row : rows) EXPECT_EQ(lineOf(tiny.file(row.file), row.key), row.line) << row.file;
    EXPECT_EQ(tiny.file("Tinystar c#2").substr(0, 59), "\n; === Configuration file for Asteroid Tinystar c#2\nName = ");
    // The belt and its moon have no files; nothing else is written.
    EXPECT_EQ(treeOf(tiny.folder, false),
              (std::set<std::string>{"TinySystem.cfg", "Tiny.cfg", "Tiny a.cfg", "Tiny b.cfg", "Tiny b I.cfg",
                                     "Tiny d.cfg", "Tinystar c#1.cfg", "Tinystar c#2.cfg", "SV_Tiny.cfg"}));
    EXPECT_EQ(treeOf(tiny.root.path()).size(), 3u + 9u);
    // Count, 2 x 6 asteroid values, one cloud height, 2 x 2 angles: the state after exactly these.
    EXPECT_EQ(generator.state(), 2254741804u);
    EXPECT_EQ(tiny.system.asteroidtotal, 2);
    // The belt stays as it was; without a plug-in the stored colour is what the file carries.
    const GeneratedSystem before = tinySystem();
    EXPECT_EQ(tiny.system.planets[2].mooncount, 1);
    EXPECT_EQ(tiny.system.planets[2].bodies[0].sma, before.planets[2].bodies[0].sma);
    EXPECT_EQ(tiny.system.planets[1].bodies[0].colour, before.planets[1].bodies[0].colour);
}

TEST(SystemExport, TinySystemToCacheFindsConfigWhateverItsCase) {
    const TinyExport folder(77, false, nullptr);
    const TinyExport cache(77, true, "config");
    EXPECT_FALSE(cache.exported.failure);
    EXPECT_FALSE(fs::exists(cache.root.path() / "Config"));
    EXPECT_EQ(treeOf(cache.folder, false).size(), 8u);  // the marker goes to the base folder
    EXPECT_EQ(readAll(cache.root.path() / "config" / "ummupermanentbase" / "SV_Tiny.cfg"),
              std::string(kCacheMarkerHeader) + "\n6371000.000000,-999,1,0\n");
    EXPECT_EQ(lineOf(cache.file("TinySystem"), "Planet5"), "Planet5 = StarvaneSystems/Tiny/Tinystar c#2");
    for (const char* name : {"Tiny", "Tiny a", "Tiny b", "Tiny b I", "Tiny d", "Tinystar c#1", "Tinystar c#2"})
        EXPECT_EQ(cache.file(name), folder.file(name)) << name;
}

TEST(SystemExport, CacheExportWithoutConfigFolderWritesNothingAndSaysWhy) {
    const TinyExport tiny(5, true, nullptr);
    EXPECT_EQ(treeOf(tiny.root.path()), (std::set<std::string>{"Starvane"}));
    ASSERT_TRUE(tiny.exported.failure);
    EXPECT_EQ(tiny.exported.failure->path, tiny.folder);
}

TEST(SystemExport, SecondFolderExportOverwritesWithNewAsteroids) {
    LcgRandom generator(1);
    TinyExport tiny(1, false, nullptr, &generator);
    const std::string firstAsteroid = tiny.file("Tinystar c#1");
    const std::string firstA = tiny.file("Tiny a");
    exportSystem(tiny.root.path(), tiny.system, tinyStar(), 2, 2, false, nullptr, generator);
    EXPECT_NE(tiny.file("Tinystar c#1"), firstAsteroid);
    EXPECT_EQ(tiny.file("Tiny a"), firstA);  // each export starts again in general notation
    EXPECT_EQ(treeOf(tiny.folder, false).size(), 9u);
}

// ---------------------------------------------------------------------------------------------
// Notation and left-out lines

TEST(SystemExport, FixedNotationStartsAtTheFirstSizeLineEvenWhenItIsLeftOut) {
    TemporaryFolder root;
    fs::create_directories(root.path() / "Starvane");
    GeneratedSystem system = tinySystem();
    system.planets[0].bodies[0].radius = kNaN;
    LcgRandom generator(3);
    exportSystem(root.path(), system, tinyStar(), 2, 2, false, nullptr, generator);
    const fs::path folder = root.path() / "Starvane" / "SavedSystems" / "Tiny";
    const std::string a = readAll(folder / "Tiny a.cfg");
    EXPECT_EQ(lineOf(a, "Size"), "<none>");
    EXPECT_EQ(lineOf(a, "SemiMajorAxis"), "SemiMajorAxis = 7.47989e+10");
    EXPECT_EQ(lineOf(a, "Mass"), "Mass = 198891944439999992168448.000000");
    EXPECT_EQ(lineOf(readAll(folder / "Tiny.cfg"), "Size"), "Size = 6.96e+08");
    EXPECT_EQ(lineOf(readAll(folder / "Tiny b.cfg"), "SemiMajorAxis"), "SemiMajorAxis = 149597870691.000000");
}

TEST(SystemExport, NumbersThatAreNotFiniteOrZeroPeriodsAreLeftOut) {
    TemporaryFolder root;
    fs::create_directories(root.path() / "Starvane");
    GeneratedSystem system = tinySystem();
    PlanetRecord& a = system.planets[0].bodies[0];
    a.ecc = kNaN;
    a.mass = kInf;
    a.axtilt = -kInf;
    PlanetRecord& b = system.planets[1].bodies[0];
    b.radius = kInf;     // habitable, but no marker line without a finite radius
    b.atmdensity = 0.0;  // altitude limit and horizon divide by zero
    b.colour[1] = std::numeric_limits<float>::quiet_NaN();
    b.mintemp = 0.0;  // cloud period 0
    PlanetRecord& d = system.planets[3].bodies[0];
    d.maxtemp = 0.0;
    d.day = kNaN;
    LcgRandom generator(3);
    exportSystem(root.path(), system, tinyStar(), 0, 0, false, nullptr, generator);
    const fs::path folder = root.path() / "Starvane" / "SavedSystems" / "Tiny";

    const std::string aText = readAll(folder / "Tiny a.cfg");
    for (const char* key : {"Eccentricity", "Mass", "Obliquity"}) EXPECT_EQ(lineOf(aText, key), "<none>") << key;
    EXPECT_EQ(lineOf(aText, "Inclination"), "Inclination = 0.01");
    const std::string bText = readAll(folder / "Tiny b.cfg");
    for (const char* key : {"Size", "AtmAltLimit", "AtmHorizonAlt", "AtmColor0", "AtmHazeColor", "CloudRotPeriod"})
        EXPECT_EQ(lineOf(bText, key), "<none>") << key;
    EXPECT_EQ(lineOf(bText, "AtmDensity0"), "AtmDensity0 = 0.000000");
    EXPECT_EQ(lineOf(bText, "AtmHazeExtent"), "AtmHazeExtent = 0.100000");
    EXPECT_NE(lineOf(bText, "CloudAlt"), "<none>");
    EXPECT_EQ(readAll(folder / "SV_Tiny.cfg"), std::string(kFolderMarkerHeader) + "\n");
    EXPECT_EQ(lineOf(readAll(folder / "Tiny d.cfg"), "SidRotPeriod"), "<none>");
    for (const auto& name : treeOf(folder, false)) {
        const std::string text = readAll(folder / name);
        EXPECT_EQ(text.find("inf"), std::string::npos) << name;
        EXPECT_EQ(text.find("nan"), std::string::npos) << name;
    }
}

// ---------------------------------------------------------------------------------------------
// Asteroids

TEST(SystemExport, AsteroidSwarmsFollowTheDrawOrderOfEveryBelt) {
    PlanetRecord inner = body("x", asteroids, 2.1, 3e-10);
    inner.ecc = 0.07;
    inner.inclination = 0.2;
    inner.longascnode = 2.0;
    PlanetRecord outer = body("y", asteroids, 40.0, 1e-8);
    outer.ecc = 0.15;
    GeneratedSystem system;
    system.planets = {slot({body("r", rock)}), slot({inner, body("x I", rock)}), slot({outer})};

    // Known draws: counts per belt, then six values per asteroid.
    const struct {
        std::uint32_t seed;
        int least, most;
        std::size_t count;
        std::uint32_t state;
        double sma, mass, density, radius, axtilt, day;  // of the first asteroid
    } rows[] = {
        {1, 0, 4, 4, 811474043u, 2.1563585314493241, 6.0991271706289863e-15, 3884.460890530107, 9.9802315018127867,
         0.75340067751091044, 345.20401623584701},
        {2, 3, 3, 6, 472665136u, 2.1891628772850735, 2.2454606769005401e-14, 2559.9230933561207, 17.708746268849193,
         0.94151127658925149, 411.68553727835933},
        {3, 1, 6, 3, 1292251911u, 2.1219611194189278, 8.8091708120975371e-15, 2285.8302560502943, 13.462487763528125,
         1.1296697897274697, 478.1670583208716},
    };
    for (const auto& row : rows) {
        LcgRandom generator(row.seed);
        const std::vector<PlanetRecord> swarm = generateAsteroids(system, "Sun", row.most, row.least, generator);
        SCOPED_TRACE(row.seed);
        ASSERT_EQ(swarm.size(), row.count);
        EXPECT_EQ(generator.state(), row.state);
        const PlanetRecord& s = swarm[0];
        EXPECT_EQ(s.name, "Sun x#1");
        EXPECT_DOUBLE_EQ(s.sma, row.sma);
        EXPECT_DOUBLE_EQ(s.mass, row.mass);
        EXPECT_DOUBLE_EQ(s.density, row.density);
        EXPECT_DOUBLE_EQ(s.radius, row.radius);
        EXPECT_DOUBLE_EQ(s.axtilt, row.axtilt);
        EXPECT_DOUBLE_EQ(s.day, row.day);
    }
    // Known counts over many seeds: three in four are carbonaceous (2.2 to 2.6 g/cc), few metallic.
    int carbonaceous = 0, metallic = 0;
    for (std::uint32_t seed = 1; seed <= 150; ++seed) {
        LcgRandom generator(seed);
        for (const PlanetRecord& s : generateAsteroids(system, "Sun", 2, 1, generator)) {
            carbonaceous += s.density <= 2600.0;
            metallic += s.density >= 7300.0;
        }
    }
    EXPECT_EQ(carbonaceous, 343);
    EXPECT_EQ(metallic, 35);
}

TEST(SystemExport, TwoBeltsOfThreeAndTwoAsteroidsAreNumberedAfterThePlanets) {
    PlanetRecord p1 = body("A", rock, 1.0, 1e-7, 3000.0);
    PlanetRecord p2 = p1;
    p2.name = "C";
    p2.sma = 3.0;
    GeneratedSystem system;
    system.name = "Belts";
    system.planets = {slot({p1, body("A I", rock, 0.002, 1e-9, 500.0)}), slot({body("B", asteroids, 2.0, 1e-9)}),
                      slot({p2}), slot({body("E", asteroids, 30.0, 1e-9), body("E I", rock)})};

    TemporaryFolder root;
    fs::create_directories(root.path() / "Starvane");
    LcgRandom generator(1);  // its count draws give 3 for the first belt and 2 for the second
    StellarData star = tinyStar();
    star.name = "Sol/B";  // made safe for the file names
    ASSERT_EQ(exportSystem(root.path(), system, star, 3, 2, false, nullptr, generator).asteroids.size(), 5u);
    const fs::path folder = root.path() / "Starvane" / "SavedSystems" / "Belts";
    const std::string R = " XXXXXXXXX/Belts/";
    EXPECT_EQ(readAll(folder / "BeltsSystem.cfg"),
              "\n; === Configuration file for the Belts solar system ===\nName = Belts System\n"
              "\nStar1 =" + R + "Belts\nPlanet1 =" + R + "Belts A\nBelts A:Moon1 =" + R + "Belts A I"
              "\nPlanet2 =" + R + "Belts C\nPlanet3 =" + R + "Sol_B B#1\nPlanet4 =" + R + "Sol_B B#2"
              "\nPlanet5 =" + R + "Sol_B B#3\nPlanet6 =" + R + "Sol_B E#4\nPlanet7 =" + R + "Sol_B E#5");
    // The index in the comment counts the belt; the belts and their moons get no file.
    EXPECT_TRUE(
        readAll(folder / "Belts C.cfg").starts_with("\n; === Configuration file for Planet Belts 2\nName = Belts C\n"));
    EXPECT_EQ(treeOf(folder, false).size(), 2u + 3u + 5u + 1u);
}

TEST(SystemExport, NoBeltsOrNoAsteroidsGiveAnEmptyList) {
    GeneratedSystem system = tinySystem();
    system.planets.erase(system.planets.begin() + 2);
    LcgRandom generator(9);
    EXPECT_TRUE(generateAsteroids(system, "Tinystar", 20, 5, generator).empty());
    EXPECT_EQ(generator.state(), 9u);

    GeneratedSystem withBelt = tinySystem();
    TemporaryFolder root;
    fs::create_directories(root.path() / "Starvane");
    EXPECT_TRUE(exportSystem(root.path(), withBelt, tinyStar(), 0, 0, false, nullptr, generator).asteroids.empty());
    EXPECT_EQ(withBelt.asteroidtotal, 0);
    const std::string text = readAll(root.path() / "Starvane" / "SavedSystems" / "Tiny" / "TinySystem.cfg");
    EXPECT_EQ(text.substr(text.rfind('\n')), "\nPlanet3 = XXXXXXXXX/Tiny/Tiny d");
}

// Configured counts beyond what a belt may have are cut, with a message naming the file and the
// line; however many belts, a system gets no more asteroids than its limit.
TEST(SystemExport, AsteroidCountsAreBounded) {
    TemporaryFolder root;
    const struct {
        const char* line;
        int most, least;
        std::size_t messages;
    } rows[] = {{"20,5", 20, 5, 0}, {"1000000000,1000000000", 1000, 1000, 1}, {"2000000,5", 1000, 5, 1}};
    for (const auto& row : rows) {
        writeAll(root.path() / "Starvane" / "Starvane.cfg", std::string(18, '\n') + row.line + "\n");
        StarvaneConfig config;
        RecordingMessages messages;
        EXPECT_TRUE(loadStarvaneConfig(root.path(), config, &messages));
        EXPECT_EQ(config.maxasteroids, row.most) << row.line;
        EXPECT_EQ(config.minasteroids, row.least) << row.line;
        ASSERT_EQ(messages.shown.size(), row.messages) << row.line;
        for (const std::string& shown : messages.shown)
            EXPECT_NE(shown.find("Starvane.cfg, line 19: "), std::string::npos) << shown;
    }
    GeneratedSystem system;
    system.planets.assign(20, slot({body("b", asteroids)}));
    LcgRandom generator(1);
    EXPECT_EQ(generateAsteroids(system, "Sun", 1000, 1000, generator).size(), 10000u);
}

// ---------------------------------------------------------------------------------------------
// Habitability

// A body that passes every test; `change` moves one quantity.
PlanetRecord comfortable(double temperature = 288.0, double pressure = 1000.0, double gravity = 1.0) {
    PlanetRecord b = body("h", terrestrial);
    b.medsurftemp = temperature;
    b.surfpressure = pressure;
    b.surfgrav = gravity;
    b.atmcompounds = {{7, 780.0, 78.0}, {8, 210.0, 21.0}};
    b.gascount = 2;
    return b;
}

TEST(Habitability, TemperaturePressureAndGravityClassBoundaries) {
    const struct {
        double temperature, pressure, gravity;
        int temperatureClass, pressureClass, gravityClass;
    } rows[] = {
        {252.999, 1000.0, 1.0, 0, 1, 1}, {253.0, 300.0, 0.6, 1, 1, 1},    {323.0, 6000.0, 1.5, 1, 1, 1},
        {323.001, 299.99, 0.5999, 2, 0, 0}, {288.0, 6000.01, 1.5001, 1, 2, 2}, {kInf, kInf, 1.0, 3, 2, 1},
    };
    for (const auto& row : rows) {
        const HabitabilityRating r = rateHabitability(comfortable(row.temperature, row.pressure, row.gravity));
        SCOPED_TRACE(testing::Message() << row.temperature << " " << row.pressure << " " << row.gravity);
        EXPECT_EQ(r.temperature, row.temperatureClass);
        EXPECT_EQ(r.pressure, row.pressureClass);
        EXPECT_EQ(r.gravity, row.gravityClass);
    }
}

TEST(Habitability, BreathingClasses) {
    // Inspired oxygen (p - 62.66151315789474) x partial / p between 95.99 and 533.29 millibars.
    const double f = (1000.0 - 62.66151315789474) / 1000.0;
    const struct {
        double pressure;
        std::vector<AtmosphereGas> gases;
        int breathing;
    } rows[] = {
        {0.1, {{8, 0.02, 20.0}}, 3},  // no air
        {1000.0, {}, 3},
        {1000.0, {{8, 95.9922 / f, 10.0}}, 1},
        {1000.0, {{8, 95.992 / f, 10.0}}, 0},
        {1000.0, {{8, 533.28 / f, 60.0}}, 1},
        {1000.0, {{8, 533.3 / f, 60.0}}, 2},  // above a gas's tolerated pressure: toxic at once
        // The water vapour pressure comes off before scaling: 70 of 200 mbar inspire only 48.
        {200.0, {{8, 70.0, 35.0}}, 0},
        {200.0, {{8, 150.0, 75.0}}, 1},
        {1000.0, {{902, 9.33 / f, 1.0}, {8, 210.0, 21.0}}, 1},
        {1000.0, {{902, 9.34 / f, 1.0}, {8, 210.0, 21.0}}, 2},
        {1000.0, {{8, 210.0, 21.0}, {900, 0.2 / f, 0.02}}, 2},
        // Nitrogen may be breathed up to 3106 mbar; a gas missing from the table takes the
        // first row's limit, which is 0.
        {4000.0, {{7, 3100.0, 77.0}, {8, 350.0, 9.0}}, 1},
        {4000.0, {{7, 3330.0, 83.0}, {8, 350.0, 9.0}}, 2},
        {1000.0, {{8, 210.0, 21.0}, {17, 0.001, 0.0001}}, 2},
        // No oxygen, or the last oxygen entry bad: not breathable; the last entry decides.
        {1000.0, {{7, 990.0, 99.0}}, 0},
        {1000.0, {{8, 210.0, 21.0}, {8, 50.0, 5.0}}, 0},
        {1000.0, {{8, 50.0, 5.0}, {8, 210.0, 21.0}}, 1},
    };
    for (const auto& row : rows) {
        PlanetRecord b = comfortable(288.0, row.pressure);
        b.atmcompounds = row.gases;
        b.gascount = static_cast<std::int32_t>(b.atmcompounds.size());
        EXPECT_EQ(rateHabitability(b).breathing, row.breathing) << row.pressure << " " << &row - rows;
    }
}

TEST(Habitability, Verdicts) {
    constexpr auto kHabitable = HabitabilityVerdict::habitable;
    constexpr auto kWithEquipment = HabitabilityVerdict::habitableWithEquipment;
    constexpr auto kHostile = HabitabilityVerdict::hostile;
    const struct {
        double temperature, pressure, gravity, oxygen;
        HabitabilityVerdict verdict;
    } rows[] = {
        {288.0, 1000.0, 1.0, 210.0, kHabitable},      {288.0, 1000.0, 0.3, 210.0, kHabitable},
        {288.0, 1000.0, 2.0, 210.0, kWithEquipment},  // breathable but heavy
        {288.0, 1000.0, 1.0, 20.0, kWithEquipment},   // bearable but not breathable
        {288.0, 1000.0, 0.3, 20.0, kWithEquipment},   {288.0, 1000.0, 2.0, 20.0, kHostile},
        {350.0, 1000.0, 1.0, 210.0, kHostile},        {200.0, 1000.0, 1.0, 210.0, kHostile},
        {288.0, 7000.0, 1.0, 1400.0, kHostile},       {288.0, 250.0, 1.0, 200.0, kHostile},
        {kInf, kInf, 1.0, 210.0, kHostile},
    };
    for (const auto& row : rows) {
        PlanetRecord b = comfortable(row.temperature, row.pressure, row.gravity);
        b.atmcompounds = {{7, row.pressure - row.oxygen, 80.0}, {8, row.oxygen, 20.0}};
        EXPECT_EQ(rateHabitability(b).verdict, row.verdict) << &row - rows;
    }
    PlanetRecord toxic = comfortable();
    toxic.atmcompounds.push_back({902, 50.0, 5.0});
    EXPECT_EQ(rateHabitability(toxic).verdict, kWithEquipment);
}

TEST(AtmosphereClass, BestPatternWinsAndTheLaterOneOnATie) {
    auto classOf = [](double pressure, std::vector<AtmosphereGas> gases) {
        PlanetRecord b = body("x", terrestrial);
        b.surfpressure = pressure;
        b.atmcompounds = std::move(gases);
        return atmosphereClass(b);
    };
    EXPECT_EQ(classOf(0.1, {{7, 0.08, 80.0}, {8, 0.02, 20.0}}), 1);
    EXPECT_EQ(classOf(kInf, {{1, 1.0, 90.0}}), 1);
    EXPECT_EQ(classOf(1000.0, {{7, 780.0, 78.0}, {8, 210.0, 21.0}}), 2);
    EXPECT_EQ(classOf(1000.0, {{902, 950.0, 95.0}, {907, 50.0, 5.0}}), 11);
    EXPECT_EQ(classOf(1000.0, {{906, 500.0, 50.0}, {909, 500.0, 50.0}}), 14);
    EXPECT_EQ(classOf(1000.0, {{17, 500.0, 50.0}, {910, 500.0, 50.0}}), 18);
    EXPECT_EQ(classOf(1000.0, {{0, 1000.0, 100.0}}), 10);
    // Methane and ammonia match patterns 5 and 15 alike: the later one wins. With hydrogen, 5.
    EXPECT_EQ(classOf(1000.0, {{904, 500.0, 50.0}, {900, 500.0, 50.0}}), 16);
    EXPECT_EQ(classOf(1000.0, {{904, 400.0, 40.0}, {900, 400.0, 40.0}, {1, 200.0, 20.0}}), 6);
    // Nitrogen alone matches 3, 8, 11, 14 and 18: the last of them.
    EXPECT_EQ(classOf(1000.0, {{7, 1000.0, 100.0}}), 19);
    // No match at all: pattern 20 wins the tie at zero.
    EXPECT_EQ(classOf(1000.0, {{2, 1000.0, 100.0}}), 21);
    EXPECT_EQ(classOf(1000.0, {}), 21);
    // A share of exactly 1 percent does not count.
    EXPECT_EQ(classOf(1000.0, {{7, 990.0, 99.0}, {8, 10.0, 1.0}}), 19);
    EXPECT_EQ(classOf(1000.0, {{7, 990.0, 99.0}, {8, 10.0, 1.0000001}}), 2);
}

// ---------------------------------------------------------------------------------------------
// Texture levels, styles and cloud classes

StarvaneConfig textureConfig() {
    StarvaneConfig config;
    config.largelevel = 7;
    config.smalllevel = 3;
    config.largeradius = 6000.0;
    config.smallradius = 500.0;
    config.lowerbound = 5;
    config.upperbound = 4;
    return config;
}

TEST(TextureExport, LevelsFromTheRadiusAndTheBounds) {
    // 3 + (r - 500) x 3 / 5500 + 0.5, truncated, within 3..7; terrestrial and oceanic worlds at
    // least the lower bound, giants at most the upper bound.
    const struct {
        PlanetType type;
        double radius;
        int level;
    } rows[] = {{rock, 6000.0, 7},       {rock, 50000.0, 7},        {rock, 500.0, 3},       {rock, 100.0, 3},
                {rock, 500.001, 3},      {rock, 1416.6, 3},         {rock, 1416.7, 4},      {rock, 3250.0, 5},
                {rock, 5999.0, 6},       {martian, 2000.0, 4},      {terrestrial, 500.0, 5}, {oceanic, 2000.0, 5},
                {terrestrial, 6000.0, 7}, {sudarskyi, 70000.0, 4}, {icegiant, 25000.0, 4}, {gasdwarf, 500.0, 3},
                {ice, 70000.0, 7}};
    for (const auto& row : rows)
        EXPECT_EQ(textureLevel(body("x", row.type, 0.0, 0.0, row.radius), textureConfig()), row.level)
            << row.type << " " << row.radius;
}

TEST(TextureExport, CloudClassesByPressureAndTheStyleSwitch) {
    struct Case {
        double pressure;
        int plain;
        int switched;
    };
    for (const Case c : {Case{0.0, 6, 5}, {0.0999, 6, 5}, {0.1, 5, 5}, {149.9, 5, 5}, {150.0, 4, 4}, {599.9, 4, 4},
                         {600.0, 3, 3}, {1999.9, 3, 3}, {2000.0, 2, 2}, {9999.9, 2, 2}, {10000.0, 5, 5},
                         {kInf, 5, 5}}) {
        EXPECT_EQ(cloudClass(c.pressure, 0), c.plain) << c.pressure;
        EXPECT_EQ(cloudClass(c.pressure, 1), c.switched) << c.pressure;
    }
}

TEST(TextureExport, SurfaceStylesByType) {
    struct Case {
        PlanetType type;
        int style, cloud, bound;
    };
    for (const Case c : {Case{rock, 2, 1, 0}, {venusian, 4, -1, 0}, {terrestrial, 10, 1, 1}, {martian, 13, 1, 0},
                         {oceanic, 12, 1, 1}, {ice, 1, 1, 0}, {icegiant, 3, 0, -1}, {gasdwarf, 3, 0, -1},
                         {sudarskyi, 3, 0, -1}, {sudarskyiii, 3, 0, -1}, {sudarskyv, 3, 0, -1}, {unknown, 0, -1, 0},
                         {jovian, 0, -1, 0}}) {
        const SurfaceStyle s = surfaceStyle(body("x", c.type));
        EXPECT_EQ(s.style, c.style) << c.type;
        EXPECT_EQ(s.cloudtexture, c.cloud) << c.type;
        EXPECT_EQ(s.bound, c.bound) << c.type;
    }
    struct OneFace {
        double ice, hydro;
        int style;
    };
    for (const OneFace c : {OneFace{0.5, 0.2, 1}, {0.2, 0.1, 1}, {0.1, 0.05, 2}, {0.05, 0.05, 2}, {0.0, 0.9, 12},
                            {0.0, 0.8, 10}, {0.5, 0.5, 10}, {0.0, 0.1, 2}, {0.0, 0.11, 10}}) {
        PlanetRecord b = body("x", oneface);
        b.icefraction = c.ice;
        b.hydrofraction = c.hydro;
        EXPECT_EQ(surfaceStyle(b).style, c.style) << c.ice << " " << c.hydro;
        EXPECT_EQ(surfaceStyle(b).cloudtexture, 1);
    }
}

TEST(TextureExport, ProgressLine) {
    EXPECT_EQ(progressText(3, 17, 6, 0.429), "3/17: Lvl6 42%");
    EXPECT_EQ(progressText(17, 17, 2, 1.0), "17/17: Lvl2 100%");
}

TEST(TextureExport, WithoutAPluginNothingIsMade) {
    TexturePlugin plugin;
    RecordingMessages messages;
    EXPECT_TRUE(plugin.load("/nonexistent/starvane/texgen.so", messages));
    EXPECT_FALSE(plugin.loaded());
    EXPECT_TRUE(messages.shown.empty());

    TemporaryFolder root;
    fs::create_directories(root.path() / "Starvane");
    fs::create_directories(root.path() / "Config" / "StarvaneSystems" / "Tiny");
    GeneratedSystem system = tinySystem();
    for (PlanetSlot& planet : system.planets)
        for (PlanetRecord& b : planet.bodies) b.cloudtexture = 7;
    std::vector<PlanetRecord> swarm(3, body("Tinystar c#1", asteroids));
    int progressCalls = 0;
    exportTextures(root.path(), system, std::move(swarm), textureConfig(), true, plugin,
                   [&](int, int, int, double) { ++progressCalls; });
    EXPECT_EQ(progressCalls, 0);
    for (const PlanetSlot& planet : system.planets)
        for (const PlanetRecord& b : planet.bodies) EXPECT_EQ(b.cloudtexture, 7) << b.name;
    EXPECT_EQ(treeOf(root.path()),
              (std::set<std::string>{"Starvane", "Config", "Config/StarvaneSystems", "Config/StarvaneSystems/Tiny"}));
}

TEST(TextureExport, ALibraryWithoutTheEntryPointsIsReportedAndLeftUnused) {
    // The C maths library is on every system and has none of the five entry points.
    TexturePlugin plugin;
    RecordingMessages messages;
    EXPECT_FALSE(plugin.load("libm.so.6", messages));
    EXPECT_FALSE(plugin.loaded());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "Error!|Interface error. Check installation for version mix-up.");
}

// ---------------------------------------------------------------------------------------------
// The whole save

TEST(SystemSave, AStarReadFromACustomFileIsNotExportedToCache) {
    TemporaryFolder root;
    fs::create_directories(root.path() / "Starvane" / "SavedSystems");
    fs::create_directories(root.path() / "Config");
    StarRecord star;
    star.path = "Custom Systems/Tiny.svs";
    star.system = std::make_unique<GeneratedSystem>(tinySystem());
    star.physical = std::make_unique<StellarData>(tinyStar());
    StarvaneConfig config = textureConfig();
    config.cachecapacity = 10;
    config.maxasteroids = 2;
    config.minasteroids = 2;
    LcgRandom generator;
    const auto before = treeOf(root.path());
    EXPECT_EQ(saveToCache(root.path(), star, config, nullptr, {}, generator).outcome, SaveOutcome::readFromFile);
    EXPECT_EQ(treeOf(root.path()), before);
    EXPECT_TRUE(readCacheList(root.path()).empty());

    // The same star goes to folder, and then, without its path, to cache once.
    EXPECT_EQ(saveToFolder(root.path(), star, config, nullptr, {}, generator).outcome, SaveOutcome::saved);
    EXPECT_TRUE(fs::exists(root.path() / "Starvane" / "SavedSystems" / "Tiny" / "TinySystem.cfg"));
    star.path.clear();
    // A cache list that cannot be written: the system is not exported unlisted.
    fs::create_directory(root.path() / "Starvane" / "Cache.txt");
    const auto unlisted = treeOf(root.path());
    EXPECT_EQ(saveToCache(root.path(), star, config, nullptr, {}, generator).outcome, SaveOutcome::notRegistered);
    EXPECT_EQ(treeOf(root.path()), unlisted);
    fs::remove(root.path() / "Starvane" / "Cache.txt");
    EXPECT_EQ(saveToCache(root.path(), star, config, nullptr, {}, generator).outcome, SaveOutcome::saved);
    EXPECT_TRUE(fs::exists(root.path() / "Config" / "StarvaneSystems" / "Tiny" / "TinySystem.cfg"));
    const auto cached = treeOf(root.path());
    EXPECT_EQ(saveToCache(root.path(), star, config, nullptr, {}, generator).outcome, SaveOutcome::alreadyCached);
    EXPECT_EQ(treeOf(root.path()), cached);
    EXPECT_EQ(readCacheList(root.path()), std::vector<std::string>{"Tiny"});
}

}  // namespace
