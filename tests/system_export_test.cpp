// The export to the simulator's configuration files: whole files of a small hand-made system,
// the switch of the number notation, the asteroid swarms of belts, the habitability rating and
// atmosphere class, and the texture levels, styles and cloud classes the texture export uses.
// Expected numbers are printed with printf, not with the writer's own formatting.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "export/asteroids.h"
#include "export/habitability.h"
#include "export/system_export.h"
#include "export/system_save.h"
#include "export/texture_export.h"
#include "export/texture_plugin.h"
#include "files/cache_list.h"
#include "text/name_limit.h"
#include "galaxy/star_record.h"
#include "generation/lcg_random.h"

#include "tests/test_files.h"

namespace {

using TemporaryRoot = TemporaryFolder;

namespace fs = std::filesystem;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kAu = 149597870691.0;
constexpr double kSolarKg = 1.9889194444e30;

std::set<std::string> filesIn(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) names.insert(entry.path().filename().string());
    return names;
}

// Every path below `folder`, relative to it.
std::set<std::string> treeOf(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error))
        names.insert(fs::relative(entry.path(), folder).generic_string());
    return names;
}

std::string fixed6(double value) {
    char text[512];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}


// Our own copy of the generator's formula.
struct ReferenceRandom {
    std::uint32_t state;
    int next() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFFu);
    }
    double unit() { return next() / 32767.0; }
};

struct ReferenceAsteroid {
    std::string name;
    double sma, mass, density, radius, axtilt, day;
};

// One asteroid of a belt as the export draws it: axis, mass, composition, density, tilt, day.
ReferenceAsteroid referenceAsteroid(ReferenceRandom& random, const PlanetRecord& belt, const std::string& name) {
    ReferenceAsteroid a;
    a.name = name;
    a.sma = belt.sma + 0.1 * random.unit();
    a.mass = belt.mass * (random.unit() * 0.0001 + 0.000001);
    const double c = random.unit();
    const double r = random.unit();
    if (c < 0.75) a.density = (2.2 + 0.4 * r) * 1000.0;
    else if (c < 0.92) a.density = (3.2 + 1.17 * r) * 1000.0;
    else a.density = (7.3 + 0.4 * r) * 1000.0;
    a.radius = 0.001 * std::cbrt(a.mass * 1.989e30 / a.density * 0.3183098861827565);
    a.axtilt = 1.57 * random.unit();
    a.day = 100.0 + 700.0 * random.unit();
    return a;
}

PlanetRecord body(const std::string& name, PlanetType type) {
    PlanetRecord b;
    b.name = name;
    b.type = type;
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
    GeneratedSystem system;
    system.name = "Tiny";

    PlanetRecord a = body("a", rock);
    a.sma = 0.5;
    a.ecc = 0.1;
    a.inclination = 0.01;
    a.longascnode = 0.2;
    a.longperihelion = 0.3;
    a.meanlongitude = 0.4;
    a.radius = 2000.0;
    a.mass = 1e-7;
    a.day = 24.0;
    a.axtilt = 10.0;
    a.medsurftemp = 400.0;
    a.surfgrav = 0.3;

    PlanetRecord b = body("b", terrestrial);
    b.sma = 1.0;
    b.ecc = 0.02;
    b.longperihelion = 1.5;
    b.meanlongitude = 3.0;
    b.radius = 6371.0;
    b.mass = 3e-6;
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

    PlanetRecord moon = body("b I", rock);
    moon.sma = 0.0025;
    moon.ecc = 0.01;
    moon.radius = 1700.0;
    moon.mass = 3.7e-8;
    moon.day = 0.0;  // no rotation period: the line is left out
    moon.axtilt = 6.68;
    moon.surfpressure = 500.0;  // pressure but no gases: no atmosphere block
    moon.medsurftemp = 250.0;
    moon.surfgrav = 0.17;

    PlanetRecord c = body("c", asteroids);
    c.sma = 2.5;
    c.ecc = 0.05;
    c.inclination = 0.03;
    c.longascnode = 1.1;
    c.mass = 1e-9;
    c.radius = 500.0;
    PlanetRecord beltMoon = body("c I", rock);
    beltMoon.sma = 0.001;
    beltMoon.radius = 100.0;
    beltMoon.mass = 1e-12;

    PlanetRecord d = body("d", sudarskyi);
    d.sma = 5.2;
    d.ecc = 0.048;
    d.radius = 70000.0;
    d.mass = 0.00095;
    d.day = 10.0;
    d.axtilt = 3.1;
    d.surfpressure = kInf;
    d.medsurftemp = kInf;
    d.atmdensity = kInf;
    d.surfgrav = 2.5;
    d.mintemp = 100.0;
    d.maxtemp = 120.0;
    d.atmcompounds = {{1, 900.0, 90.0}};
    d.gascount = 1;

    system.planets = {slot({a}), slot({b, moon}), slot({c, beltMoon}), slot({d})};
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

const std::string kVisualization =
    "\n"
    "\n; === Visualization Parameters === "
    "\nMaxPatchResolution = 8"
    "\nMinCloudResolution = 1"
    "\nMaxCloudResolution = 8";

std::string bodyHead(int planetIndex, const std::string& name) {
    return "\n; === Configuration file for Planet Tiny " + std::to_string(planetIndex) + "\nName = Tiny " + name +
           "\nEllipticOrbit = TRUE\nHasElements = TRUE\n\n; === Orbital Parameters === \nEpoch = 2000";
}

struct TinyExpectation {
    std::string system, star, a, b, moon, d, marker;
    std::vector<std::string> asteroidNames, asteroidFiles;
    std::uint32_t finalState = 0;
};

// The files of Tiny as the rules give them, for generator seed `seed` and two asteroids.
TinyExpectation expectTiny(std::uint32_t seed, const std::string& R, const char* markerHeader) {
    const GeneratedSystem tiny = tinySystem();
    const PlanetRecord& belt = tiny.planets[2].bodies[0];
    ReferenceRandom random{seed};
    random.next();  // the belt's count, drawn although minimum and maximum are equal
    std::vector<ReferenceAsteroid> swarm;
    for (int k = 1; k <= 2; ++k) swarm.push_back(referenceAsteroid(random, belt, "Tinystar c#" + std::to_string(k)));
    const int cloudAlt = static_cast<int>(5000.0 + 5000.0 * random.unit());  // 1013.25 mbar: the 600-2000 band

    TinyExpectation e;
    e.system = "\n; === Configuration file for the Tiny solar system ==="
               "\nName = Tiny System"
               "\n"
               "\nStar1 = " + R + "Tiny"
               "\nPlanet1 = " + R + "Tiny a"
               "\nPlanet2 = " + R + "Tiny b"
               "\nTiny b:Moon1 = " + R + "Tiny b I"
               "\nPlanet3 = " + R + "Tiny d"
               "\nPlanet4 = " + R + "Tinystar c#1"
               "\nPlanet5 = " + R + "Tinystar c#2";
    e.star = "\n; === Configuration file for star Tiny ==="
             "\nName = Tiny"
             "\nModule = Sun"
             "\nErrorLimit = 1e-6"
             "\nSamplingInterval = 1497"
             "\nMass = 1.98892e+30"
             "\nSize = 6.96e+08";
    // The first body file: orbital elements in general notation, fixed from "Size = " on.
    e.a = bodyHead(0, "a") +
          "\nSemiMajorAxis = 7.47989e+10"
          "\nEccentricity = 0.1"
          "\nInclination = 0.01"
          "\nLongAscNode = 0.2"
          "\nLongPerihelion = 0.3"
          "\nMeanLongitude = 0.4"
          "\n"
          "\n; === Physical Parameters === "
          "\nSize = 2000000.000000"
          "\nMass = " + fixed6(1e-7 * kSolarKg) +
          "\n"
          "\n; === Rotation Elements === "
          "\nSidRotPeriod = 86400.000000"
          "\nSidRotOffset = 0 "
          "\nObliquity = 0.174533"
          "\nLAN = 1" + kVisualization;
    const float toUnit = 1.0f / 255.0f;
    const double p0 = 101325.0;
    const double limit = (p0 * (std::log(p0) - std::log(0.01))) / (1.2 * 9.80665);
    e.b = bodyHead(1, "b") +
          "\nSemiMajorAxis = 149597870691.000000"
          "\nEccentricity = 0.020000"
          "\nInclination = 0.000000"
          "\nLongAscNode = 0.000000"
          "\nLongPerihelion = 1.500000"
          "\nMeanLongitude = 3.000000"
          "\n"
          "\n; === Physical Parameters === "
          "\nSize = 6371000.000000"
          "\nMass = " + fixed6(3e-6 * kSolarKg) +
          "\n"
          "\n; === Rotation Elements === "
          "\nSidRotPeriod = 86400.000000"
          "\nSidRotOffset = 0 "
          "\nObliquity = 0.409105"
          "\nLAN = 1"
          "\n"
          "\n; === Atmospheric Parameters === "
          "\nAtmPressure0 = 101325.000000"
          "\nAtmDensity0 = 1.200000"
          "\nAtmGasConstant = 287.000000"
          "\nAtmColor0 = " + fixed6(static_cast<float>(255.0f * toUnit)) + " " +
          fixed6(static_cast<float>(128.0f * toUnit)) + " 0.000000"
          "\nAtmAltLimit = " + fixed6(limit) +
          "\nAtmHorizonAlt = " + fixed6(0.8 * limit) +
          "\nAtmHazeExtent = 0.113333"
          "\nAtmHazeColor = 0.800000 " + fixed6(128.0 * (0.8 / 255.0)) + " 0.000000"
          "\n"
          "\n; === Cloud Parameters === "
          "\nCloudAlt = " + std::to_string(cloudAlt) +
          "\nCloudRotPeriod = 311040.000000"
          "\nCloudMicrotextureAlt = " + std::to_string(2 * cloudAlt) + " " + std::to_string(5 * cloudAlt) +
          kVisualization;
    // The moon: its planet's index, no rotation period, no atmosphere block without gases.
    e.moon = bodyHead(1, "b I") +
             "\nSemiMajorAxis = " + fixed6(0.0025 * kAu) +
             "\nEccentricity = 0.010000"
             "\nInclination = 0.000000"
             "\nLongAscNode = 0.000000"
             "\nLongPerihelion = 0.000000"
             "\nMeanLongitude = 0.000000"
             "\n"
             "\n; === Physical Parameters === "
             "\nSize = 1700000.000000"
             "\nMass = " + fixed6(3.7e-8 * kSolarKg) +
             "\n"
             "\n; === Rotation Elements === "
             "\nSidRotOffset = 0 "
             "\nObliquity = " + fixed6(6.68 * 0.017453292519943295) +
             "\nLAN = 1" + kVisualization;
    // The giant keeps the index that counts the belt.
    e.d = bodyHead(3, "d") +
          "\nSemiMajorAxis = " + fixed6(5.2 * kAu) +
          "\nEccentricity = 0.048000"
          "\nInclination = 0.000000"
          "\nLongAscNode = 0.000000"
          "\nLongPerihelion = 0.000000"
          "\nMeanLongitude = 0.000000"
          "\n"
          "\n; === Physical Parameters === "
          "\nSize = 70000000.000000"
          "\nMass = " + fixed6(0.00095 * kSolarKg) +
          "\n"
          "\n; === Rotation Elements === "
          "\nSidRotPeriod = 36000.000000"
          "\nSidRotOffset = 0 "
          "\nObliquity = " + fixed6(3.1 * 0.017453292519943295) +
          "\nLAN = 1" + kVisualization;
    e.marker = std::string(markerHeader) + "\n6371000.000000,-999,1,0\n";
    for (const ReferenceAsteroid& a : swarm) {
        const double perihelion = 6.283 * random.unit();
        const double meanLongitude = 6.283 * random.unit();
        e.asteroidNames.push_back(a.name);
        e.asteroidFiles.push_back("\n; === Configuration file for Asteroid " + a.name +
                                  "\nName = " + a.name +
                                  "\nEllipticOrbit = TRUE"
                                  "\nHasElements = TRUE"
                                  "\n"
                                  "\n; === Orbital Parameters === "
                                  "\nEpoch = 2000"
                                  "\nSemiMajorAxis = " + fixed6(a.sma * kAu) +
                                  "\nEccentricity = 0.050000"
                                  "\nInclination = 0.030000"
                                  "\nLongAscNode = 1.100000"
                                  "\nLongPerihelion = " + fixed6(perihelion) +
                                  "\nMeanLongitude = " + fixed6(meanLongitude) +
                                  "\n"
                                  "\n; === Physical Parameters === "
                                  "\nSize = " + fixed6(a.radius * 1000.0) +
                                  "\nMass = " + fixed6(a.mass * kSolarKg) +
                                  "\n"
                                  "\n; === Rotation Elements === "
                                  "\nSidRotPeriod = " + fixed6(a.day * 3600.0) +
                                  "\nSidRotOffset = 0 "
                                  "\nObliquity = " + fixed6(a.axtilt) +
                                  "\nLAN = 1");
    }
    e.finalState = random.state;
    return e;
}

void expectTinyFiles(const fs::path& folder, const TinyExpectation& e) {
    EXPECT_EQ(readAll(folder / "TinySystem.cfg"), e.system);
    EXPECT_EQ(readAll(folder / "Tiny.cfg"), e.star);
    EXPECT_EQ(readAll(folder / "Tiny a.cfg"), e.a);
    EXPECT_EQ(readAll(folder / "Tiny b.cfg"), e.b);
    EXPECT_EQ(readAll(folder / "Tiny b I.cfg"), e.moon);
    EXPECT_EQ(readAll(folder / "Tiny d.cfg"), e.d);
    for (std::size_t k = 0; k < e.asteroidNames.size(); ++k)
        EXPECT_EQ(readAll(folder / (e.asteroidNames[k] + ".cfg")), e.asteroidFiles[k]) << e.asteroidNames[k];
}

// ---------------------------------------------------------------------------------------------
// Whole files

TEST(SystemExport, TinySystemToFolderFileByFile) {
    TemporaryRoot root;
    fs::create_directories(root.path() / "Starvane");
    GeneratedSystem system = tinySystem();
    const GeneratedSystem before = tinySystem();
    LcgRandom generator(4242);
    const std::vector<PlanetRecord> swarm =
        exportSystem(root.path(), system, tinyStar(), 2, 2, false, nullptr, generator).asteroids;
    const TinyExpectation e = expectTiny(4242, "XXXXXXXXX/Tiny/", kFolderMarkerHeader);

    const fs::path folder = root.path() / "Starvane" / "SavedSystems" / "Tiny";
    expectTinyFiles(folder, e);
    EXPECT_EQ(readAll(folder / "SV_Tiny.cfg"), e.marker);
    // The belt and its moon have no files; nothing else is written.
    EXPECT_EQ(filesIn(folder), (std::set<std::string>{"TinySystem.cfg", "Tiny.cfg", "Tiny a.cfg", "Tiny b.cfg",
                                                      "Tiny b I.cfg", "Tiny d.cfg", "Tinystar c#1.cfg",
                                                      "Tinystar c#2.cfg", "SV_Tiny.cfg"}));
    EXPECT_EQ(treeOf(root.path()).size(), 3u + 9u);  // Starvane, SavedSystems, Tiny and the files

    // The generator drew exactly: count, 2 x 6 asteroid values, one cloud height, 2 x 2 angles.
    EXPECT_EQ(generator.state(), e.finalState);

    // The asteroid list is handed back; the belt and its moon count stay as they were.
    ASSERT_EQ(swarm.size(), 2u);
    EXPECT_EQ(swarm[0].name, "Tinystar c#1");
    EXPECT_EQ(swarm[1].name, "Tinystar c#2");
    EXPECT_EQ(system.asteroidtotal, 2);
    EXPECT_EQ(system.planets[2].mooncount, 1);
    ASSERT_EQ(system.planets[2].bodies.size(), 2u);
    EXPECT_EQ(system.planets[2].bodies[0].sma, before.planets[2].bodies[0].sma);
    EXPECT_EQ(system.planets[2].bodies[0].type, asteroids);
    // Without a plug-in no colour is asked: the stored colour is what the file carries.
    EXPECT_EQ(system.planets[1].bodies[0].colour, before.planets[1].bodies[0].colour);
}

TEST(SystemExport, TinySystemToCacheFindsConfigWhateverItsCase) {
    TemporaryRoot root;
    fs::create_directories(root.path() / "Starvane");
    fs::create_directories(root.path() / "config" / "ummupermanentbase");
    GeneratedSystem system = tinySystem();
    LcgRandom generator(77);
    EXPECT_FALSE(exportSystem(root.path(), system, tinyStar(), 2, 2, true, nullptr, generator).failure);
    const TinyExpectation e = expectTiny(77, "StarvaneSystems/Tiny/", kCacheMarkerHeader);

    const fs::path folder = root.path() / "config" / "StarvaneSystems" / "Tiny";
    ASSERT_TRUE(fs::is_directory(folder));
    expectTinyFiles(folder, e);
    EXPECT_EQ(readAll(root.path() / "config" / "ummupermanentbase" / "SV_Tiny.cfg"), e.marker);
    EXPECT_FALSE(fs::exists(root.path() / "Config"));
    EXPECT_FALSE(fs::exists(folder / "SV_Tiny.cfg"));
    EXPECT_EQ(filesIn(folder).size(), 8u);
}

TEST(SystemExport, CacheExportWithoutConfigFolderWritesNothingAndSaysWhy) {
    TemporaryRoot root;
    fs::create_directories(root.path() / "Starvane");
    GeneratedSystem system = tinySystem();
    LcgRandom generator(5);
    const ExportedSystem exported = exportSystem(root.path(), system, tinyStar(), 2, 2, true, nullptr, generator);
    EXPECT_EQ(treeOf(root.path()), (std::set<std::string>{"Starvane"}));
    ASSERT_TRUE(exported.failure);
    EXPECT_EQ(exported.failure->path, root.path() / "Config" / "StarvaneSystems" / "Tiny");
}

TEST(SystemExport, SecondFolderExportOverwritesWithNewAsteroids) {
    TemporaryRoot root;
    fs::create_directories(root.path() / "Starvane");
    const fs::path folder = root.path() / "Starvane" / "SavedSystems" / "Tiny";
    GeneratedSystem system = tinySystem();
    LcgRandom generator(1);
    exportSystem(root.path(), system, tinyStar(), 2, 2, false, nullptr, generator);
    const std::string firstAsteroid = readAll(folder / "Tinystar c#1.cfg");
    const std::string firstA = readAll(folder / "Tiny a.cfg");
    exportSystem(root.path(), system, tinyStar(), 2, 2, false, nullptr, generator);
    EXPECT_NE(readAll(folder / "Tinystar c#1.cfg"), firstAsteroid);
    // Each export starts again in general notation.
    EXPECT_EQ(readAll(folder / "Tiny a.cfg"), firstA);
    EXPECT_EQ(filesIn(folder).size(), 9u);
}

// ---------------------------------------------------------------------------------------------
// Notation and left-out lines

std::string lineOf(const std::string& text, const std::string& key) {
    const std::size_t at = text.find("\n" + key + " = ");
    if (at == std::string::npos) return "<none>";
    const std::size_t end = text.find('\n', at + 1);
    return text.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
}

TEST(SystemExport, FixedNotationStartsAtTheFirstSizeLineEvenWhenItIsLeftOut) {
    TemporaryRoot root;
    fs::create_directories(root.path() / "Starvane");
    GeneratedSystem system = tinySystem();
    system.planets[0].bodies[0].radius = kNaN;
    LcgRandom generator(3);
    exportSystem(root.path(), system, tinyStar(), 2, 2, false, nullptr, generator);
    const fs::path folder = root.path() / "Starvane" / "SavedSystems" / "Tiny";
    const std::string a = readAll(folder / "Tiny a.cfg");
    EXPECT_EQ(lineOf(a, "Size"), "<none>");
    EXPECT_EQ(lineOf(a, "SemiMajorAxis"), "SemiMajorAxis = 7.47989e+10");
    EXPECT_EQ(lineOf(a, "Mass"), "Mass = " + fixed6(1e-7 * kSolarKg));
    EXPECT_EQ(lineOf(readAll(folder / "Tiny.cfg"), "Size"), "Size = 6.96e+08");
    EXPECT_EQ(lineOf(readAll(folder / "Tiny b.cfg"), "SemiMajorAxis"), "SemiMajorAxis = 149597870691.000000");
}

TEST(SystemExport, NumbersThatAreNotFiniteOrZeroPeriodsAreLeftOut) {
    TemporaryRoot root;
    fs::create_directories(root.path() / "Starvane");
    GeneratedSystem system = tinySystem();
    PlanetRecord& a = system.planets[0].bodies[0];
    a.ecc = kNaN;
    a.mass = kInf;
    a.axtilt = -kInf;
    PlanetRecord& b = system.planets[1].bodies[0];
    b.radius = kInf;          // habitable, but no marker line without a finite radius
    b.atmdensity = 0.0;       // altitude limit and horizon divide by zero
    b.colour[1] = std::numeric_limits<float>::quiet_NaN();
    b.mintemp = 0.0;          // cloud period 0
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
    EXPECT_EQ(lineOf(bText, "AtmPressure0"), "AtmPressure0 = 101325.000000");
    EXPECT_EQ(lineOf(bText, "AtmDensity0"), "AtmDensity0 = 0.000000");
    EXPECT_EQ(lineOf(bText, "AtmHazeExtent"), "AtmHazeExtent = 0.100000");
    EXPECT_NE(lineOf(bText, "CloudAlt"), "<none>");
    EXPECT_EQ(readAll(folder / "SV_Tiny.cfg"), std::string(kFolderMarkerHeader) + "\n");

    EXPECT_EQ(lineOf(readAll(folder / "Tiny d.cfg"), "SidRotPeriod"), "<none>");
    for (const auto& name : filesIn(folder)) {
        const std::string text = readAll(folder / name);
        EXPECT_EQ(text.find("inf"), std::string::npos) << name;
        EXPECT_EQ(text.find("nan"), std::string::npos) << name;
    }
}

class RecordingMessages : public MessageSink {
public:
    void showMessage(const std::string& title, const std::string& text) override {
        shown.push_back(title + "|" + text);
    }
    std::vector<std::string> shown;
};

// ---------------------------------------------------------------------------------------------
// Asteroids

TEST(SystemExport, AsteroidSwarmsFollowTheDrawOrderOfEveryBelt) {
    GeneratedSystem system;
    system.name = "Swarm";
    PlanetRecord inner = body("x", asteroids);
    inner.sma = 2.1;
    inner.mass = 3e-10;
    inner.ecc = 0.07;
    inner.inclination = 0.2;
    inner.longascnode = 2.0;
    PlanetRecord outer = body("y", asteroids);
    outer.sma = 40.0;
    outer.mass = 1e-8;
    outer.ecc = 0.15;
    PlanetRecord rockPlanet = body("r", rock);
    system.planets = {slot({rockPlanet}), slot({inner, body("x I", rock)}), slot({outer})};

    std::set<int> classes;
    for (const auto& [minimum, maximum] : std::vector<std::pair<int, int>>{{0, 4}, {3, 3}, {1, 6}, {0, 0}}) {
        for (std::uint32_t seed = 1; seed <= 150; ++seed) {
            LcgRandom generator(seed);
            const std::vector<PlanetRecord> swarm = generateAsteroids(system, "Sun", maximum, minimum, generator);
            ReferenceRandom random{seed};
            std::vector<ReferenceAsteroid> expected;
            int k = 0;
            for (const PlanetRecord* belt : {&inner, &outer}) {
                const int count = minimum + random.next() % (maximum - minimum + 1);
                for (int i = 0; i < count; ++i)
                    expected.push_back(
                        referenceAsteroid(random, *belt, "Sun " + belt->name + "#" + std::to_string(++k)));
            }
            ASSERT_EQ(swarm.size(), expected.size()) << seed;
            EXPECT_EQ(generator.state(), random.state) << seed;
            for (std::size_t i = 0; i < swarm.size(); ++i) {
                const PlanetRecord& s = swarm[i];
                const ReferenceAsteroid& x = expected[i];
                const PlanetRecord& belt = x.name.find(" x#") != std::string::npos ? inner : outer;
                EXPECT_EQ(s.name, x.name);
                EXPECT_EQ(s.sma, x.sma);
                EXPECT_EQ(s.mass, x.mass);
                EXPECT_EQ(s.density, x.density);
                EXPECT_EQ(s.radius, x.radius);
                EXPECT_EQ(s.axtilt, x.axtilt);
                EXPECT_EQ(s.day, x.day);
                EXPECT_EQ(s.ecc, belt.ecc);
                EXPECT_EQ(s.inclination, belt.inclination);
                EXPECT_EQ(s.longascnode, belt.longascnode);
                EXPECT_EQ(s.surfpressure, 0.0);
                EXPECT_EQ(s.type, asteroids);
                classes.insert(x.density < 3000.0 ? 0 : x.density < 7000.0 ? 1 : 2);
            }
        }
    }
    EXPECT_EQ(classes.size(), 3u) << "the seeds should reach every composition class";
}

TEST(SystemExport, TwoBeltsOfThreeAndTwoAsteroidsAreNumberedAfterThePlanets) {
    GeneratedSystem system;
    system.name = "Belts";
    PlanetRecord first = body("B", asteroids);
    first.sma = 2.0;
    first.mass = 1e-9;
    PlanetRecord second = body("E", asteroids);
    second.sma = 30.0;
    second.mass = 1e-9;
    PlanetRecord p1 = body("A", rock);
    p1.sma = 1.0;
    p1.radius = 3000.0;
    p1.mass = 1e-7;
    PlanetRecord moon = body("A I", rock);
    moon.sma = 0.002;
    moon.radius = 500.0;
    moon.mass = 1e-9;
    PlanetRecord p2 = body("C", rock);
    p2 = p1;
    p2.name = "C";
    p2.sma = 3.0;
    system.planets = {slot({p1, moon}), slot({first}), slot({p2}), slot({second, body("E I", rock)})};

    // A seed whose count draws give 3 for the first belt and 2 for the second (minimum 2, maximum 3).
    std::uint32_t seed = 0;
    for (std::uint32_t candidate = 1; candidate < 1000 && seed == 0; ++candidate) {
        ReferenceRandom random{candidate};
        const int firstCount = 2 + random.next() % 2;
        for (int i = 0; i < firstCount * 6; ++i) random.next();
        if (firstCount == 3 && 2 + random.next() % 2 == 2) seed = candidate;
    }
    ASSERT_NE(seed, 0u);

    TemporaryRoot root;
    fs::create_directories(root.path() / "Starvane");
    LcgRandom generator(seed);
    StellarData star = tinyStar();
    star.name = "Sol/B";  // made safe for the file names
    const auto swarm = exportSystem(root.path(), system, star, 3, 2, false, nullptr, generator).asteroids;
    ASSERT_EQ(swarm.size(), 5u);
    const fs::path folder = root.path() / "Starvane" / "SavedSystems" / "Belts";
    const std::string R = "XXXXXXXXX/Belts/";
    EXPECT_EQ(readAll(folder / "BeltsSystem.cfg"),
              "\n; === Configuration file for the Belts solar system ==="
              "\nName = Belts System"
              "\n"
              "\nStar1 = " + R + "Belts"
              "\nPlanet1 = " + R + "Belts A"
              "\nBelts A:Moon1 = " + R + "Belts A I"
              "\nPlanet2 = " + R + "Belts C"
              "\nPlanet3 = " + R + "Sol_B B#1"
              "\nPlanet4 = " + R + "Sol_B B#2"
              "\nPlanet5 = " + R + "Sol_B B#3"
              "\nPlanet6 = " + R + "Sol_B E#4"
              "\nPlanet7 = " + R + "Sol_B E#5");
    for (const char* name : {"Sol_B B#1", "Sol_B B#2", "Sol_B B#3", "Sol_B E#4", "Sol_B E#5"})
        EXPECT_TRUE(fs::exists(folder / (std::string(name) + ".cfg"))) << name;
    // The index in the comment counts the belt; the belts' moons get no file.
    EXPECT_EQ(lineOf("\n" + readAll(folder / "Belts C.cfg"), "Name"), "Name = Belts C");
    EXPECT_NE(readAll(folder / "Belts C.cfg").find("; === Configuration file for Planet Belts 2\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "Belts E I.cfg"));
    EXPECT_FALSE(fs::exists(folder / "Belts B.cfg"));
    EXPECT_EQ(filesIn(folder).size(), 2u + 3u + 5u + 1u);

    // Names too long for a file name are cut; every body and asteroid keeps its own file.
    system.name = std::string(250, 'N');
    system.planets[0].bodies[0].name = std::string(250, 'A');
    star.name = std::string(250, 'S');
    EXPECT_EQ(exportSystem(root.path(), system, star, 3, 3, false, nullptr, generator).asteroids.size(), 6u);
    const fs::path longFolder = root.path() / "Starvane" / "SavedSystems" / std::string(kLongestNameBytes, 'N');
    EXPECT_EQ(filesIn(longFolder).size(), 2u + 3u + 6u + 1u);
}

TEST(SystemExport, NoBeltsOrNoAsteroidsGiveAnEmptyList) {
    GeneratedSystem system = tinySystem();
    system.planets.erase(system.planets.begin() + 2);
    LcgRandom generator(9);
    EXPECT_TRUE(generateAsteroids(system, "Tinystar", 20, 5, generator).empty());
    EXPECT_EQ(generator.state(), 9u);

    GeneratedSystem withBelt = tinySystem();
    TemporaryRoot root;
    fs::create_directories(root.path() / "Starvane");
    const auto swarm = exportSystem(root.path(), withBelt, tinyStar(), 0, 0, false, nullptr, generator).asteroids;
    EXPECT_TRUE(swarm.empty());
    EXPECT_EQ(withBelt.asteroidtotal, 0);
    const std::string text = readAll(root.path() / "Starvane" / "SavedSystems" / "Tiny" / "TinySystem.cfg");
    EXPECT_EQ(text.find("Planet4"), std::string::npos);
    EXPECT_EQ(text.substr(text.rfind('\n')), "\nPlanet3 = XXXXXXXXX/Tiny/Tiny d");
}

// Configured counts beyond what a belt may have are cut, with a message naming the file and the
// line; however many belts, a system gets no more asteroids than its limit.
TEST(SystemExport, AsteroidCountsAreBounded) {
    TemporaryRoot root;
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

PlanetRecord comfortable() {
    PlanetRecord b = body("h", terrestrial);
    b.medsurftemp = 288.0;
    b.surfpressure = 1000.0;
    b.surfgrav = 1.0;
    b.atmcompounds = {{7, 780.0, 78.0}, {8, 210.0, 21.0}};
    b.gascount = 2;
    return b;
}

TEST(Habitability, TemperaturePressureAndGravityClassBoundaries) {
    struct Case {
        double value;
        int expected;
    };
    for (const Case c : {Case{252.999, 0}, {253.0, 1}, {323.0, 1}, {323.001, 2}}) {
        PlanetRecord b = comfortable();
        b.medsurftemp = c.value;
        EXPECT_EQ(rateHabitability(b).temperature, c.expected) << c.value;
    }
    PlanetRecord giant = comfortable();
    giant.surfpressure = kInf;
    giant.medsurftemp = kInf;
    EXPECT_EQ(rateHabitability(giant).temperature, 3);
    EXPECT_EQ(rateHabitability(giant).verdict, HabitabilityVerdict::hostile);

    for (const Case c : {Case{299.99, 0}, {300.0, 1}, {6000.0, 1}, {6000.01, 2}}) {
        PlanetRecord b = comfortable();
        b.surfpressure = c.value;
        EXPECT_EQ(rateHabitability(b).pressure, c.expected) << c.value;
    }
    for (const Case c : {Case{0.5999, 0}, {0.6, 1}, {1.5, 1}, {1.5001, 2}}) {
        PlanetRecord b = comfortable();
        b.surfgrav = c.value;
        EXPECT_EQ(rateHabitability(b).gravity, c.expected) << c.value;
    }
}

TEST(Habitability, BreathingClasses) {
    auto breathing = [](double pressure, std::vector<AtmosphereGas> gases) {
        PlanetRecord b = comfortable();
        b.surfpressure = pressure;
        b.atmcompounds = std::move(gases);
        b.gascount = static_cast<std::int32_t>(b.atmcompounds.size());
        return rateHabitability(b).breathing;
    };
    // No air.
    EXPECT_EQ(breathing(0.1, {{8, 0.02, 20.0}}), 3);
    EXPECT_EQ(breathing(1000.0, {}), 3);
    // Inspired oxygen (p - 62.66151315789474) x partial / p between 95.99 and 533.29 millibars.
    const double f = (1000.0 - 62.66151315789474) / 1000.0;
    EXPECT_EQ(breathing(1000.0, {{8, 95.9922 / f, 10.0}}), 1);
    EXPECT_EQ(breathing(1000.0, {{8, 95.992 / f, 10.0}}), 0);
    EXPECT_EQ(breathing(1000.0, {{8, 533.28 / f, 60.0}}), 1);
    // The formula subtracts the water vapour pressure before scaling: at 200 mbar, 70 mbar of
    // oxygen inspires only 48 mbar.
    EXPECT_EQ(breathing(200.0, {{8, 70.0, 35.0}}), 0);
    EXPECT_EQ(breathing(200.0, {{8, 150.0, 75.0}}), 1);
    // Above a gas's tolerated pressure the air is toxic at once.
    EXPECT_EQ(breathing(1000.0, {{8, 533.3 / f, 60.0}}), 2);
    EXPECT_EQ(breathing(1000.0, {{902, 9.33 / f, 1.0}, {8, 210.0, 21.0}}), 1);
    EXPECT_EQ(breathing(1000.0, {{902, 9.34 / f, 1.0}, {8, 210.0, 21.0}}), 2);
    EXPECT_EQ(breathing(1000.0, {{8, 210.0, 21.0}, {900, 0.2 / f, 0.02}}), 2);
    // Nitrogen may be breathed up to 3106 mbar; a gas missing from the table takes the first
    // row's limit, which is 0.
    EXPECT_EQ(breathing(4000.0, {{7, 3100.0, 77.0}, {8, 350.0, 9.0}}), 1);
    EXPECT_EQ(breathing(4000.0, {{7, 3330.0, 83.0}, {8, 350.0, 9.0}}), 2);
    EXPECT_EQ(breathing(1000.0, {{8, 210.0, 21.0}, {17, 0.001, 0.0001}}), 2);
    // No oxygen, or the last oxygen entry bad: not breathable; the last entry decides.
    EXPECT_EQ(breathing(1000.0, {{7, 990.0, 99.0}}), 0);
    EXPECT_EQ(breathing(1000.0, {{8, 210.0, 21.0}, {8, 50.0, 5.0}}), 0);
    EXPECT_EQ(breathing(1000.0, {{8, 50.0, 5.0}, {8, 210.0, 21.0}}), 1);
}

TEST(Habitability, Verdicts) {
    auto verdict = [](double temperature, double pressure, double gravity, double oxygen) {
        PlanetRecord b = comfortable();
        b.medsurftemp = temperature;
        b.surfpressure = pressure;
        b.surfgrav = gravity;
        b.atmcompounds = {{7, pressure - oxygen, 80.0}, {8, oxygen, 20.0}};
        return rateHabitability(b).verdict;
    };
    constexpr auto kHabitable = HabitabilityVerdict::habitable;
    constexpr auto kWithEquipment = HabitabilityVerdict::habitableWithEquipment;
    constexpr auto kHostile = HabitabilityVerdict::hostile;
    EXPECT_EQ(verdict(288.0, 1000.0, 1.0, 210.0), kHabitable);
    EXPECT_EQ(verdict(288.0, 1000.0, 0.3, 210.0), kHabitable);
    EXPECT_EQ(verdict(288.0, 1000.0, 2.0, 210.0), kWithEquipment);  // breathable but heavy
    EXPECT_EQ(verdict(288.0, 1000.0, 1.0, 20.0), kWithEquipment);   // bearable but not breathable
    EXPECT_EQ(verdict(288.0, 1000.0, 0.3, 20.0), kWithEquipment);
    EXPECT_EQ(verdict(288.0, 1000.0, 2.0, 20.0), kHostile);  // neither
    EXPECT_EQ(verdict(350.0, 1000.0, 1.0, 210.0), kHostile);
    EXPECT_EQ(verdict(200.0, 1000.0, 1.0, 210.0), kHostile);
    EXPECT_EQ(verdict(288.0, 7000.0, 1.0, 1400.0), kHostile);
    EXPECT_EQ(verdict(288.0, 250.0, 1.0, 200.0), kHostile);
    PlanetRecord toxic = comfortable();
    toxic.atmcompounds.push_back({902, 50.0, 5.0});
    EXPECT_EQ(rateHabitability(toxic).breathing, 2);
    EXPECT_EQ(rateHabitability(toxic).verdict, HabitabilityVerdict::habitableWithEquipment);
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
    const StarvaneConfig config = textureConfig();
    auto level = [&](PlanetType type, double radius) {
        PlanetRecord b = body("x", type);
        b.radius = radius;
        return textureLevel(b, config);
    };
    EXPECT_EQ(level(rock, 6000.0), 7);  // the formula would give 6 here
    EXPECT_EQ(level(rock, 50000.0), 7);
    EXPECT_EQ(level(rock, 500.0), 3);
    EXPECT_EQ(level(rock, 100.0), 3);
    // 3 + (r - 500) x 3 / 5500 + 0.5, truncated.
    EXPECT_EQ(level(rock, 500.001), 3);
    EXPECT_EQ(level(rock, 1416.6), 3);
    EXPECT_EQ(level(rock, 1416.7), 4);
    EXPECT_EQ(level(rock, 3250.0), 5);
    EXPECT_EQ(level(rock, 5999.0), 6);
    EXPECT_EQ(level(martian, 2000.0), 4);
    // Terrestrial and oceanic worlds at least the lower bound; giants at most the upper bound.
    EXPECT_EQ(level(terrestrial, 500.0), 5);
    EXPECT_EQ(level(oceanic, 2000.0), 5);
    EXPECT_EQ(level(terrestrial, 6000.0), 7);
    EXPECT_EQ(level(rock, 500.0), 3);
    EXPECT_EQ(level(sudarskyi, 70000.0), 4);
    EXPECT_EQ(level(icegiant, 25000.0), 4);
    EXPECT_EQ(level(gasdwarf, 500.0), 3);
    EXPECT_EQ(level(ice, 70000.0), 7);
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

    TemporaryRoot root;
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
    TemporaryRoot root;
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
