// The stellar tables: reading the table and the tracks, the lookups, the remnant records, the
// evolution of a star along its track and the fit of evolved catalogue stars. The evolution and
// fit cases run on the real table with hand-made tracks whose points say which one was taken.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "galaxy/star_record.h"
#include "galaxy/stellar_tables.h"
#include "platform/file_image.h"

namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

const std::string& realTableText() {
    static const std::string text =
        readText(STARVANE_SOURCE_DIR "/data/Starvane/Data/StellarTable.csv");
    return text;
}

// The masses of our 39 tracks; index 25 is the last of 7 solar masses or less.
const std::vector<double> kTrackMasses = {0.1, 0.15, 0.2, 0.25, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8,
                                          0.9, 1,    1.1, 1.2,  1.3, 1.4, 1.5, 1.7, 2,   2.3,
                                          2.6, 3,    3.5, 4,    5,   6,   8,   10,  12,  15,
                                          18,  20.5, 24,  29,   36,  44,  60,  81,  120};

int trackOf(double mass) {
    for (int i = 0; i < static_cast<int>(kTrackMasses.size()); ++i)
        if (kTrackMasses[i] == mass) return i;
    ADD_FAILURE() << "no track of mass " << mass;
    return 0;
}

struct Point {
    double age;
    double logL;
    double logT;
    double logg;
    double currentmass;
};

// A point far from every star of these tests: the fit's starting point, and the filler of
// every track a test does not set. Never strictly nearer than itself, so it is never taken.
constexpr Point kFiller{1000.0, -5.0, 3.0, 4.0, 1.0};

using TrackSet = std::vector<std::vector<Point>>;

TrackSet fillerTracks() { return TrackSet(kTrackMasses.size(), std::vector<Point>{kFiller}); }

// Writes tracks in the file layout: light tracks carry a fifth field and a remark that the
// reader must skip; heavy ones put the current mass second.
std::string tracksText(const TrackSet& tracks) {
    std::ostringstream out;
    out.precision(17);
    for (std::size_t k = 0; k < tracks.size(); ++k) {
        out << kTrackMasses[k] << ';' << tracks[k].size() << '\n';
        for (const Point& p : tracks[k]) {
            if (kTrackMasses[k] > 7.0)
                out << p.age << ';' << p.currentmass << ';' << p.logL << ';' << p.logT << ';'
                    << p.logg << '\n';
            else
                out << p.age << ';' << p.logL << ';' << p.logT << ';' << p.logg << ";9.5;remark\n";
        }
    }
    return out.str();
}

// An image of the HR diagram's size, every pixel of one red value.
std::unique_ptr<MemoryImage> uniformImage(std::uint8_t red) {
    return std::make_unique<MemoryImage>(256, 128,
                                         std::vector<PixelColour>(256 * 128, PixelColour{red, 0, 0}));
}

StarIdentity identityGivingDraw(int wanted) {
    for (std::int32_t index = 0;; ++index)
        if (remnantDraw({0, 0, 0, index}) == wanted) return {0, 0, 0, index};
}

class EvolutionTest : public ::testing::Test {
protected:
    StellarTables tables;
    TrackSet tracks = fillerTracks();

    void SetUp() override { tables.readStellarTable(realTableText()); }
    void useTracks() { tables.readTracks(tracksText(tracks)); }

    // A star on the main sequence at its mass, as generated stars start.
    StellarData starOf(double mass, double ageMyr) const {
        const StellarClassRecord record = tables.mainSequenceByMass(mass);
        StellarData star;
        star.spectralclass = record.spectralclass;
        star.subtype = record.subtype;
        star.lumclass = record.code;
        star.luminosity = record.luminosity;
        star.radius = record.radius;
        star.surftemp = record.temperature;
        star.mass = mass;
        star.initialmass = mass;
        star.initialluminosity = record.luminosity;
        star.age = ageMyr;
        star.mslifetime = 10000.0 * std::pow(mass, -2.5);
        return star;
    }

    // The luminosity a star started by starOf has after being placed on point p of a track.
    double luminosityOn(const StellarData& before, double trackMass, const Point& p) const {
        return std::pow(10.0, p.logL) - tables.mainSequenceByMass(trackMass).luminosity +
               before.luminosity;
    }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Reading

TEST(StellarTableReading, RecordsTakeTheirSlotNotTheirWrittenName) {
    std::ostringstream text;
    for (int i = 0; i < 1050; ++i)
        text << "Zz" << i << ';' << i << ".25;" << (i + 1) << "e-2;+" << i << ".5;" << 1000 + i
             << "K;" << i << ".1;-" << i << ".2;" << i << ".3;" << i << ".4;0." << i % 10
             << " 0.5 0.75\n";
    StellarTables tables;
    tables.readStellarTable(text.str());

    // A3 III is line 2*80 + 3*8 + 4.
    const StellarClassRecord& a3 = tables.record(2, 3, 4);
    EXPECT_EQ(a3.code, "III");
    EXPECT_EQ(a3.spectralclass, "A");
    EXPECT_EQ(a3.subtype, 3);
    EXPECT_DOUBLE_EQ(a3.mass, 188.25);
    EXPECT_DOUBLE_EQ(a3.luminosity, 1.89);
    EXPECT_DOUBLE_EQ(a3.radius, 188.5);
    EXPECT_DOUBLE_EQ(a3.temperature, 1188.0);
    EXPECT_DOUBLE_EQ(a3.extra[0], 188.1);
    EXPECT_DOUBLE_EQ(a3.extra[1], -188.2);
    EXPECT_DOUBLE_EQ(a3.extra[2], 188.3);
    EXPECT_DOUBLE_EQ(a3.extra[3], 188.4);
    EXPECT_FLOAT_EQ(a3.colour[0], 0.8f);
    EXPECT_FLOAT_EQ(a3.colour[1], 0.5f);
    EXPECT_FLOAT_EQ(a3.colour[2], 0.75f);

    // The last class block: S9 VI is line 1039.
    const StellarClassRecord& s9 = tables.record(12, 9, 7);
    EXPECT_EQ(s9.code, "VI");
    EXPECT_EQ(s9.spectralclass, "S");
    EXPECT_DOUBLE_EQ(s9.mass, 1039.25);

    // The ten white dwarfs follow, one per subtype, in the first record of each entry.
    for (int subtype = 0; subtype < 10; ++subtype) {
        const StellarClassRecord& dwarf = tables.record(13, subtype, 0);
        EXPECT_EQ(dwarf.code, "");
        EXPECT_EQ(dwarf.spectralclass, "DC");
        EXPECT_EQ(dwarf.subtype, subtype);
        EXPECT_DOUBLE_EQ(dwarf.mass, 1040 + subtype + 0.25);
        EXPECT_EQ(tables.record(13, subtype, 1).mass, 0.0);
    }
}

TEST(StellarTableReading, ShortAndOddLinesLeaveWhatIsMissingAtZero) {
    StellarTables tables;
    tables.readStellarTable("O0Ia0;12.5abc;none;3\r\nO0Ia;2.5\n\nO0II;1;2;3;4;5;6;7;8;0.1 0.2 0.3\r\n");
    const StellarClassRecord& first = tables.record(0, 0, 0);
    EXPECT_DOUBLE_EQ(first.mass, 12.5);
    EXPECT_EQ(first.luminosity, 0.0);
    EXPECT_DOUBLE_EQ(first.radius, 3.0);
    EXPECT_EQ(first.temperature, 0.0);
    EXPECT_EQ(first.extra[3], 0.0);

    EXPECT_DOUBLE_EQ(tables.record(0, 0, 1).mass, 2.5);
    EXPECT_EQ(tables.record(0, 0, 1).radius, 0.0);
    EXPECT_EQ(tables.record(0, 0, 2).mass, 0.0);  // the empty line still takes its slot

    const StellarClassRecord& fourth = tables.record(0, 0, 3);
    EXPECT_EQ(fourth.code, "II");
    EXPECT_DOUBLE_EQ(fourth.temperature, 4.0);
    EXPECT_DOUBLE_EQ(fourth.extra[3], 8.0);
    EXPECT_FLOAT_EQ(fourth.colour[2], 0.3f);
}

TEST(StellarTableReading, TrackPointFieldOrderDependsOnTheTrackMass) {
    StellarTables tables;
    tables.readTracks(
        "0.5;2\n"
        "100;0.1;3.6;4.5;0.5;remark\n"
        "200;0.2;3.7;4.4\n"
        "8;1\n"
        "300;7.9;3.5;3.4;3.3\n"
        "7;1\r\n"
        "4e2;1.1;1.2;1.3;1.4\r\n");
    const std::vector<EvolutionTrack>& tracks = tables.tracks();
    ASSERT_EQ(tracks.size(), 39u);

    EXPECT_DOUBLE_EQ(tracks[0].mass, 0.5);
    ASSERT_EQ(tracks[0].count, 2);
    ASSERT_EQ(tracks[0].points.size(), 2u);
    EXPECT_DOUBLE_EQ(tracks[0].points[0].age, 100.0);
    EXPECT_DOUBLE_EQ(tracks[0].points[0].logluminosity, 0.1);
    EXPECT_DOUBLE_EQ(tracks[0].points[0].logtemperature, 3.6);
    EXPECT_DOUBLE_EQ(tracks[0].points[0].loggravity, 4.5);
    EXPECT_EQ(tracks[0].points[0].currentmass, 0.0);
    EXPECT_DOUBLE_EQ(tracks[0].points[1].loggravity, 4.4);

    // Above 7 solar masses the current mass comes second.
    EXPECT_DOUBLE_EQ(tracks[1].mass, 8.0);
    ASSERT_EQ(tracks[1].points.size(), 1u);
    EXPECT_DOUBLE_EQ(tracks[1].points[0].currentmass, 7.9);
    EXPECT_DOUBLE_EQ(tracks[1].points[0].logluminosity, 3.5);
    EXPECT_DOUBLE_EQ(tracks[1].points[0].logtemperature, 3.4);
    EXPECT_DOUBLE_EQ(tracks[1].points[0].loggravity, 3.3);

    // Exactly 7 is a light track: four fields, the rest skipped.
    EXPECT_DOUBLE_EQ(tracks[2].mass, 7.0);
    ASSERT_EQ(tracks[2].points.size(), 1u);
    EXPECT_DOUBLE_EQ(tracks[2].points[0].age, 400.0);
    EXPECT_DOUBLE_EQ(tracks[2].points[0].logluminosity, 1.1);
    EXPECT_DOUBLE_EQ(tracks[2].points[0].loggravity, 1.3);
    EXPECT_EQ(tracks[2].points[0].currentmass, 0.0);

    EXPECT_EQ(tracks[3].count, 0);
}

TEST(StellarTableReading, LoadReadsTheDataFolderAndFailsQuietlyWithoutIt) {
    StellarTables tables;
    EXPECT_TRUE(tables.load(STARVANE_SOURCE_DIR "/data", FileImageLoader{}));
    EXPECT_EQ(tables.record(4, 2, 6).spectralclass, "G");
    EXPECT_GT(tables.record(4, 2, 6).mass, 0.0);
    ASSERT_EQ(tables.tracks().size(), 39u);
    EXPECT_DOUBLE_EQ(tables.tracks().back().mass, 120.0);
    ASSERT_NE(tables.referenceImage(), nullptr);

    StellarTables missing;
    EXPECT_FALSE(missing.load(STARVANE_SOURCE_DIR "/no-such-folder", FileImageLoader{}));
    EXPECT_EQ(missing.record(4, 2, 6).mass, 0.0);
    EXPECT_EQ(missing.referenceImage(), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Lookups

TEST(StellarTableLookup, ClassSubtypeAndLuminosityClassSelectTheRecord) {
    StellarTables tables;
    tables.readStellarTable(realTableText());

    const StellarClassRecord sun = tables.lookupByClass("G", 2, "V");
    EXPECT_EQ(sun.code, "V");
    EXPECT_EQ(sun.spectralclass, "G");
    EXPECT_EQ(sun.subtype, 2);
    EXPECT_DOUBLE_EQ(sun.mass, tables.record(4, 2, 6).mass);

    EXPECT_DOUBLE_EQ(tables.lookupByClass("K", 5, "III").radius, tables.record(5, 5, 4).radius);
    EXPECT_EQ(tables.lookupByClass("WN", 7, "Ia0").spectralclass, "WN");
    EXPECT_EQ(tables.lookupByClass("S", 9, "II").spectralclass, "S");

    // "I" shares the column of "Ib"; anything else unknown is "VI".
    EXPECT_EQ(tables.lookupByClass("B", 1, "I").code, "Ib");
    EXPECT_EQ(tables.lookupByClass("B", 1, "v").code, "VI");
    EXPECT_EQ(tables.lookupByClass("B", 1, "").code, "VI");

    // An unknown class reads the "M" record of that subtype; white dwarfs are not a class here.
    for (const char* unknown : {"X", "g", "", "DC", "Neut"}) {
        const StellarClassRecord record = tables.lookupByClass(unknown, 4, "V");
        EXPECT_EQ(record.spectralclass, "M") << unknown;
        EXPECT_EQ(record.subtype, 4) << unknown;
        EXPECT_DOUBLE_EQ(record.mass, tables.record(6, 4, 6).mass) << unknown;
    }
}

TEST(StellarTableLookup, MainSequenceByMassTakesTheFirstRecordStrictlyLighter) {
    StellarTables tables;
    tables.readStellarTable(realTableText());
    const double heaviest = tables.record(0, 0, 6).mass;
    const double lightest = tables.record(6, 9, 6).mass;  // M9 V

    const StellarClassRecord above = tables.mainSequenceByMass(heaviest * 5.0);
    EXPECT_EQ(above.spectralclass, "O");
    EXPECT_EQ(above.subtype, 0);
    EXPECT_EQ(above.code, "V");

    // A mass equal to a record's is not below it: the next lighter record answers.
    const StellarClassRecord equal = tables.mainSequenceByMass(heaviest);
    EXPECT_EQ(equal.spectralclass, "O");
    EXPECT_EQ(equal.subtype, 1);
    const StellarClassRecord sun = tables.mainSequenceByMass(tables.record(4, 2, 6).mass);
    EXPECT_EQ(sun.spectralclass, "G");
    EXPECT_EQ(sun.subtype, 3);

    // The answer's mass is below the given mass, the record before it is not.
    for (double mass : {0.5, 1.3, 2.2, 7.0, 33.0}) {
        const StellarClassRecord record = tables.mainSequenceByMass(mass);
        EXPECT_LT(record.mass, mass);
        const int position = 10 * spectralClassIndex(record.spectralclass) + record.subtype;
        ASSERT_GT(position, 0);
        EXPECT_GE(tables.record((position - 1) / 10, (position - 1) % 10, 6).mass, mass);
    }

    EXPECT_EQ(tables.mainSequenceByMass(lightest * 1.01).subtype, 9);
    for (double mass : {lightest, lightest * 0.5, 0.0}) {
        const StellarClassRecord none = tables.mainSequenceByMass(mass);
        EXPECT_EQ(none.code, "");
        EXPECT_EQ(none.spectralclass, "");
        EXPECT_EQ(none.mass, 0.0);
        EXPECT_EQ(none.luminosity, 0.0);
        EXPECT_EQ(none.temperature, 0.0);
    }
}

TEST(StellarTableLookup, MainSequenceScanGoesOnPastTheMClass) {
    // Only the "N" block has a record light enough: the scan must reach it.
    std::ostringstream text;
    for (int i = 0; i < 1050; ++i) text << "x;" << (i == 7 * 80 + 3 * 8 + 6 ? 0.5 : 50.0) << ";1;1;1;0;0;0;0;0 0 0\n";
    StellarTables tables;
    tables.readStellarTable(text.str());
    const StellarClassRecord record = tables.mainSequenceByMass(1.0);
    EXPECT_EQ(record.spectralclass, "N");
    EXPECT_EQ(record.subtype, 3);
}

TEST(StellarTableLookup, RemnantRecords) {
    StellarTables tables;
    tables.readStellarTable(realTableText());

    // White dwarfs: the first of the block lighter than 0.21 of the mass.
    for (double mass : {2.0, 4.0, 6.0, 8.9}) {
        const StellarClassRecord dwarf = tables.remnantRecord("White Dwarf", mass);
        EXPECT_EQ(dwarf.spectralclass, "DC");
        EXPECT_EQ(dwarf.code, "");
        EXPECT_LT(dwarf.mass, 0.21 * mass);
        if (dwarf.subtype > 0) EXPECT_GE(tables.record(13, dwarf.subtype - 1, 0).mass, 0.21 * mass);
    }
    EXPECT_EQ(tables.remnantRecord("White Dwarf", 4.0).subtype, 3);  // 0.84: DC3 of 0.75

    // Lighter than every record still gives a white dwarf: the last one.
    const StellarClassRecord tiny = tables.remnantRecord("White Dwarf", 0.3);
    EXPECT_EQ(tiny.spectralclass, "DC");
    EXPECT_EQ(tiny.subtype, 9);
    EXPECT_DOUBLE_EQ(tiny.mass, tables.record(13, 9, 0).mass);
    EXPECT_GT(tiny.radius, 0.0);

    const StellarClassRecord neutron = tables.remnantRecord("Neutron Star", 30.0);
    EXPECT_EQ(neutron.code, "");
    EXPECT_EQ(neutron.spectralclass, "Neut");
    EXPECT_EQ(neutron.subtype, 0);
    EXPECT_EQ(neutron.mass, 1.5);
    EXPECT_EQ(neutron.luminosity, 5.0);
    EXPECT_EQ(neutron.radius, 10.0);
    EXPECT_EQ(neutron.temperature, 7000.0);
    EXPECT_EQ(neutron.extra, (std::array<double, 4>{0, 25, -30, -5}));
    EXPECT_EQ(neutron.colour, (std::array<float, 3>{0, 0, 0}));

    const StellarClassRecord hole = tables.remnantRecord("Black Hole", 90.0);
    EXPECT_EQ(hole.code, "");
    EXPECT_EQ(hole.spectralclass, "BH");
    EXPECT_EQ(hole.subtype, 0);
    EXPECT_EQ(hole.mass, 4.0);
    EXPECT_EQ(hole.luminosity, 5.0);
    EXPECT_EQ(hole.radius, 0.0001);
    EXPECT_EQ(hole.temperature, 0.0);
    EXPECT_EQ(hole.extra, (std::array<double, 4>{0, 30, 0, 30}));
    EXPECT_EQ(hole.colour, (std::array<float, 3>{0, 0, 0}));

    const StellarClassRecord other = tables.remnantRecord("white dwarf", 5.0);
    EXPECT_EQ(other.spectralclass, "O");
    EXPECT_EQ(other.code, "Ia0");
    EXPECT_DOUBLE_EQ(other.mass, tables.record(0, 0, 0).mass);
}

TEST(StellarTableLookup, WhiteDwarfLimitIsStrict) {
    // A white dwarf record of exactly 0.21 of the mass is not lighter than the limit.
    std::ostringstream text;
    text.precision(17);
    for (int i = 0; i < 1040; ++i) text << "x;1;1;1;1;0;0;0;0;0 0 0\n";
    for (int i = 0; i < 10; ++i) text << "DC;" << (i == 4 ? 0.21 * 10.0 : i < 4 ? 5.0 - 0.5 * i : 1.0) << ";1;1;1;0;0;0;0;0 0 0\n";
    StellarTables tables;
    tables.readStellarTable(text.str());
    EXPECT_EQ(tables.remnantRecord("White Dwarf", 10.0).subtype, 5);
    EXPECT_EQ(tables.remnantRecord("White Dwarf", 10.0 + 1e-9).subtype, 4);
}

// ---------------------------------------------------------------------------------------------
// Evolution

TEST_F(EvolutionTest, NearerTrackIsTakenAndATieKeepsTheLighter) {
    // Tracks 5 and 6 differ in luminosity only.
    const Point on5{1e9, 3.0, 3.9, 4.0, 0.0};
    const Point on6{1e9, 3.5, 3.9, 4.0, 0.0};
    tracks[trackOf(5)] = {on5};
    tracks[trackOf(6)] = {on6};
    useTracks();

    struct Case {
        double mass;
        double trackMass;
        const Point* point;
    };
    for (const Case& c : {Case{5.5, 5, &on5}, Case{5.5000001, 6, &on6}, Case{5.4, 5, &on5},
                          Case{5.9, 6, &on6}, Case{6.0, 6, &on6}, Case{5.0001, 5, &on5}}) {
        StellarData star = starOf(c.mass, 100.0);
        const StellarData before = star;
        ASSERT_TRUE(tables.evolve(star, {})) << c.mass;
        EXPECT_NEAR(star.luminosity, luminosityOn(before, c.trackMass, *c.point), 1e-9) << c.mass;
    }
}

TEST_F(EvolutionTest, BeyondTheTrackRangeTheNearestEndTrackIsUsed) {
    const Point light{1e12, -1.0, 3.5, 5.0, 0.0};
    const Point heavy{1e6, 6.0, 4.6, 3.9, 110.0};
    tracks.front() = {light};
    tracks.back() = {heavy};
    useTracks();

    StellarData big = starOf(150.0, 0.5);
    const StellarData bigBefore = big;
    ASSERT_TRUE(tables.evolve(big, {}));
    EXPECT_NEAR(big.luminosity, luminosityOn(bigBefore, 120.0, heavy), 1e-6);
    EXPECT_NEAR(big.mass, 150.0 - tables.mainSequenceByMass(120.0).mass + 110.0, 1e-9);

    StellarData small = starOf(0.09, 1000.0);
    const StellarData smallBefore = small;
    ASSERT_TRUE(tables.evolve(small, {}));
    EXPECT_NEAR(small.luminosity, luminosityOn(smallBefore, 0.1, light), 1e-12);
}

TEST_F(EvolutionTest, PointChoiceAndTheWindowBeforeTheRemnant) {
    const std::vector<Point> points = {{1e9, 0.5, 3.7, 4.4, 0}, {2e9, 1.0, 3.7, 4.0, 0}, {3e9, 1.5, 3.6, 3.5, 0}};
    tracks[trackOf(1)] = points;
    useTracks();

    struct Case {
        double age;
        int point;  // -1: remnant
    };
    for (const Case& c : {Case{10.0, 0}, Case{999.0, 0}, Case{1000.0, 1}, Case{1500.0, 1},
                          Case{2000.0, 2}, Case{2999.0, 2}, Case{3000.0, 2}, Case{3200.0, 2},
                          Case{3299.99, 2}, Case{3300.001, -1}, Case{50000.0, -1}}) {
        StellarData star = starOf(1.0, c.age);
        const StellarData before = star;
        const bool stillAStar = tables.evolve(star, {});
        EXPECT_EQ(stillAStar, c.point >= 0) << c.age;
        if (c.point >= 0)
            EXPECT_NEAR(star.luminosity, luminosityOn(before, 1.0, points[c.point]), 1e-9) << c.age;
        else
            EXPECT_EQ(star.typename_, "White Dwarf") << c.age;
        EXPECT_EQ(star.age, c.age);
    }
}

TEST_F(EvolutionTest, LightTrackStarTakesItsMassFromSurfaceGravity) {
    const Point p{1e9, 1.0, 3.65, 3.0, 0.0};
    tracks[trackOf(1)] = {p};
    tracks[trackOf(6)] = {p};
    useTracks();

    for (double mass : {1.0, 6.0}) {
        StellarData star = starOf(mass, 500.0);
        const StellarData before = star;
        const StellarClassRecord reference = tables.mainSequenceByMass(mass);
        ASSERT_TRUE(tables.evolve(star, {}));

        EXPECT_DOUBLE_EQ(star.initialmass, mass);
        EXPECT_DOUBLE_EQ(star.initialluminosity, before.luminosity);
        EXPECT_NEAR(star.luminosity, 10.0 - reference.luminosity + before.luminosity, 1e-12);
        EXPECT_NEAR(star.surftemp, std::pow(10.0, 3.65) - reference.temperature + before.surftemp, 1e-9);
        // Stefan-Boltzmann in solar units with the Sun at 5778 K.
        const double t = star.surftemp / 5778.0;
        EXPECT_NEAR(star.radius, std::sqrt(star.luminosity) / (t * t), 1e-3 * star.radius);
        // M = g R^2 / G with g = 10 m/s^2 (log g = 3 in cgs).
        const double metres = star.radius * 6.955e8;
        EXPECT_NEAR(star.mass, 10.0 * metres * metres / 6.674e-11 / 1.989e30, 0.02 * star.mass);
    }
}

TEST_F(EvolutionTest, HeavyTrackStarTakesItsMassFromTheTrack) {
    const Point p8{1e8, 3.9, 3.9, 3.0, 7.2};
    const Point p20{1e7, 5.2, 4.2, 3.2, 17.5};
    tracks[trackOf(8)] = {p8};
    tracks[trackOf(20.5)] = {p20};
    useTracks();

    StellarData eight = starOf(8.0, 50.0);
    ASSERT_TRUE(tables.evolve(eight, {}));
    EXPECT_NEAR(eight.mass, 8.0 - tables.mainSequenceByMass(8.0).mass + 7.2, 1e-12);

    // 20 lies nearer 20.5 than 18: the reference record and the point are those of 20.5.
    StellarData twenty = starOf(20.0, 5.0);
    ASSERT_TRUE(tables.evolve(twenty, {}));
    EXPECT_NEAR(twenty.mass, 20.0 - tables.mainSequenceByMass(20.5).mass + 17.5, 1e-12);
    EXPECT_DOUBLE_EQ(twenty.initialmass, 20.0);
}

TEST_F(EvolutionTest, SpectralClassIsTheFirstMainSequenceRecordCoolerThanTheStar) {
    Point p{1e9, 1.0, 3.655, 3.0, 0.0};
    tracks[trackOf(1)] = {p};
    useTracks();
    StellarData star = starOf(1.0, 500.0);
    ASSERT_TRUE(tables.evolve(star, {}));
    const int block = spectralClassIndex(star.spectralclass);
    ASSERT_LE(block, 6);
    EXPECT_LT(tables.record(block, star.subtype, 6).temperature, star.surftemp);
    const int previous = 10 * block + star.subtype - 1;
    ASSERT_GE(previous, 0);
    EXPECT_GE(tables.record(previous / 10, previous % 10, 6).temperature, star.surftemp);

    // Cooler than every O..M record: the class stays as it was.
    tracks[trackOf(1)] = {Point{1e9, 1.0, 3.31, 3.0, 0.0}};
    useTracks();
    StellarData cool = starOf(1.0, 500.0);
    ASSERT_TRUE(tables.evolve(cool, {}));
    ASSERT_LT(cool.surftemp, tables.record(6, 9, 6).temperature);
    EXPECT_EQ(cool.spectralclass, "G");
    EXPECT_EQ(cool.subtype, tables.mainSequenceByMass(1.0).subtype);
}

TEST_F(EvolutionTest, ReferenceImageNamesTheLuminosityClass) {
    // log T 3.655, log L 2.05: column trunc(35.5) = 35, row trunc(80 - 20.5) = 59.
    tracks[trackOf(1)] = {Point{1e9, 2.05, 3.655, 3.0, 0.0}};
    useTracks();
    auto evolvedClass = [&](std::unique_ptr<PixelImage> image) {
        tables.setReferenceImage(std::move(image));
        StellarData star = starOf(1.0, 500.0);
        star.lumclass = "as before";
        EXPECT_TRUE(tables.evolve(star, {}));
        return star.lumclass;
    };

    const std::pair<std::uint8_t, const char*> codes[] = {
        {0, "V"}, {78, "DC"}, {107, "IV"}, {139, "III"}, {162, "II"}, {180, "Ib"}, {192, "Ia"}, {210, "Ia0"},
        {255, "as before"}, {100, "as before"}, {140, "as before"}};
    for (const auto& [red, name] : codes) EXPECT_EQ(evolvedClass(uniformImage(red)), name) << int(red);

    std::vector<PixelColour> pixels(256 * 128, PixelColour{255, 0, 0});
    pixels[59 * 256 + 35] = PixelColour{139, 0, 0};
    EXPECT_EQ(evolvedClass(std::make_unique<MemoryImage>(256, 128, pixels)), "III");
    pixels[59 * 256 + 35] = PixelColour{255, 0, 0};
    pixels[35 * 256 + 59] = PixelColour{139, 0, 0};  // rows and columns swapped
    pixels[59 * 256 + 36] = PixelColour{139, 0, 0};
    pixels[60 * 256 + 35] = PixelColour{139, 0, 0};
    EXPECT_EQ(evolvedClass(std::make_unique<MemoryImage>(256, 128, pixels)), "as before");
}

TEST_F(EvolutionTest, PointOutsideTheReferenceImageKeepsTheLuminosityClass) {
    for (const Point& p : {Point{1e9, 8.5, 3.9, 3.0, 0.0},     // above the top row
                           Point{1e9, 2.0, 3.2, 3.0, 0.0},     // left of column 0
                           Point{1e9, -6.0, 3.6, 3.0, 0.0},    // below the bottom row
                           Point{1e9, 2.0, 5.95, 3.0, 0.0}}) {  // right of the last column
        tracks[trackOf(1)] = {p};
        useTracks();
        tables.setReferenceImage(uniformImage(139));
        StellarData star = starOf(1.0, 500.0);
        star.lumclass = "as before";
        EXPECT_TRUE(tables.evolve(star, {}));
        EXPECT_EQ(star.lumclass, "as before") << p.logL << ' ' << p.logT;
    }
    // Inside, the same image names the class.
    tracks[trackOf(1)] = {Point{1e9, 2.0, 3.7, 3.0, 0.0}};
    useTracks();
    StellarData star = starOf(1.0, 500.0);
    EXPECT_TRUE(tables.evolve(star, {}));
    EXPECT_EQ(star.lumclass, "III");
}

TEST_F(EvolutionTest, RemnantByMassWithTheStarsOwnDrawForForty) {
    useTracks();  // every track ends at 1000 years: any age in millions of years is past it
    const StarIdentity blackHole = identityGivingDraw(21845);  // 21845 * 3 / 32767 >= 2
    const StarIdentity neutron = identityGivingDraw(21844);

    struct Case {
        double mass;
        StarIdentity identity;
        const char* type;
    };
    const Case cases[] = {
        {0.3, blackHole, "White Dwarf"},    {8.99, blackHole, "White Dwarf"},
        {9.0, blackHole, "Neutron Star"},   {39.99, blackHole, "Neutron Star"},
        {40.0, blackHole, "Black Hole"},    {40.0, neutron, "Neutron Star"},
        {79.99, blackHole, "Black Hole"},   {79.99, neutron, "Neutron Star"},
        {80.0, neutron, "Black Hole"},      {150.0, neutron, "Black Hole"},
    };
    for (const Case& c : cases) {
        StellarData star = starOf(c.mass, 1000.0);
        star.initialmass = 123.0;
        star.initialluminosity = 456.0;
        star.mslifetime = 7.0;
        star.typename_ = "Main Sequence Star";
        EXPECT_FALSE(tables.evolve(star, c.identity)) << c.mass;
        EXPECT_EQ(star.typename_, c.type) << c.mass;

        const StellarClassRecord record = tables.remnantRecord(c.type, c.mass);
        EXPECT_EQ(star.spectralclass, record.spectralclass) << c.mass;
        EXPECT_EQ(star.subtype, record.subtype) << c.mass;
        EXPECT_EQ(star.lumclass, "") << c.mass;
        EXPECT_EQ(star.mass, record.mass) << c.mass;
        EXPECT_EQ(star.luminosity, record.luminosity) << c.mass;
        EXPECT_EQ(star.radius, record.radius) << c.mass;
        EXPECT_EQ(star.surftemp, record.temperature) << c.mass;
        EXPECT_EQ(star.initialmass, 123.0) << c.mass;
        EXPECT_EQ(star.initialluminosity, 456.0) << c.mass;
        EXPECT_EQ(star.mslifetime, 7.0) << c.mass;
        EXPECT_EQ(star.age, 1000.0) << c.mass;
    }
    int blackHoles = 0;  // one identity in three makes a black hole, wherever the star is
    for (std::int32_t index = 0; index < 3000; ++index) blackHoles += remnantDraw({-7, 798, 2, index}) >= 21845;
    EXPECT_NEAR(blackHoles, 1000, 60);
}

TEST_F(EvolutionTest, LightRemnantIsTheLastWhiteDwarfNotAnEmptyRecord) {
    useTracks();
    StellarData star = starOf(0.3, 1e6);  // 0.21 * 0.3 is below every white dwarf's mass
    EXPECT_FALSE(tables.evolve(star, {}));
    EXPECT_EQ(star.typename_, "White Dwarf");
    EXPECT_EQ(star.spectralclass, "DC");
    EXPECT_EQ(star.subtype, 9);
    EXPECT_GT(star.mass, 0.0);
    EXPECT_GT(star.radius, 0.0);
    EXPECT_GT(star.surftemp, 0.0);
}

// ---------------------------------------------------------------------------------------------
// Fit of evolved catalogue stars

class FitTest : public EvolutionTest {
protected:
    StellarData giant() const {
        StellarData star;
        star.spectralclass = "K";
        star.subtype = 0;
        star.lumclass = "III";
        star.mass = 2.5;
        star.luminosity = 100.0;            // log 2
        star.surftemp = std::pow(10.0, 3.6);
        star.radius = 20.0;
        star.age = -1.0;
        return star;
    }
    void expectHistory(const StellarData& star, double trackMass, double ageMyr) const {
        EXPECT_DOUBLE_EQ(star.initialmass, trackMass);
        EXPECT_DOUBLE_EQ(star.age, ageMyr);
        EXPECT_DOUBLE_EQ(star.initialluminosity, tables.mainSequenceByMass(trackMass).luminosity);
        EXPECT_DOUBLE_EQ(star.mslifetime, 10000.0 * std::pow(trackMass, -2.5));
        // What it is now stays as the class record made it.
        EXPECT_EQ(star.mass, 2.5);
        EXPECT_EQ(star.luminosity, 100.0);
        EXPECT_EQ(star.radius, 20.0);
        EXPECT_EQ(star.surftemp, std::pow(10.0, 3.6));
        EXPECT_EQ(star.lumclass, "III");
    }
};

TEST_F(FitTest, NearerInBothLuminosityAndTemperatureAfterTheMainSequence) {
    // Lifetimes: 2.3 -> 1249 Myr, 6 -> 113 Myr, 18 -> 7.2 Myr.
    tracks[trackOf(2.3)] = {kFiller, {2e9, 2.1, 3.61, 2.0, 0}};
    tracks[trackOf(6)] = {{1e8, 2.0, 3.6, 2.0, 0}};     // exact, but still on the main sequence
    tracks[trackOf(18)] = {{1e9, 2.0, 3.0, 2.0, 17}};   // exact luminosity, temperature no nearer
    tracks[trackOf(20.5)] = {{1e9, -5.0, 3.59, 2.0, 17}};  // temperature nearer, luminosity not
    useTracks();
    StellarData star = giant();
    tables.fitEvolved(star);
    expectHistory(star, 2.3, 2000.0);
}

TEST_F(FitTest, FirstFoundWinsFromTheHeaviestTrackAndTheLatestPointDown) {
    const Point same{1e9, 2.05, 3.605, 2.0, 0};
    Point later = same;
    later.age = 1.5e9;
    tracks[trackOf(3)] = {same};
    tracks[trackOf(3.5)] = {same, later};
    useTracks();
    StellarData star = giant();
    tables.fitEvolved(star);
    expectHistory(star, 3.5, 1500.0);
}

TEST_F(FitTest, NothingBetterKeepsTheFirstPointOfTheFirstTrack) {
    // The second point matches exactly but lies within the 0.1 solar-mass main sequence.
    tracks[0] = {Point{2e5, -5.0, 3.0, 5.0, 0}, Point{1e10, 2.0, 3.6, 5.0, 0}};
    useTracks();
    StellarData star = giant();
    tables.fitEvolved(star);
    expectHistory(star, 0.1, 0.2);
}
