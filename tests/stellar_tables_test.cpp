// The stellar tables: reading the table and the tracks, the lookups, the remnant records, the
// evolution of a star along its track and the fit of evolved catalogue stars. The evolution and
// fit cases run on the real table with hand-made tracks whose points say which one was taken.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "galaxy/star_record.h"
#include "galaxy/stellar_tables.h"
#include "platform/file_image.h"

#include "tests/galaxy_test_support.h"
#include "tests/test_files.h"

namespace {

// The masses of our 39 tracks; those up to 7 solar masses take their mass from gravity.
const std::vector<double> kTrackMasses = {0.1, 0.15, 0.2, 0.25, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8,
                                          0.9, 1,    1.1, 1.2,  1.3, 1.4, 1.5, 1.7, 2,   2.3,
                                          2.6, 3,    3.5, 4,    5,   6,   8,   10,  12,  15,
                                          18,  20.5, 24,  29,   36,  44,  60,  81,  120};

std::size_t trackOf(double mass) {
    for (std::size_t i = 0; i < kTrackMasses.size(); ++i)
        if (kTrackMasses[i] == mass) return i;
    ADD_FAILURE() << "no track of mass " << mass;
    return 0;
}

struct Point {
    double age, logL, logT, logg, currentmass;
};

// Far from every star of these tests: the fit's starting point and the filler of every track a
// test does not set.
constexpr Point kFiller{1000.0, -5.0, 3.0, 4.0, 1.0};

std::unique_ptr<MemoryImage> uniformImage(std::uint8_t red) {
    return std::make_unique<MemoryImage>(256, 128, std::vector<PixelColour>(256 * 128, PixelColour{red, 0, 0}));
}

// A table text of 1050 lines, `line(i)` giving line i.
template <typename F>
std::string tableText(F line) {
    std::ostringstream text;
    text.precision(17);
    for (int i = 0; i < 1050; ++i) text << line(i) << '\n';
    return text.str();
}

class EvolutionTest : public ::testing::Test {
protected:
    StellarTables tables;
    std::vector<std::vector<Point>> tracks{kTrackMasses.size(), std::vector<Point>{kFiller}};

    void SetUp() override { tables.readStellarTable(readAll(STARVANE_SOURCE_DIR "/data/Starvane/Data/StellarTable.csv")); }

    // Writes the tracks in the file layout: light tracks carry a fifth field and a remark that
    // the reader skips; heavy ones put the current mass second.
    void useTracks() {
        std::ostringstream out;
        out.precision(17);
        for (std::size_t k = 0; k < tracks.size(); ++k) {
            out << kTrackMasses[k] << ';' << tracks[k].size() << '\n';
            for (const Point& p : tracks[k])
                if (kTrackMasses[k] > 7.0)
                    out << p.age << ';' << p.currentmass << ';' << p.logL << ';' << p.logT << ';' << p.logg << '\n';
                else
                    out << p.age << ';' << p.logL << ';' << p.logT << ';' << p.logg << ";9.5;remark\n";
        }
        tables.readTracks(out.str());
    }

    // A star on the main sequence at its mass, as generated stars start.
    StellarData starOf(double mass, double ageMyr) const {
        const StellarClassRecord record = tables.mainSequenceByMass(mass);
        StellarData star;
        star.spectralclass = record.spectralclass;
        star.subtype = record.subtype;
        star.lumclass = "as before";
        star.luminosity = star.initialluminosity = record.luminosity;
        star.radius = record.radius;
        star.surftemp = record.temperature;
        star.mass = star.initialmass = mass;
        star.age = ageMyr;
        star.mslifetime = 10000.0 * std::pow(mass, -2.5);
        return star;
    }

    // The luminosity after evolving starOf(mass): the track point's, shifted by the offset of
    // the star's own record from the track's.
    double luminosityOn(double mass, double trackMass, const Point& p) const {
        return std::pow(10.0, p.logL) - tables.mainSequenceByMass(trackMass).luminosity +
               tables.mainSequenceByMass(mass).luminosity;
    }

    std::string evolvedClass(const Point& p) {
        tracks[trackOf(1)] = {p};
        useTracks();
        StellarData star = starOf(1.0, 500.0);
        EXPECT_TRUE(tables.evolve(star, {}));
        return star.lumclass;
    }
};

}  // namespace

TEST(StellarTableReading, RecordsTakeTheirSlotAndShortLinesLeaveZeros) {
    StellarTables tables;
    tables.readStellarTable(tableText([](int i) {
        return "Zz;" + std::to_string(i) + ".25;1;" + std::to_string(i) + ".5;7K;1;-2;3;4;0.8 0.5 0.75";
    }));
    // A3 III is line 2*80 + 3*8 + 4; the name comes from the slot, not the text.
    const StellarClassRecord& a3 = tables.record(2, 3, 4);
    EXPECT_EQ(a3.code + a3.spectralclass + std::to_string(a3.subtype), "IIIA3");
    EXPECT_EQ((std::array<double, 3>{a3.mass, a3.radius, a3.temperature}), (std::array<double, 3>{188.25, 188.5, 7}));
    EXPECT_EQ(a3.extra, (std::array<double, 4>{1, -2, 3, 4}));
    EXPECT_EQ(a3.colour, (std::array<float, 3>{0.8f, 0.5f, 0.75f}));
    EXPECT_EQ(tables.record(12, 9, 7).code + tables.record(12, 9, 7).spectralclass, "VIS");
    // The ten white dwarfs follow, one per subtype, in the first record of each entry.
    EXPECT_EQ(tables.record(13, 4, 0).spectralclass, "DC");
    EXPECT_DOUBLE_EQ(tables.record(13, 4, 0).mass, 1044.25);
    EXPECT_EQ(tables.record(13, 4, 1).mass, 0.0);

    tables.readStellarTable("O0Ia0;12.5abc;none;3\r\nO0Ia;2.5\n\nO0II;1;2;3;4;5;6;7;8;0.1 0.2 0.3\r\n");
    EXPECT_DOUBLE_EQ(tables.record(0, 0, 0).mass, 12.5);
    EXPECT_EQ(tables.record(0, 0, 0).luminosity, 0.0);
    EXPECT_DOUBLE_EQ(tables.record(0, 0, 0).radius, 3.0);
    EXPECT_EQ(tables.record(0, 0, 1).radius, 0.0);
    EXPECT_EQ(tables.record(0, 0, 2).mass, 0.0);  // the empty line still takes its slot
    EXPECT_DOUBLE_EQ(tables.record(0, 0, 3).extra[3], 8.0);
    EXPECT_FLOAT_EQ(tables.record(0, 0, 3).colour[2], 0.3f);
}

TEST(StellarTableReading, TrackPointFieldOrderDependsOnTheTrackMass) {
    StellarTables tables;
    tables.readTracks("0.5;2\n100;0.1;3.6;4.5;0.5;remark\n200;0.2;3.7;4.4\n8;1\n300;7.9;3.5;3.4;3.3\n"
                      "7;1\r\n4e2;1.1;1.2;1.3;1.4\r\n");
    const std::vector<EvolutionTrack>& tracks = tables.tracks();
    ASSERT_EQ(tracks.size(), 39u);
    ASSERT_EQ(tracks[0].points.size(), 2u);
    const TrackPoint& light = tracks[0].points[0];
    EXPECT_EQ((std::array<double, 5>{light.age, light.logluminosity, light.logtemperature, light.loggravity,
                                     light.currentmass}),
              (std::array<double, 5>{100, 0.1, 3.6, 4.5, 0}));
    ASSERT_EQ(tracks[1].points.size(), 1u);  // above 7 solar masses the current mass is second
    const TrackPoint& heavy = tracks[1].points[0];
    EXPECT_EQ((std::array<double, 4>{heavy.currentmass, heavy.logluminosity, heavy.logtemperature, heavy.loggravity}),
              (std::array<double, 4>{7.9, 3.5, 3.4, 3.3}));
    ASSERT_EQ(tracks[2].points.size(), 1u);  // exactly 7 is a light track
    EXPECT_DOUBLE_EQ(tracks[2].points[0].age, 400.0);
    EXPECT_EQ(tracks[2].points[0].currentmass, 0.0);
    EXPECT_EQ(tracks[3].count, 0);
}

TEST(StellarTableReading, LoadFailsQuietlyWithoutTheDataFolder) {
    StellarTables missing;
    EXPECT_FALSE(missing.load(STARVANE_SOURCE_DIR "/no-such-folder", FileImageLoader{}));
    EXPECT_EQ(missing.record(4, 2, 6).mass, 0.0);
    EXPECT_EQ(missing.referenceImage(), nullptr);
    ASSERT_NE(realTables().referenceImage(), nullptr);
    EXPECT_DOUBLE_EQ(realTables().tracks().back().mass, 120.0);
}

TEST(StellarTableLookup, ClassSubtypeAndLuminosityClassSelectTheRecord) {
    const StellarTables& tables = realTables();
    EXPECT_DOUBLE_EQ(tables.lookupByClass("G", 2, "V").mass, tables.record(4, 2, 6).mass);
    EXPECT_DOUBLE_EQ(tables.lookupByClass("K", 5, "III").radius, tables.record(5, 5, 4).radius);
    EXPECT_EQ(tables.lookupByClass("WN", 7, "Ia0").spectralclass, "WN");
    // "I" shares the column of "Ib"; anything else unknown is "VI".
    EXPECT_EQ(tables.lookupByClass("B", 1, "I").code, "Ib");
    EXPECT_EQ(tables.lookupByClass("B", 1, "v").code, "VI");
    // An unknown class reads the "M" record; white dwarfs are not a class here.
    for (const char* unknown : {"X", "", "DC", "Neut"})
        EXPECT_EQ(tables.lookupByClass(unknown, 4, "V").mass, tables.record(6, 4, 6).mass) << unknown;
}

TEST(StellarTableLookup, MainSequenceByMassTakesTheFirstRecordStrictlyLighter) {
    const StellarTables& tables = realTables();
    const double heaviest = tables.record(0, 0, 6).mass;
    const double lightest = tables.record(6, 9, 6).mass;
    auto name = [&](double mass) {
        const StellarClassRecord r = tables.mainSequenceByMass(mass);
        return r.spectralclass + std::to_string(r.subtype) + r.code;
    };
    EXPECT_EQ(name(heaviest * 5.0), "O0V");
    EXPECT_EQ(name(heaviest), "O1V");  // equal is not lighter
    EXPECT_EQ(name(tables.record(4, 2, 6).mass), "G3V");
    EXPECT_EQ(name(lightest * 1.01), "M9V");
    EXPECT_EQ(name(lightest), "0");  // nothing lighter: an empty record
    EXPECT_EQ(tables.mainSequenceByMass(lightest).mass, 0.0);

    // Only the "N" block has a record light enough: the scan goes on past "M".
    StellarTables onlyN;
    onlyN.readStellarTable(tableText([](int i) { return i == 7 * 80 + 3 * 8 + 6 ? "x;0.5" : "x;50"; }));
    EXPECT_EQ(onlyN.mainSequenceByMass(1.0).spectralclass + std::to_string(onlyN.mainSequenceByMass(1.0).subtype), "N3");
}

TEST(StellarTableLookup, RemnantRecords) {
    const StellarTables& tables = realTables();
    EXPECT_EQ(tables.remnantRecord("White Dwarf", 4.0).subtype, 3);  // 0.84: DC3 of 0.75
    const StellarClassRecord tiny = tables.remnantRecord("White Dwarf", 0.3);  // lighter than all
    EXPECT_EQ(tiny.spectralclass + std::to_string(tiny.subtype), "DC9");
    EXPECT_GT(tiny.radius, 0.0);

    EXPECT_EQ(tables.remnantRecord("Neutron Star", 30.0).spectralclass, "Neut");
    EXPECT_EQ(tables.remnantRecord("Black Hole", 90.0).spectralclass, "BH");
    EXPECT_EQ(tables.remnantRecord("white dwarf", 5.0).code, "Ia0");

    // A white dwarf of exactly 0.21 of the mass is not lighter than the limit.
    StellarTables edge;
    edge.readStellarTable(tableText([](int i) {
        const int d = i - 1040;
        return "x;" + std::to_string(d < 0 ? 1.0 : d == 4 ? 2.1 : d < 4 ? 5.0 - 0.5 * d : 1.0);
    }));
    EXPECT_EQ(edge.remnantRecord("White Dwarf", 10.0).subtype, 5);
    EXPECT_EQ(edge.remnantRecord("White Dwarf", 10.0 + 1e-9).subtype, 4);
}

TEST_F(EvolutionTest, NearerTrackIsTakenAndATieKeepsTheLighter) {
    const Point on5{1e9, 3.0, 3.9, 4.0, 0.0};
    const Point on6{1e9, 3.5, 3.9, 4.0, 0.0};
    tracks[trackOf(5)] = {on5};
    tracks[trackOf(6)] = {on6};
    useTracks();
    for (const double mass : {5.5, 5.5000001, 5.0001, 6.0}) {
        const Point& p = mass > 5.5 ? on6 : on5;
        StellarData star = starOf(mass, 100.0);
        ASSERT_TRUE(tables.evolve(star, {})) << mass;
        EXPECT_NEAR(star.luminosity, luminosityOn(mass, mass > 5.5 ? 6 : 5, p), 1e-9) << mass;
    }

    // Beyond the range the end tracks answer; a heavy track gives its current mass.
    const Point light{1e12, -1.0, 3.5, 5.0, 0.0};
    const Point heavy{1e6, 6.0, 4.6, 3.9, 110.0};
    tracks.front() = {light};
    tracks.back() = {heavy};
    useTracks();
    StellarData big = starOf(150.0, 0.5);
    ASSERT_TRUE(tables.evolve(big, {}));
    EXPECT_NEAR(big.luminosity, luminosityOn(150.0, 120.0, heavy), 1e-6);
    EXPECT_NEAR(big.mass, 150.0 - tables.mainSequenceByMass(120.0).mass + 110.0, 1e-9);
    StellarData small = starOf(0.09, 1000.0);
    ASSERT_TRUE(tables.evolve(small, {}));
    EXPECT_NEAR(small.luminosity, luminosityOn(0.09, 0.1, light), 1e-12);
}

TEST_F(EvolutionTest, PointChoiceAndTheWindowBeforeTheRemnant) {
    const std::vector<Point> points = {{1e9, 0.5, 3.7, 4.4, 0}, {2e9, 1.0, 3.7, 4.0, 0}, {3e9, 1.5, 3.6, 3.5, 0}};
    tracks[trackOf(1)] = points;
    useTracks();
    const std::pair<double, int> cases[] = {{999.0, 0},  {1000.0, 1}, {2000.0, 2},    {3000.0, 2},
                                            {3299.99, 2}, {3300.001, -1}, {50000.0, -1}};
    for (const auto& [age, point] : cases) {
        StellarData star = starOf(1.0, age);
        EXPECT_EQ(tables.evolve(star, {}), point >= 0) << age;
        if (point >= 0)
            EXPECT_NEAR(star.luminosity, luminosityOn(1.0, 1.0, points[point]), 1e-9) << age;
        else
            EXPECT_EQ(star.typename_, "White Dwarf") << age;
    }
}

TEST_F(EvolutionTest, MassFromSurfaceGravityOrFromTheTrack) {
    const Point p{1e9, 1.0, 3.65, 3.0, 0.0};
    tracks[trackOf(6)] = {p};
    tracks[trackOf(8)] = {{1e8, 3.9, 3.9, 3.0, 7.2}};
    useTracks();
    StellarData six = starOf(6.0, 500.0);
    ASSERT_TRUE(tables.evolve(six, {}));
    EXPECT_DOUBLE_EQ(six.mass, 1.0101817647243483);  // g R^2 / G with log g = 3
    EXPECT_DOUBLE_EQ(six.radius, 5.2912109339980908);
    EXPECT_DOUBLE_EQ(six.initialmass, 6.0);
    StellarData eight = starOf(8.0, 50.0);
    ASSERT_TRUE(tables.evolve(eight, {}));
    EXPECT_NEAR(eight.mass, 8.0 - tables.mainSequenceByMass(8.0).mass + 7.2, 1e-12);
}

TEST_F(EvolutionTest, SpectralClassIsTheFirstMainSequenceRecordCoolerThanTheStar) {
    tracks[trackOf(1)] = {Point{1e9, 1.0, 3.655, 3.0, 0.0}};
    useTracks();
    StellarData star = starOf(1.0, 500.0);
    ASSERT_TRUE(tables.evolve(star, {}));
    EXPECT_EQ(star.spectralclass + std::to_string(star.subtype), "K5");
    // Cooler than every O..M record: the class stays as it was.
    tracks[trackOf(1)] = {Point{1e9, 1.0, 3.31, 3.0, 0.0}};
    useTracks();
    StellarData cool = starOf(1.0, 500.0);
    ASSERT_TRUE(tables.evolve(cool, {}));
    EXPECT_EQ(cool.spectralclass + std::to_string(cool.subtype), "G3");
}

TEST_F(EvolutionTest, ReferenceImageNamesTheLuminosityClass) {
    // log T 3.655, log L 2.05: column trunc(35.5) = 35, row trunc(80 - 20.5) = 59.
    const Point p{1e9, 2.05, 3.655, 3.0, 0.0};
    const std::pair<std::uint8_t, const char*> codes[] = {
        {0, "V"},    {78, "DC"}, {107, "IV"}, {139, "III"}, {162, "II"}, {180, "Ib"},
        {192, "Ia"}, {210, "Ia0"}, {255, "as before"}, {100, "as before"}, {140, "as before"}};
    for (const auto& [red, name] : codes) {
        tables.setReferenceImage(uniformImage(red));
        EXPECT_EQ(evolvedClass(p), name) << int(red);
    }
    std::vector<PixelColour> pixels(256 * 128, PixelColour{255, 0, 0});
    pixels[35 * 256 + 59] = pixels[59 * 256 + 36] = pixels[60 * 256 + 35] = PixelColour{139, 0, 0};
    tables.setReferenceImage(std::make_unique<MemoryImage>(256, 128, pixels));
    EXPECT_EQ(evolvedClass(p), "as before");
    pixels[59 * 256 + 35] = PixelColour{139, 0, 0};
    tables.setReferenceImage(std::make_unique<MemoryImage>(256, 128, pixels));
    EXPECT_EQ(evolvedClass(p), "III");

    // Above, left of, below and right of the image: the class stays.
    tables.setReferenceImage(uniformImage(139));
    for (const Point& outside : {Point{1e9, 8.5, 3.9, 3.0, 0.0}, Point{1e9, 2.0, 3.2, 3.0, 0.0},
                                 Point{1e9, -6.0, 3.6, 3.0, 0.0}, Point{1e9, 2.0, 5.95, 3.0, 0.0}})
        EXPECT_EQ(evolvedClass(outside), "as before") << outside.logL << ' ' << outside.logT;
}

TEST_F(EvolutionTest, RemnantByMassWithTheStarsOwnDrawForForty) {
    useTracks();  // every track ends at 1000 years: any age in millions of years is past it
    auto identityGiving = [](int wanted) {
        for (std::int32_t index = 0;; ++index)
            if (remnantDraw({0, 0, 0, index}) == wanted) return StarIdentity{0, 0, 0, index};
    };
    const StarIdentity hole = identityGiving(21845);  // 21845 * 3 / 32767 >= 2
    const StarIdentity neutron = identityGiving(21844);
    struct Case {
        double mass;
        StarIdentity identity;
        const char* type;
    };
    for (const Case& c : {Case{8.99, hole, "White Dwarf"}, Case{9.0, hole, "Neutron Star"},
                          Case{39.99, hole, "Neutron Star"}, Case{40.0, hole, "Black Hole"},
                          Case{40.0, neutron, "Neutron Star"}, Case{79.99, neutron, "Neutron Star"},
                          Case{80.0, neutron, "Black Hole"}}) {
        StellarData star = starOf(c.mass, 1000.0);
        star.initialmass = 123.0;
        EXPECT_FALSE(tables.evolve(star, c.identity)) << c.mass;
        EXPECT_EQ(star.typename_, c.type) << c.mass;
        const StellarClassRecord record = tables.remnantRecord(c.type, c.mass);
        EXPECT_EQ(star.spectralclass, record.spectralclass) << c.mass;
        EXPECT_EQ(star.mass, record.mass) << c.mass;
        EXPECT_EQ(star.lumclass, "") << c.mass;
        EXPECT_EQ(star.initialmass, 123.0) << c.mass;
    }
}

TEST_F(EvolutionTest, FitOfEvolvedStars) {
    // A K0 giant at log L 2, log T 3.6; the fit sets only its history.
    auto fit = [&](double trackMass, double ageMyr) {
        useTracks();
        StellarData star;
        star.mass = 2.5;
        star.luminosity = 100.0;
        star.surftemp = std::pow(10.0, 3.6);
        star.age = -1.0;
        tables.fitEvolved(star);
        EXPECT_DOUBLE_EQ(star.initialmass, trackMass);
        EXPECT_DOUBLE_EQ(star.age, ageMyr);
        EXPECT_DOUBLE_EQ(star.initialluminosity, tables.mainSequenceByMass(trackMass).luminosity);
        EXPECT_DOUBLE_EQ(star.mslifetime, 10000.0 * std::pow(trackMass, -2.5));
        EXPECT_EQ(star.mass, 2.5);
        EXPECT_EQ(star.luminosity, 100.0);
        tracks.assign(kTrackMasses.size(), std::vector<Point>{kFiller});
    };
    // Nearer in both after the main sequence (lifetimes 2.3: 1249, 6: 113, 18: 7.2 Myr).
    tracks[trackOf(2.3)] = {kFiller, {2e9, 2.1, 3.61, 2.0, 0}};
    tracks[trackOf(6)] = {{1e8, 2.0, 3.6, 2.0, 0}};       // exact, but still on the main sequence
    tracks[trackOf(18)] = {{1e9, 2.0, 3.0, 2.0, 17}};     // temperature no nearer
    tracks[trackOf(20.5)] = {{1e9, -5.0, 3.59, 2.0, 17}};  // luminosity no nearer
    fit(2.3, 2000.0);
    // The first found wins, from the heaviest track and the latest point down.
    const Point same{1e9, 2.05, 3.605, 2.0, 0};
    tracks[trackOf(3)] = {same};
    tracks[trackOf(3.5)] = {same, {1.5e9, 2.05, 3.605, 2.0, 0}};
    fit(3.5, 1500.0);
    // Nothing better: the first point of the first track.
    tracks[0] = {Point{2e5, -5.0, 3.0, 5.0, 0}, Point{1e10, 2.0, 3.6, 5.0, 0}};
    fit(0.1, 0.2);
}
