// The stellar tables: reading the table and the tracks, the lookups, the remnant records, the
// evolution of a star along its track and the fit of evolved catalogue stars. The evolution and
// fit cases run on the real table with hand-made tracks whose points say which one was taken.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "galaxy/star_record.h"
#include "galaxy/stellar_tables.h"
#include "platform/file_image.h"

#include "tests/galaxy_test_support.h"
#include "tests/test_files.h"

namespace {

// The masses of our 39 tracks; those up to 7 solar masses take their mass from gravity.
const double kTrackMasses[] = {0.1, 0.15, 0.2, 0.25, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1,  1.1,
                               1.2, 1.3,  1.4, 1.5,  1.7, 2,   2.3, 2.6, 3,   3.5, 4,   5,  6,
                               8,   10,   12,  15,   18,  20.5, 24, 29,  36,  44,  60,  81, 120};

// A tracks file in which each track is one point far from every star of these tests, unless
// `points` gives its lines: "age;logL;logT;logg", above 7 solar masses "age;mass;logL;logT;logg".
std::string tracksText(const std::map<double, std::vector<std::string>>& points) {
    std::string text;
    for (const double mass : kTrackMasses) {
        const auto given = points.find(mass);
        const std::vector<std::string> lines =
            given != points.end() ? given->second : std::vector<std::string>{mass > 7 ? "1000;1;-5;3;4" : "1000;-5;3;4"};
        text += std::to_string(mass) + ';' + std::to_string(lines.size()) + '\n';
        for (const std::string& line : lines) text += line + '\n';
    }
    return text;
}

// A table text of 1050 lines, `line(i)` giving line i.
template <typename F>
std::string tableText(F line) {
    std::string text;
    for (int i = 0; i < 1050; ++i) text += line(i) + '\n';
    return text;
}

std::unique_ptr<MemoryImage> uniformImage(std::uint8_t red) {
    return std::make_unique<MemoryImage>(256, 128, std::vector<PixelColour>(256 * 128, PixelColour{red, 0, 0}));
}

// The real table with the given tracks.
StellarTables tablesWith(const std::map<double, std::vector<std::string>>& points) {
    StellarTables tables;
    tables.readStellarTable(readAll(STARVANE_SOURCE_DIR "/data/Starvane/Data/StellarTable.csv"));
    tables.readTracks(tracksText(points));
    return tables;
}

// A star on the main sequence at its mass, as generated stars start.
StellarData starOf(const StellarTables& tables, double mass, double ageMyr) {
    const StellarClassRecord r = tables.mainSequenceByMass(mass);
    return {.mass = mass, .age = ageMyr, .spectralclass = r.spectralclass, .subtype = r.subtype, .lumclass = "as before",
            .luminosity = r.luminosity, .surftemp = r.temperature, .initialmass = mass, .initialluminosity = r.luminosity};
}

}  // namespace

TEST(StellarTableReading, ShortEmptyAndCarriageReturnLinesKeepTheirSlots) {
    StellarTables tables;
    tables.readStellarTable("O0Ia0;12.5abc;none;3\r\nO0Ia;2.5\n\nO0II;1;2;3;4;5;6;7;8;0.1 0.2 0.3\r\n");
    const StellarClassRecord& first = tables.record(0, 0, 0);
    EXPECT_EQ((std::array<double, 3>{first.mass, first.luminosity, first.radius}), (std::array<double, 3>{12.5, 0, 3}));
    EXPECT_EQ(tables.record(0, 0, 1).radius + tables.record(0, 0, 2).mass, 0.0);  // an empty line takes its slot
    const StellarClassRecord& fourth = tables.record(0, 0, 3);
    EXPECT_EQ(fourth.code + fourth.spectralclass + std::to_string(fourth.subtype), "IIO0");  // named by the slot
    EXPECT_EQ((std::array<double, 4>{fourth.temperature, fourth.extra[0], fourth.extra[3], fourth.colour[2]}),
              (std::array<double, 4>{4, 5, 8, 0.3f}));
}

TEST(StellarTableReading, TrackPointFieldOrderDependsOnTheTrackMassAndLoadMayFail) {
    StellarTables tables;
    tables.readTracks("0.5;2\n100;0.1;3.6;4.5;0.5;remark\n200;0.2;3.7;4.4\n8;1\n300;7.9;3.5;3.4;3.3\n"
                      "7;1\r\n4e2;1.1;1.2;1.3;1.4\r\n");
    // Above 7 solar masses the current mass is second; exactly 7 is a light track.
    std::vector<std::array<double, 5>> points;
    for (const EvolutionTrack& track : tables.tracks())
        for (const TrackPoint& p : track.points)
            points.push_back({p.age, p.logluminosity, p.logtemperature, p.loggravity, p.currentmass});
    EXPECT_EQ(points, (std::vector<std::array<double, 5>>{
                          {100, 0.1, 3.6, 4.5, 0}, {200, 0.2, 3.7, 4.4, 0}, {300, 3.5, 3.4, 3.3, 7.9}, {400, 1.1, 1.2, 1.3, 0}}));
    EXPECT_EQ(tables.tracks().size() + tables.tracks()[2].count + tables.tracks()[3].count, 40u);

    StellarTables missing;
    EXPECT_FALSE(missing.load(STARVANE_SOURCE_DIR "/no-such-folder", FileImageLoader{}));
    EXPECT_EQ(missing.record(4, 2, 6).mass, 0.0);
}

TEST(StellarTableLookup, ByClassByMassAndRemnants) {
    const StellarTables& tables = realTables();
    // "I" shares the column of "Ib"; anything else unknown is "VI".
    EXPECT_EQ(tables.lookupByClass("B", 1, "I").code + tables.lookupByClass("B", 1, "v").code, "IbVI");
    // An unknown class reads the "M" record; white dwarfs are not a class here.
    for (const char* unknown : {"X", "", "DC", "Neut"})
        EXPECT_EQ(tables.lookupByClass(unknown, 4, "V").mass, tables.record(6, 4, 6).mass) << unknown;

    // The first main-sequence record strictly lighter; none is an empty record.
    auto name = [&](double mass) {
        const StellarClassRecord r = tables.mainSequenceByMass(mass);
        return r.spectralclass + std::to_string(r.subtype) + r.code;
    };
    const double heaviest = tables.record(0, 0, 6).mass;
    const double lightest = tables.record(6, 9, 6).mass;
    EXPECT_EQ(name(heaviest * 5.0) + name(heaviest) + name(tables.record(4, 2, 6).mass), "O0VO1VG3V");
    EXPECT_EQ(name(lightest * 1.01) + name(lightest), "M9V0");
    // Only the "N" block has a record light enough: the scan goes on past "M".
    StellarTables onlyN;
    onlyN.readStellarTable(tableText([](int i) { return std::string(i == 7 * 80 + 3 * 8 + 6 ? "x;0.5" : "x;50"); }));
    EXPECT_EQ(onlyN.mainSequenceByMass(1.0).spectralclass + std::to_string(onlyN.mainSequenceByMass(1.0).subtype), "N3");

    // 0.84 finds DC3 of 0.75; 0.063 is lighter than all and gets the lightest, DC9.
    EXPECT_EQ(tables.remnantRecord("White Dwarf", 4.0).subtype + tables.remnantRecord("White Dwarf", 0.3).subtype, 12);
    EXPECT_EQ(tables.remnantRecord("Neutron Star", 30.0).spectralclass + tables.remnantRecord("Black Hole", 90.0).spectralclass,
              "NeutBH");
    EXPECT_EQ(tables.remnantRecord("white dwarf", 5.0).code, "Ia0");  // any other name: the first record
    // A white dwarf of exactly 0.21 of the mass is not lighter than the limit.
    StellarTables edge;
    edge.readStellarTable(tableText([](int i) {
        const int d = i - 1040;
        return "x;" + std::to_string(d < 0 ? 1.0 : d == 4 ? 2.1 : d < 4 ? 5.0 - 0.5 * d : 1.0);
    }));
    EXPECT_EQ(edge.remnantRecord("White Dwarf", 10.0).subtype, 5);
    EXPECT_EQ(edge.remnantRecord("White Dwarf", 10.0 + 1e-9).subtype, 4);
}

TEST(StellarEvolution, TrackAndPointChoiceMassAndClass) {
    const StellarTables tables = tablesWith({{0.1, {"1e12;-1;3.5;5"}},
                                             {1, {"1e9;0.5;3.7;4.4", "2e9;1;3.655;4", "3e9;1.5;3.31;3.5"}},
                                             {5, {"1e9;3;3.9;4"}}, {6, {"1e9;3.5;3.65;3"}},
                                             {8, {"1e8;7.2;3.9;3.9;3"}}, {120, {"1e6;110;6;4.6;3.9"}}});
    struct Row {
        double mass, ageMyr, luminosity, massAfter;
        const char* spectralclass;
    };
    const Row rows[] = {
        // The nearer track; a tie keeps the lighter; beyond the range the end tracks answer.
        {5.5, 100, 1390.19, 76.589424749418328, "A2"}, {5.5000001, 100, 3162.2776601683795, 319.44752272972767, "K5"},
        {5.0001, 100, 1000, 101.01817647243494, "A6"}, {6, 100, 3162.2776601683795, 319.44752272972767, "K5"},
        {0.09, 1000, 0.09986187, 4.627038005073989, "M6"}, {8, 50, 7943.2823472428136, 7.9, "A6"},
        {150, 0.5, 1478876, 160, "O6"},  // a heavy track gives its current mass
        // The first point after the age, else the last until 1.1 times its age; cooler than
        // every record, the class stays.
        {1, 999, 3.1622776601683795, 5.0629020412291208, "K3"}, {1, 1000, 10, 9.6471609584580502, "K5"},
        {1, 2000, 31.622776601683793, 231.41927282228755, "G3"}, {1, 3299.99, 31.622776601683793, 231.41927282228755, "G3"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.mass << " at " << row.ageMyr);
        StellarData star = starOf(tables, row.mass, row.ageMyr);
        ASSERT_TRUE(tables.evolve(star, {}));
        EXPECT_DOUBLE_EQ(star.luminosity, row.luminosity);
        EXPECT_DOUBLE_EQ(star.mass, row.massAfter);
        EXPECT_EQ(star.spectralclass + std::to_string(star.subtype), row.spectralclass);
        EXPECT_DOUBLE_EQ(star.initialmass, row.mass);
    }
    StellarData gone = starOf(tables, 1.0, 3300.001);
    EXPECT_FALSE(tables.evolve(gone, {}));
}

TEST(StellarEvolution, ReferenceImageNamesTheLuminosityClass) {
    // log T 3.655, log L 2.05 lies inside the image, at column 35 and row 59.
    StellarTables tables;
    const double t = std::pow(10.0, 3.655), l = std::pow(10.0, 2.05);
    const std::pair<std::uint8_t, const char*> codes[] = {{0, "V"},    {78, "DC"},  {107, "IV"}, {139, "III"},
                                                          {162, "II"}, {180, "Ib"}, {192, "Ia"}, {210, "Ia0"},
                                                          {255, ""},   {100, ""},   {140, ""}};
    for (const auto& [red, name] : codes) {
        tables.setReferenceImage(uniformImage(red));
        EXPECT_EQ(tables.classAt(t, l), name) << int(red);
    }
    // Above, left of, below and just right of the image (column 256) there is no class.
    tables.setReferenceImage(uniformImage(139));
    for (const auto& [logT, logL] : {std::pair{3.9, 8.5}, {3.2, 2.0}, {3.6, -6.0}, {5.865, 2.0}})
        EXPECT_EQ(tables.classAt(std::pow(10.0, logT), std::pow(10.0, logL)), "") << logT << ' ' << logL;

    // Evolution takes the class the image names, and keeps its own where it names none.
    tables = tablesWith({{1, {"1e9;2.05;3.655;3"}}});
    for (const std::uint8_t red : {139, 255}) {
        tables.setReferenceImage(uniformImage(red));
        StellarData star = starOf(tables, 1.0, 500.0);
        ASSERT_TRUE(tables.evolve(star, {}));
        EXPECT_EQ(star.lumclass, red == 139 ? "III" : "as before");
    }
}

TEST(StellarEvolution, RemnantByMassWithTheStarsOwnDrawForForty) {
    const StellarTables tables = tablesWith({});  // every track ends at 1000 years
    const StarIdentity hole{0, 0, 0, 2874}, neutron{0, 0, 0, 51841};
    EXPECT_EQ(std::pair(remnantDraw(hole), remnantDraw(neutron)), std::pair(21845, 21844));  // 21845 * 3 / 32767 >= 2
    const std::tuple<double, StarIdentity, const char*> cases[] = {
        {8.99, hole, "White Dwarf"},     {9.0, hole, "Neutron Star"},     {39.99, hole, "Neutron Star"},
        {40.0, hole, "Black Hole"},      {40.0, neutron, "Neutron Star"}, {79.99, neutron, "Neutron Star"},
        {80.0, neutron, "Black Hole"}};
    for (const auto& [mass, identity, type] : cases) {
        StellarData star = starOf(tables, mass, 1000.0);
        star.initialmass = 123.0;
        EXPECT_FALSE(tables.evolve(star, identity)) << mass;
        EXPECT_EQ(star.typename_ + star.spectralclass + star.lumclass, type + tables.remnantRecord(type, mass).spectralclass);
        EXPECT_EQ(star.mass + star.initialmass, tables.remnantRecord(type, mass).mass + 123.0) << mass;
    }
}

TEST(StellarEvolution, FitOfEvolvedStars) {
    // A K0 giant at log L 2, log T 3.6; the fit sets only its history.
    auto fit = [](const std::map<double, std::vector<std::string>>& points, double trackMass, double ageMyr) {
        const StellarTables tables = tablesWith(points);
        StellarData star{.mass = 2.5, .luminosity = 100.0, .surftemp = std::pow(10.0, 3.6)};
        tables.fitEvolved(star);
        EXPECT_EQ((std::array<double, 3>{star.initialmass, star.initialluminosity, star.mass + star.luminosity}),
                  (std::array<double, 3>{trackMass, tables.mainSequenceByMass(trackMass).luminosity, 102.5}));
        EXPECT_DOUBLE_EQ(star.age, ageMyr);
        EXPECT_DOUBLE_EQ(star.mslifetime, 10000.0 * std::pow(trackMass, -2.5));
    };
    // Nearer in both after the main sequence (lifetimes 2.3: 1249, 6: 113, 18: 7.2 Myr).
    fit({{2.3, {"1000;-5;3;4", "2e9;2.1;3.61;2"}},
         {6, {"1e8;2;3.6;2"}},           // exact, but still on the main sequence
         {18, {"1e9;17;2;3;2"}},         // temperature no nearer
         {20.5, {"1e9;17;-5;3.59;2"}}},  // luminosity no nearer
        2.3, 2000.0);
    // The first found wins, from the heaviest track and the latest point down; a later one must
    // be nearer in both (on track 3 only the temperature is).
    fit({{3, {"1e9;2.05;3.6;2"}}, {3.5, {"1e9;2.05;3.605;2", "1.5e9;2.05;3.605;2"}}}, 3.5, 1500.0);
    // Nothing better: the first point of the first track.
    fit({{0.1, {"2e5;-5;3;5", "1e10;2;3.6;5"}}}, 0.1, 0.2);
}
