// The saved-system file: the text the writer produces, the round trip of every stored field
// with its unit conversion, what the reader works out itself, the keys the writer never uses,
// malformed and truncated files, and where saved files land.

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <memory>
#include <string>

#include "files/safe_name.h"
#include "files/saved_system_file.h"

#include "tests/test_files.h"

namespace fs = std::filesystem;

namespace {

constexpr double kNoSurface = std::numeric_limits<double>::infinity();
const std::string kSeparator(31, '-');

PlanetRecord rockyPlanet() {
    PlanetRecord b;
    b.name = "Terra";
    b.type = terrestrial;
    b.sma = 1.02;
    b.ecc = 0.0167;
    b.axtilt = 23.4;
    b.mass = 3.0034e-6;
    b.gasmass = 1.0e-9;
    b.dustmass = b.mass - b.gasmass;
    b.surfpressure = 1013.25;
    b.atmcompounds.resize(2);
    b.atmcompounds[0].gasnumber = 7;
    b.atmcompounds[0].percentage = 780.5;
    b.atmcompounds[0].partialpressure = 78.08;
    b.atmcompounds[1].gasnumber = 8;
    b.atmcompounds[1].percentage = 209.7;
    b.atmcompounds[1].partialpressure = 20.95;
    b.gascount = 2;
    b.molconst = 28.97;
    b.medsurftemp = 288.2;
    b.lowtemp = 270.5;
    b.hightemp = 300.25;
    b.mintemp = 250.125;
    b.maxtemp = 320.75;
    b.radius = 6371.0;
    b.albedo = 0.306;
    b.period = 365.26;
    b.day = 23.93;
    b.hydrofraction = 0.71;
    b.icefraction = 0.03;
    b.cloudfraction = 0.52;
    b.coreradius = 3485.0;
    b.inclination = 0.0872;
    b.longascnode = 6.1;
    b.longperihelion = 1.8;
    b.meanlongitude = 3.25;
    return b;
}

PlanetRecord moon() {
    PlanetRecord b;
    b.name = "Luna";
    b.type = rock;
    b.sma = 0.00257;
    b.ecc = 0.055;
    b.axtilt = 6.7;
    b.mass = 3.694e-8;
    b.dustmass = b.mass;
    b.surfpressure = 0.05;  // too thin to write
    b.medsurftemp = 250.0;
    b.lowtemp = 100.0;
    b.hightemp = 390.0;
    b.mintemp = 90.0;
    b.maxtemp = 400.0;
    b.radius = 1737.4;
    b.albedo = 0.12;
    b.period = 27.32;
    b.day = 655.7;
    b.coreradius = 350.0;
    return b;
}

PlanetRecord giant(PlanetType type) {
    PlanetRecord b;
    b.name = "Big";
    b.type = type;
    b.gasgiant = 1;
    b.sma = 5.2;
    b.ecc = 0.048;
    b.axtilt = 3.1;
    b.mass = 9.54e-4;
    b.gasmass = 9.0e-4;
    b.dustmass = b.mass - b.gasmass;
    b.surfpressure = kNoSurface;
    b.atmdensity = kNoSurface;
    b.medsurftemp = kNoSurface;
    b.radius = 69911.0;
    b.albedo = 0.5;
    b.period = 4332.6;
    b.day = 9.93;
    b.hydrofraction = 1.0;
    b.cloudfraction = 1.0;
    b.coreradius = 10000.0;
    return b;
}

PlanetSlot slot(std::vector<PlanetRecord> bodies) {
    PlanetSlot s;
    s.mooncount = static_cast<std::int32_t>(bodies.size()) - 1;
    s.bodies = std::move(bodies);
    return s;
}

// A sun-like star with three planets: a rocky one with a moon, a jovian and an ice giant.
StarRecord sampleStar(const std::string& name = "Sol", const std::string& systemName = "Sol") {
    StarRecord star;
    star.physical = std::make_unique<StellarData>();
    StellarData& d = *star.physical;
    d.name = name;
    d.spectralclass = "G";
    d.subtype = 2;
    d.lumclass = "V";
    d.mass = 1.0;
    d.radius = 1.0;
    d.surftemp = 5778.0;
    d.age = 4600.0;
    d.luminosity = 1.0;
    star.ecliptic = {12.5f, 200.25f, 359.0f};
    star.system = std::make_unique<GeneratedSystem>();
    star.system->name = systemName;
    star.system->planets = {slot({rockyPlanet(), moon()}), slot({giant(jovian)}), slot({giant(icegiant)})};
    star.system->planetcount = 3;
    return star;
}

StarRecord readBack(GalaxyCatalogue& catalogue, const std::string& text) {
    StarRecord star;
    readSystemText(catalogue, text, star);
    return star;
}

// The lines of a body block (from its "planetnumber" line to the separator).
std::string blockOf(const std::string& text, int planet, int body) {
    const std::string key = "\nplanetnumber " + std::to_string(planet) + " " + std::to_string(body) + "\n";
    const std::size_t start = text.find(key);
    if (start == std::string::npos) return "";
    return text.substr(start, text.find(kSeparator, start) - start);
}

void expectClose(double actual, double expected, const char* what) {
    if (expected == 0.0)
        EXPECT_EQ(actual, 0.0) << what;
    else
        EXPECT_NEAR(actual / expected, 1.0, 6e-6) << what << ": " << actual << " vs " << expected;
}

class SavedSystemFile : public ::testing::Test {
protected:
    GalaxyCatalogue catalogue;
};

// ---------------------------------------------------------------------------------------------
// The written text

TEST_F(SavedSystemFile, HeaderAndUnits) {
    const std::string text = systemFileText(sampleStar());
    const std::string header = "\nname Sol\nalias Sol\npath xxxxxx\ncntname Sol\nclass G 2 V\nmass 1\nradius 1\n"
                               "ecliptic 12.5 200.25 359\nsurftemp 5778\nage 4600\nluminosity 1\nplanets 3\n\n" +
                               kSeparator + "\n\nplanetnumber 1 0\n";
    EXPECT_EQ(text.substr(0, header.size()), header);
    EXPECT_EQ(text.substr(text.size() - 35), "\n\n\n" + kSeparator + "\n");
    // Metres, kilograms, pascals; the gas fraction of the mass.
    const std::string terra = blockOf(text, 1, 0);
    for (const char* line : {"\nmoons 1\nname Terra\ntype terrestrial\nsma 1.5259e+11", "\nmass 5.97352e+24\n",
                             "\nsurfpressure 101325\natmcompounds 2 7 780.5 78.08 8 209.7 20.95 \nmolconst 28.97\n",
                             "\nradius 6.371e+06\n", "\ncoreradius 3.485e+06\ngasfraction 0.000332956\n"})
        EXPECT_NE(terra.find(line), std::string::npos) << line << terra;
    EXPECT_EQ(blockOf(text, 1, 1).find("moons"), std::string::npos);  // a moon block has none
}

TEST_F(SavedSystemFile, ThinAtmospheresAndGiantsLeaveOutTheirLines) {
    StarRecord star = sampleStar();
    star.system->planets[0].bodies[0].surfpressure = 0.1;  // exactly the limit: left out
    const std::string text = systemFileText(star);
    for (const auto& [planet, body] : {std::pair{1, 0}, std::pair{1, 1}, std::pair{2, 0}, std::pair{3, 0}}) {
        const std::string block = blockOf(text, planet, body);
        ASSERT_FALSE(block.empty());
        EXPECT_EQ(block.find("surfpressure"), std::string::npos) << block;
        EXPECT_EQ(block.find("atmcompounds"), std::string::npos) << block;
        EXPECT_EQ(block.find("molconst"), std::string::npos) << block;
    }
    for (int planet : {2, 3}) {
        const std::string block = blockOf(text, planet, 0);
        EXPECT_EQ(block.find("medsurftemp"), std::string::npos) << block;
        EXPECT_EQ(block.find("temprange"), std::string::npos) << block;
        EXPECT_EQ(block.find("inf"), std::string::npos) << block;
    }
    EXPECT_NE(blockOf(text, 1, 1).find("medsurftemp 250"), std::string::npos);
    // Just above the limit the atmosphere is written, with an empty gas list if it has none.
    star.system->planets[0].bodies[0].surfpressure = 0.1000001;
    star.system->planets[0].bodies[0].atmcompounds.clear();
    EXPECT_NE(blockOf(systemFileText(star), 1, 0).find("\natmcompounds 0 \n"), std::string::npos);
}

TEST_F(SavedSystemFile, MasslessBodiesWriteAGasFractionOfZero) {
    StarRecord star = sampleStar();
    star.system->planets[0].bodies[1].mass = 0.0;
    star.system->planets[0].bodies[1].gasmass = 0.0;
    const std::string block = blockOf(systemFileText(star), 1, 1);
    EXPECT_NE(block.find("\ngasfraction 0\n"), std::string::npos) << block;
}

// ---------------------------------------------------------------------------------------------
// Round trip

TEST_F(SavedSystemFile, EveryStoredFieldComesBack) {
    // The writer's units are pinned above and by the golden save; what is read back writes the
    // same text again, so every stored field came back in the record's units.
    const std::string text = systemFileText(sampleStar());
    const StarRecord star = readBack(catalogue, text);
    // Except that a jovian planet is no gas giant once read, so its temperatures (0) are written.
    std::string expected = text;
    expected.insert(expected.find("radius", expected.find("planetnumber 2 0")), "medsurftemp 0\ntemprange 0 0 0 0\n");
    EXPECT_EQ(systemFileText(star), expected);
    EXPECT_TRUE(star.systemfromfile);
    EXPECT_TRUE(star.systemready);
    // What the file does not hold: the main-sequence values are the present ones, and the
    // system is named after the star.
    EXPECT_EQ(star.physical->initialmass, 1.0);
    EXPECT_EQ(star.physical->initialluminosity, 1.0);
    EXPECT_EQ(star.system->name, "Sol");
    ASSERT_EQ(star.system->planetcount, 3);
    // Derived quantities are worked out again (known answers for Terra and Luna).
    const PlanetSlot& earth = star.system->planets[0];
    const struct {
        const char* what;
        double PlanetRecord::*field;
        double terra, luna;
    } derived[] = {{"density", &PlanetRecord::density, 5.51466198, 3.34446085},
                   {"escvelocity", &PlanetRecord::escvelocity, 1118569.85, 237552.131},
                   {"surfaccel", &PlanetRecord::surfaccel, 981.948289, 162.400757},
                   {"surfgrav", &PlanetRecord::surfgrav, 1.00127286, 0.165596775},
                   {"minmolweight", &PlanetRecord::minmolweight, 6.10570887, 133.570571}};
    for (const auto& row : derived) {
        expectClose(earth.bodies[0].*row.field, row.terra, row.what);
        expectClose(earth.bodies[1].*row.field, row.luna, row.what);
    }
    EXPECT_EQ(earth.bodies[0].gascount, 2);
    EXPECT_FALSE(earth.bodies[0].gasgiant);
    // Giants: jovian keeps what was read; the ice giant has no surface again.
    const PlanetRecord& jupiter = star.system->planets[1].bodies[0];
    EXPECT_FALSE(jupiter.gasgiant);
    EXPECT_EQ(jupiter.surfpressure, 0.0);
    const PlanetRecord& neptune = star.system->planets[2].bodies[0];
    EXPECT_TRUE(neptune.gasgiant);
    EXPECT_EQ(neptune.surfpressure, kNoSurface);
    EXPECT_EQ(neptune.atmdensity, kNoSurface);
    EXPECT_EQ(neptune.medsurftemp, kNoSurface);
    EXPECT_EQ(catalogue.noaliascount, 0);  // it has an alias
}

TEST_F(SavedSystemFile, SaveAndLoadThroughTheFileSystem) {
    TemporaryFolder root;  // without Starvane/SavedSystems, which the save makes
    fs::create_directories(root.path() / "Config" / "EPP");
    const StarRecord star = sampleStar("Sol", "Sol system");
    EXPECT_TRUE(saveSystemFile(root.path(), star, false));
    const fs::path saved = root.path() / "Starvane" / "SavedSystems" / "Sol" / "Sol system.svs";
    ASSERT_TRUE(fs::exists(saved));
    EXPECT_TRUE(saveSystemFile(root.path(), star, true));
    const fs::path cached = root.path() / "Config" / "EPP" / "Sol system.epp";
    ASSERT_TRUE(fs::exists(cached));

    const std::string content = readAll(saved);
    EXPECT_EQ(content, systemFileText(star));

    StarRecord loaded;
    EXPECT_TRUE(loadSystemFile(catalogue, saved, loaded));
    EXPECT_EQ(loaded.system->name, "Sol");  // the file does not carry the system's name
    EXPECT_EQ(loaded.system->planetcount, 3);

    // Overwritten, not appended.
    EXPECT_TRUE(saveSystemFile(root.path(), star, false));
    EXPECT_EQ(fs::file_size(saved), content.size());

    // A file that is not there.
    StarRecord missing;
    EXPECT_FALSE(loadSystemFile(catalogue, root.path() / "nothing.svs", missing));
    ASSERT_NE(missing.physical, nullptr);
    EXPECT_EQ(missing.physical->name, "");
    EXPECT_EQ(catalogue.noaliascount, 0);

    // Without the parent folders nothing is written.
    TemporaryFolder empty;
    EXPECT_FALSE(saveSystemFile(empty.path(), star, true));
}

TEST_F(SavedSystemFile, NamesCannotLeadOutOfTheSavedSystemsFolder) {
    TemporaryFolder root;
    const fs::path saved = root.path() / "Starvane" / "SavedSystems";
    fs::create_directories(saved);
    fs::create_directories(root.path() / "Config" / "EPP");
    for (const auto& [starName, systemName] :
         {std::pair{"../../escape", "../../../x"}, std::pair{"a/b", "c\\d"}, std::pair{"..", "."},
          std::pair{"", ""}, std::pair{"/abs", "/etc/passwd"}, std::pair{"line\nbreak", "tab\there"}}) {
        const StarRecord star = sampleStar(starName, systemName);
        EXPECT_TRUE(saveSystemFile(root.path(), star, false)) << starName;
        EXPECT_TRUE(saveSystemFile(root.path(), star, true)) << starName;
        const fs::path target = fs::weakly_canonical(savedSystemPath(root.path(), star, false));
        const fs::path base = fs::weakly_canonical(saved);
        EXPECT_EQ(target.parent_path().parent_path(), base) << starName;
        EXPECT_EQ(fs::weakly_canonical(savedSystemPath(root.path(), star, true)).parent_path(),
                  fs::weakly_canonical(root.path() / "Config" / "EPP")) << systemName;
    }
    // Nothing beside the two folders.
    for (const auto& entry : fs::directory_iterator(root.path()))
        EXPECT_TRUE(entry.path().filename() == "Starvane" || entry.path().filename() == "Config")
            << entry.path();
    for (const auto& entry : fs::directory_iterator(root.path() / "Starvane"))
        EXPECT_EQ(entry.path().filename(), "SavedSystems") << entry.path();
    // One line, and cut to fit a file name without splitting a character.
    std::string euros;
    for (int i = 0; i < 80; ++i) euros += "\xE2\x82\xAC";
    EXPECT_EQ(safeFileName("a" + euros), "a" + euros.substr(0, 39 * 3));
    EXPECT_NE(systemFileText(sampleStar("line\nbreak", "x")).find("\nname line break\n"), std::string::npos);
}

// ---------------------------------------------------------------------------------------------
// Reading hand-written files

TEST_F(SavedSystemFile, HandWrittenValues) {
    const std::string text =
        "name Vega\r\n"
        "class A 0 V\r\n"
        "surftemp 5778.6\r\n"
        "coords 1 -2 3 4.7 -5 2\r\n"
        "mass 2.1\r\n"
        "planets 1\r\n"
        "planetnumber 1 0\r\n"
        "moons 1\r\n"
        "name First\r\n"
        "type unknown\r\n"
        "atmcompounds 0 \r\n"
        "mass 1.98892e+30\r\n"
        "radius 1e6\r\n"
        "planetnumber 1 1\r\n"
        "name Moonlet\r\n"
        "type Rock\r\n"
        "mass 1e20\r\n"
        "radius 1e5\r\n";
    const StarRecord star = readBack(catalogue, text);
    EXPECT_EQ(star.physical->name, "Vega");
    EXPECT_EQ(star.physical->lumclass, "V");
    EXPECT_EQ(star.physical->surftemp, 5778.0);
    EXPECT_EQ(star.cube.x, 1);
    EXPECT_EQ(star.cube.y, -2);
    EXPECT_EQ(star.cube.z, 3);
    EXPECT_EQ(star.offset[0], 4.0f);  // x
    EXPECT_EQ(star.offset[1], -5.0f);  // up
    EXPECT_EQ(star.offset[2], 2.0f);  // y
    EXPECT_EQ(star.alias, "");
    EXPECT_EQ(catalogue.noaliascount, 1);
    EXPECT_EQ(star.system->name, "Vega");
    ASSERT_EQ(star.system->planets.size(), 1u);
    ASSERT_EQ(star.system->planets[0].bodies.size(), 2u);
    const PlanetRecord& first = star.system->planets[0].bodies[0];
    EXPECT_EQ(first.name, "First");
    EXPECT_EQ(first.type, rock);  // "unknown" is not read: the type stays
    EXPECT_TRUE(first.atmcompounds.empty());
    EXPECT_EQ(first.mass, 1.98892e+30 * 5.02785431289343e-31);
    EXPECT_DOUBLE_EQ(first.radius, 1000.0);
    // The last moon is finished although no "planetnumber" follows it.
    const PlanetRecord& moonlet = star.system->planets[0].bodies[1];
    EXPECT_EQ(moonlet.name, "Moonlet");
    EXPECT_EQ(moonlet.type, rock);  // "Rock" is not "rock"
    EXPECT_GT(moonlet.density, 0.0);
    EXPECT_GT(moonlet.surfgrav, 0.0);
    EXPECT_GT(moonlet.escvelocity, 0.0);

    // Misspelt types leave the type as it was; known words set it.
    const StarRecord typed = readBack(catalogue, "\nplanets 1\nplanetnumber 1 0\nmoons 0\ntype oceanic\ntype oceanik\n");
    EXPECT_EQ(typed.system->planets[0].bodies[0].type, oceanic);
    EXPECT_EQ(catalogue.noaliascount, 2);
}

TEST_F(SavedSystemFile, GenSystemGeneratesOrDropsTheSystem) {
    const std::string header =
        "\nname Gen\nalias \nclass G 2 V\nmass 1\nradius 1\nsurftemp 5778\nage 4600\nluminosity 1\n";
    StarRecord generated = readBack(catalogue, header + "gensystem 12345.9\n");
    ASSERT_NE(generated.system, nullptr);
    EXPECT_TRUE(generated.systemready);
    EXPECT_GT(generated.system->planetcount, 0);
    // The same as a generation with the whole seed.
    StellarData sun = *generated.physical;
    GeneratedSystem direct;
    direct.generateFor(12345.0, sun);
    ASSERT_EQ(generated.system->planetcount, direct.planetcount);
    for (std::size_t p = 0; p < direct.planets.size(); ++p)
        EXPECT_EQ(generated.system->planets[p].bodies[0].sma, direct.planets[p].bodies[0].sma);

    StarRecord dropped = readBack(catalogue, header + "path xxxxxx\ngensystem 0\nplanets 2\nplanetnumber 1 0\nmoons 0\nname X\n");
    EXPECT_EQ(dropped.system, nullptr);
    EXPECT_FALSE(dropped.systemfromfile);
    EXPECT_FALSE(dropped.systemready);
    EXPECT_EQ(dropped.physical->name, "Gen");
}

TEST_F(SavedSystemFile, BodiesOutsideTheirSlotsAreIgnored) {
    const std::string text =
        "\nname Odd\nplanets 1\n"
        "planetnumber 0 0\nname Zero\n"
        "planetnumber 2 0\nmoons 3\nname Two\n"
        "planetnumber 1 5\nname Five\n"
        "planetnumber -1 -1\nname Negative\n"
        "planetnumber 1 0\nmoons 1\nname One\n"
        "planetnumber 1 1\nname Moon\n"
        "planetnumber 1 2\nname Beyond\n";
    const StarRecord star = readBack(catalogue, text);
    ASSERT_EQ(star.system->planets.size(), 1u);
    ASSERT_EQ(star.system->planets[0].bodies.size(), 2u);
    EXPECT_EQ(star.system->planets[0].bodies[0].name, "One");
    EXPECT_EQ(star.system->planets[0].bodies[1].name, "Moon");

    // Without a "planets" line there are no slots at all.
    const StarRecord none = readBack(catalogue, "\nname None\nplanetnumber 1 0\nmoons 2\nname Lost\n");
    EXPECT_TRUE(none.system->planets.empty());
    // Header keys are not read once the bodies have begun.
    const StarRecord late = readBack(catalogue, "\nname Late\nplanets 1\nplanetnumber 1 0\nmoons 0\nage 99\nluminosity 7\n");
    EXPECT_EQ(late.physical->age, 0.0);
    EXPECT_EQ(late.physical->luminosity, 0.0);
}

TEST_F(SavedSystemFile, LongValuesAreCutAtEightyCharacters) {
    const std::string longName(200, 'n');
    const StarRecord star = readBack(catalogue, "\nname " + longName + "\nalias " + longName + "\n");
    EXPECT_EQ(star.physical->name, std::string(80, 'n'));
    EXPECT_EQ(star.alias, std::string(80, 'n'));
}

TEST_F(SavedSystemFile, BrokenFilesLoadWithoutHarm) {
    const std::string real = systemFileText(sampleStar());
    for (std::size_t length = 0; length <= real.size(); ++length) {
        StarRecord star;
        readSystemText(catalogue, real.substr(0, length), star);
        ASSERT_NE(star.physical, nullptr);
    }
    // Counts beyond what a system holds keep the first ones and name the first line cut. The
    // last row gives 11 planets 1001 bodies each: the tenth keeps 991, the eleventh none.
    std::string crowded = "planets 20\n";
    for (int p = 1; p <= 11; ++p) crowded += "planetnumber " + std::to_string(p) + " 0\nmoons 1000\n";
    const struct {
        std::string text;
        std::size_t planets, bodies, gases;
        std::string problem;
    } huge[] = {
        {"planets 2000000000\nplanetnumber 1 0\nmoons 2000000000\natmcompounds 2000000000\n", 1000, 1001, 20,
         "line 2: 2000000000 planets in a system, more than the 1000 allowed; the first 1000 are kept (and 2 more"},
        {"planets 1\nplanetnumber 1 0\nmoons 0\natmcompounds 10000 7 80 0.8\n", 1, 1, 20, "line 5: 10000 gases"},
        {crowded, 20, 10000, 0, "line 22: planet 10 and its moons would make more than the 10000"},
    };
    for (const auto& row : huge) {
        StarRecord star;
        std::string problem;
        readSystemText(catalogue, "\n" + row.text, star, &problem);
        std::size_t bodies = 0;
        for (const PlanetSlot& slot : star.system->planets) bodies += slot.bodies.size();
        EXPECT_EQ(star.system->planets.size(), row.planets) << row.problem;
        EXPECT_EQ(bodies, row.bodies) << row.problem;
        EXPECT_EQ(star.system->planets[0].bodies[0].atmcompounds.size(), row.gases) << row.problem;
        EXPECT_EQ(problem.substr(0, row.problem.size()), row.problem);
    }
}

}  // namespace
