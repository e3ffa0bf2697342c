// The saved-system file (its layout is pinned by the golden saves): the round trip and the lines
// left out, what the reader works out, hand-written and broken files, and where saved files land.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <sstream>
#include <string>

#include "files/safe_name.h"
#include "files/saved_system_file.h"
#include "text/format_limits.h"

#include "tests/test_files.h"

namespace fs = std::filesystem;

namespace {

constexpr double kNoSurface = std::numeric_limits<double>::infinity();

// A body with every field the file stores set, and an atmosphere of nitrogen and oxygen.
PlanetRecord body(const char* name, PlanetType type, double sma, double mass, double radius) {
    return {.sma = sma, .ecc = 0.0167, .axtilt = 23.4, .mass = mass, .dustmass = mass - 1.0e-9, .gasmass = 1.0e-9,
            .coreradius = radius * 0.55, .radius = radius, .period = 365.26, .day = 23.93, .surfpressure = 1013.25,
            .albedo = 0.306, .medsurftemp = 288.2, .hightemp = 300.25, .lowtemp = 270.5, .maxtemp = 320.75,
            .mintemp = 250.125, .hydrofraction = 0.71, .cloudfraction = 0.52, .icefraction = 0.03, .gascount = 2,
            .inclination = 0.0872, .longascnode = 6.1, .longperihelion = 1.8, .meanlongitude = 3.25,
            .molconst = 28.97, .atmcompounds = {{7, 78.08, 780.5}, {8, 20.95, 209.7}}, .type = type, .name = name};
}

// A giant without surface: as a giant always reads, all water and clouds.
PlanetSlot giant(PlanetType type) {
    PlanetRecord b = body("Big", type, 5.2, 9.54e-4, 69911.0);
    b.gasgiant = 1;
    b.surfpressure = b.atmdensity = b.medsurftemp = kNoSurface;
    b.hydrofraction = b.cloudfraction = 1.0;
    return {{b}, 0};
}

// A sun-like star with three planets: a rocky one with a moon, a jovian and an ice giant.
StarRecord sampleStar(const std::string& name = "Sol", const std::string& systemName = "Sol") {
    StarRecord star;
    star.physical = std::make_unique<StellarData>(StellarData{.mass = 1.0, .age = 4600.0, .name = name,
        .spectralclass = "G", .subtype = 2, .lumclass = "V", .luminosity = 1.0, .radius = 1.0, .surftemp = 5778.0});
    star.ecliptic = {12.5f, 200.25f, 359.0f};
    PlanetRecord luna = body("Luna", rock, 0.00257, 3.694e-8, 1737.4);
    luna.surfpressure = 0.1;  // too thin to write
    const PlanetSlot earth{{body("Terra", terrestrial, 1.02, 3.0034e-6, 6371.0), luna}, 1};
    star.system = std::make_unique<GeneratedSystem>(
        GeneratedSystem{.name = systemName, .planets = {earth, giant(jovian), giant(icegiant)}, .planetcount = 3});
    return star;
}

// What a read gave, in short: name (alias) class surface temperature age | cube | offset |
// ready, from file and planet slots, then each body's name, type, mass, radius, gases, density.
std::string summary(const StarRecord& star) {
    const StellarData& d = *star.physical;
    std::ostringstream out;
    out << d.name << " (" << star.alias << ") " << d.spectralclass << d.subtype << d.lumclass << " " << d.surftemp
        << " " << d.age << " | " << star.cube.x << "," << star.cube.y << "," << star.cube.z << " | " << star.offset[0]
        << "," << star.offset[1] << "," << star.offset[2] << " | " << int(star.systemready) << int(star.systemfromfile);
    if (!star.system) return out.str();
    out << " " << star.system->planets.size();
    for (const PlanetSlot& slot : star.system->planets)
        for (const PlanetRecord& b : slot.bodies)
            out << " | " << b.name << " " << planetTypeWord(b.type) << " " << b.mass << " " << b.radius << " "
                << b.atmcompounds.size() << " " << (std::isfinite(b.density) ? b.density : 0.0);
    return out.str();
}

TEST(SavedSystemFile, EveryStoredFieldComesBack) {
    // What is read back writes the same text again, so every stored field came back in the
    // record's units; except that a jovian planet is no gas giant once read, so its
    // temperatures (0) are written.
    GalaxyCatalogue catalogue;
    const std::string text = systemFileText(sampleStar());
    // Only Terra has an atmosphere thick enough to write, and only a surface has temperatures.
    const auto count = [&text](const char* key) {
        std::size_t n = 0;
        for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) ++n;
        return n;
    };
    EXPECT_TRUE(count("\natmcompounds 2 ") == 1 && count("\nsurfpressure") == 1 && count("\ntemprange") == 2) << text;
    StarRecord star;
    readSystemText(catalogue, text, star);
    std::string expected = text;
    expected.insert(expected.find("radius", expected.find("planetnumber 2 0")), "medsurftemp 0\ntemprange 0 0 0 0\n");
    EXPECT_EQ(systemFileText(star), expected);
    // Not in the file: the main-sequence values are the present ones; the system takes the star's name.
    EXPECT_TRUE(star.physical->initialmass == 1.0 && star.physical->initialluminosity == 1.0);
    EXPECT_EQ(star.system->name, "Sol");
    // Derived quantities are worked out again (known answers for Terra and Luna).
    const PlanetSlot& earth = star.system->planets.at(0);
    const struct {
        double PlanetRecord::*field;
        double terra, luna;
    } derived[] = {{&PlanetRecord::density, 5.514662, 3.344461}, {&PlanetRecord::escvelocity, 1118570, 237552.1},
                   {&PlanetRecord::surfaccel, 981.9483, 162.4008}, {&PlanetRecord::surfgrav, 1.001273, 0.1655968},
                   {&PlanetRecord::minmolweight, 6.105709, 133.5706}, {&PlanetRecord::atmdensity, 12.20643, 0.0}};
    for (const auto& row : derived)
        for (const auto& [actual, known] : {std::pair{earth.bodies[0].*row.field, row.terra},
                                            std::pair{earth.bodies[1].*row.field, row.luna}})
            EXPECT_NEAR(actual, known, std::abs(known) * 6e-6) << &row - derived;
    const PlanetRecord& neptune = star.system->planets.at(2).bodies.at(0);
    EXPECT_TRUE(neptune.gasgiant && neptune.surfpressure == kNoSurface && neptune.atmdensity == kNoSurface);
}

TEST(SavedSystemFile, HandWrittenFiles) {
    const std::string gen = "\nname Gen\nalias \nclass G 2 V\nmass 1\nradius 1\nsurftemp 5778\nage 4600\n";
    const std::string longName(200, 'n'), cut(80, 'n');
    const struct {
        std::string text, summary;
    } rows[] = {
        // Line ends of either kind, whole-number temperature and coordinates, the offset as x,
        // up, y; unknown type words leave the type; the last moon is finished too.
        {"name Vega\r\nclass A 0 V\r\nsurftemp 5778.6\r\ncoords 1 -2 3 4.7 -5 2\r\nmass 2.1\r\nplanets 1\r\n"
         "planetnumber 1 0\r\nmoons 1\r\nname First\r\ntype unknown\r\natmcompounds 0 \r\nmass 1.98892e+30\r\n"
         "radius 1e6\r\nplanetnumber 1 1\r\nname Moonlet\r\ntype Rock\r\ntype oceanik\r\nmass 1e20\r\nradius 1e5\r\n",
         "Vega () A0V 5778 0 | 1,-2,3 | 4,-5,2 | 11 1 | First rock 1 1000 0 4.7482e+08 | "
         "Moonlet rock 5.02785e-11 100 0 23.8732"},
        // Bodies outside their slots are ignored; header keys once the bodies have begun too.
        {"\nname Odd\nplanets 1\nplanetnumber 0 0\nname Zero\nplanetnumber 2 0\nmoons 3\nname Two\nplanetnumber 1 5\n"
         "name Five\nplanetnumber -1 -1\nname X\nplanetnumber 1 0\nmoons 1\nname One\nplanetnumber 1 1\n"
         "name Moon\nplanetnumber 1 2\nname Beyond\nage 99\n",
         "Odd () 0 0 0 | 0,0,0 | 0,0,0 | 11 1 | One rock 0 0 0 0 | Moon rock 0 0 0 0"},
        // No slots without a "planets" line; values are cut at 80 characters.
        {"\nname None\nplanetnumber 1 0\nmoons 2\nname Lost\n", "None () 0 0 0 | 0,0,0 | 0,0,0 | 11 0"},
        {"\nname " + longName + "\nalias " + longName + "\n", cut + " (" + cut + ") 0 0 0 | 0,0,0 | 0,0,0 | 11 0"},
        {gen + "path xxxxxx\ngensystem 0\nplanets 2\nplanetnumber 1 0\nmoons 0\n",
         "Gen () G2V 5778 4600 | 0,0,0 | 0,0,0 | 00"},
    };
    for (const auto& row : rows) {
        GalaxyCatalogue catalogue;
        StarRecord star;
        readSystemText(catalogue, row.text, star);
        EXPECT_EQ(summary(star), row.summary);
        EXPECT_EQ(catalogue.noaliascount, star.alias.empty() ? 1 : 0);
    }
    // A whole seed generates the system the generator makes with it.
    GalaxyCatalogue catalogue;
    StarRecord generated;
    readSystemText(catalogue, gen + "luminosity 1\ngensystem 12345.9\n", generated);
    ASSERT_TRUE(generated.system && generated.systemready);
    GeneratedSystem direct;
    direct.generateFor(12345.0, *generated.physical);
    ASSERT_EQ(generated.system->planetcount, direct.planetcount);
    for (std::size_t p = 0; p < direct.planets.size(); ++p)
        EXPECT_EQ(generated.system->planets[p].bodies[0].sma, direct.planets[p].bodies[0].sma);
}

struct LastMessage : MessageSink {
    void showMessage(const std::string&, const std::string& message) override { text = message; }
    std::string text;
};

TEST(SavedSystemFile, BrokenFilesAreCutOrRefusedWithAMessage) {
    TemporaryFolder folder;
    std::string crowded = "planets 20\n";
    for (int p = 1; p <= 11; ++p) crowded += "planetnumber " + std::to_string(p) + " 0\nmoons 1000\n";
    fs::create_directories(folder.path() / "folder.svs");
    const std::pair<const char*, std::uintmax_t> sizes[] = {{"largest.svs", kMostSystemFileBytes},
                                                            {"big.svs", kMostSystemFileBytes + 1}};
    for (const auto& [name, size] : sizes) {
        writeAll(folder.path() / name, "");
        fs::resize_file(folder.path() / name, size);
    }
    // Counts beyond what a system holds keep the first ones and name the first line cut; the
    // crowded file gives 11 planets 1001 bodies each: the tenth keeps 991, the eleventh none.
    const struct {
        const char* file;
        std::string text;
        bool read;
        const char* kept;  // planet slots, bodies, gases
        std::string problem;
    } rows[] = {
        {"huge.svs", "\nplanets 2000000000\nplanetnumber 1 0\nmoons 2000000000\natmcompounds 2000000000\n", true,
         "1000 1001 20", "line 2: 2000000000 planets in a system, more than the 1000 allowed; the first 1000 are kept "
                         "(and 2 more counts cut)"},
        {"gases.svs", "\nplanets 1\nplanetnumber 1 0\nmoons 0\natmcompounds 10000 7 80 0.8\n", true, "1 1 20",
         "line 5: 10000 gases in an atmosphere, more than the 20 allowed; the first 20 are kept"},
        {"crowded.svs", "\n" + crowded, true, "20 10000 0",
         "line 22: planet 10 and its moons would make more than the 10000 planets and moons a system may hold; "
         "it keeps 991 (and 1 more counts cut)"},
        {"largest.svs", "", true, "0 0 0", ""},
        {"missing.svs", "", false, "0 0 0", "cannot be read"},
        {"folder.svs", "", false, "0 0 0", "is not a regular file"},
        {"big.svs", "", false, "0 0 0", "is bigger than 16777216 bytes"},
    };
    for (const auto& row : rows) {
        const fs::path path = folder.path() / row.file;
        if (!row.text.empty()) writeAll(path, row.text);
        GalaxyCatalogue catalogue;
        StarRecord star;
        LastMessage message;
        EXPECT_EQ(loadSystemFile(catalogue, path, star, &message), row.read) << row.file;
        ASSERT_TRUE(star.physical && star.system);
        std::size_t bodies = 0, gases = 0;
        for (const PlanetSlot& slot : star.system->planets) {
            bodies += slot.bodies.size();
            for (const PlanetRecord& b : slot.bodies) gases += b.atmcompounds.size();
        }
        EXPECT_EQ(std::to_string(star.system->planets.size()) + " " + std::to_string(bodies) + " " +
                      std::to_string(gases), row.kept) << row.file;
        EXPECT_EQ(message.text, row.problem.empty() ? "" : path.string() + ", " + row.problem);
    }
}

TEST(SavedSystemFile, SavesStayInTheirFoldersWhateverTheNames) {
    TemporaryFolder root;  // without Starvane/SavedSystems, which the save makes
    EXPECT_FALSE(saveSystemFile(root.path(), sampleStar(), true));  // the cache's folder must exist
    fs::create_directories(root.path() / "Config" / "EPP");
    const fs::path saved = fs::weakly_canonical(root.path() / "Starvane" / "SavedSystems");
    const std::pair<const char*, const char*> names[] = {{"Sol", "Sol system"}, {"../../escape", "../../../x"},
        {"a/b", "c\\d"}, {"..", "."}, {"", ""}, {"/abs", "/etc/passwd"}, {"line\nbreak", "tab\there"}};
    for (const auto& [starName, systemName] : names) {
        const StarRecord star = sampleStar(starName, systemName);
        for (const bool toCache : {false, true}) {
            ASSERT_TRUE(saveSystemFile(root.path(), star, toCache)) << starName;
            ASSERT_TRUE(saveSystemFile(root.path(), star, toCache)) << starName;  // overwritten, not appended
            const fs::path target = fs::weakly_canonical(savedSystemPath(root.path(), star, toCache));
            EXPECT_EQ(readAll(target), systemFileText(star));
            EXPECT_EQ(toCache ? target.parent_path() : target.parent_path().parent_path(),
                      toCache ? fs::weakly_canonical(root.path() / "Config" / "EPP") : saved) << systemName;
        }
    }
    // One line, and cut to fit a file name without splitting a character.
    std::string euros;
    for (int i = 0; i < 80; ++i) euros += "\xE2\x82\xAC";
    EXPECT_EQ(safeFileName("a" + euros), "a" + euros.substr(0, 39 * 3));
    EXPECT_NE(systemFileText(sampleStar("line\nbreak", "x")).find("\nname line break\n"), std::string::npos);
}

}  // namespace
