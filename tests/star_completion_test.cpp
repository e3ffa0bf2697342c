// Completing catalogue stars: the normalised classification, the records it reads, the regions,
// the age rule and the order in which ages and orientation are drawn from the galaxy's source.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "galaxy/galaxy_parameters.h"
#include "galaxy/mwc_random.h"
#include "galaxy/star_completion.h"
#include "galaxy/stellar_tables.h"
#include "platform/file_image.h"

#include "tests/galaxy_test_support.h"

namespace {

constexpr std::uint32_t kSecondWord = 7;

// A first seed word whose first draw, as U(0, 100) truncated, is p.
std::uint32_t seedForP(int p) {
    for (std::uint32_t a = 1;; ++a) {
        ReferenceMwc probe{a, kSecondWord};
        if (static_cast<int>(probe.uniform(0.0, 100.0)) == p) return a;
    }
}

GalaxyParameters galaxy() {
    GalaxyParameters catalogue;
    catalogue.galaxyage = 13000.0;
    catalogue.discage = 9000.0;
    catalogue.agegradient = 20.0;
    catalogue.thindisc = 10.0;
    catalogue.centreradius = 0.0;
    return catalogue;
}

StarRecord catalogueStar(const std::string& spectralclass, int subtype, const std::string& lumclass,
                         CubeIndex cube = {30, 40, 2}) {
    StarRecord star;
    star.cube = cube;
    star.physical = std::make_unique<StellarData>();
    star.physical->name = "Test";
    star.physical->spectralclass = spectralclass;
    star.physical->subtype = subtype;
    star.physical->lumclass = lumclass;
    star.alias = "Replaced Star";
    star.systemfromfile = 1;
    star.classified = 1;
    return star;
}

StellarData written(const std::string& spectralclass, int subtype, const std::string& lumclass) {
    StellarData data;
    data.spectralclass = spectralclass;
    data.subtype = subtype;
    data.lumclass = lumclass;
    return data;
}

}  // namespace

TEST(GalaxyRandom, MultiplyWithCarrySequence) {
    // Worked by hand: z = 36969, w = 18000, result 36969 * 65536 + 18000.
    EXPECT_EQ(MwcRandom(1, 1).next(), 2422818384u);
    // Both words wrap modulo 2^32.
    MwcRandom random(0xFFFFFFFFu, 0xFFFFFFFFu);
    ReferenceMwc reference{0xFFFFFFFFu, 0xFFFFFFFFu};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(random.next(), reference.next());
    reference = {12, 34};
    EXPECT_DOUBLE_EQ(MwcRandom(12, 34).uniform(-3.0, 5.0), reference.uniform(-3.0, 5.0));
}

TEST(StarCompletionClass, LooseSpellingsAreNormalisedExactly) {
    const StellarTables& tables = realTables();
    struct Case {
        const char* writtenClass;
        const char* normal;
    };
    const Case cases[] = {
        {"o", "O"},  {"b", "B"},  {"a", "A"},   {"f", "F"},   {"g", "G"},   {"k", "K"},
        {"m", "M"},  {"r", "R"},  {"s", "S"},   {"wc", "WC"}, {"wn", "WN"}, {"c", "C"},
        {"O", "O"},  {"G", "G"},  {"WN", "WN"}, {"S", "S"},   {"C", "C"},   {"R", "R"},
        {"Wc", "K"}, {"wN", "K"}, {"N", "K"},   {"n", "K"},   {"Dc", "K"},  {"dC", "K"},
        {"X", "K"},  {"", "K"},   {"G ", "K"},  {"gg", "K"},  {"Neut", "K"}, {"BH", "K"},
    };
    for (const Case& c : cases) {
        StellarData data = written(c.writtenClass, 3, "III");
        classifyFromTable(tables, data);
        EXPECT_EQ(data.spectralclass, c.normal) << '"' << c.writtenClass << '"';
        EXPECT_EQ(data.lumclass, "III") << c.writtenClass;
        const StellarClassRecord& record = tables.record(spectralClassIndex(c.normal), 3, 4);
        EXPECT_EQ(data.typename_, "III") << c.writtenClass;
        EXPECT_EQ(data.mass, record.mass) << c.writtenClass;
        EXPECT_EQ(data.luminosity, record.luminosity) << c.writtenClass;
        EXPECT_EQ(data.radius, record.radius) << c.writtenClass;
        EXPECT_EQ(data.surftemp, record.temperature) << c.writtenClass;
    }
}

TEST(StarCompletionClass, WhiteDwarfSpellingsTakeTheirSubtypesRecord) {
    const StellarTables& tables = realTables();
    for (const char* spelling : {"d", "D", "dc", "DC"})
        for (int subtype = 0; subtype < 10; ++subtype) {
            StellarData data = written(spelling, subtype, "V");
            classifyFromTable(tables, data);
            EXPECT_EQ(data.spectralclass, "DC") << spelling;
            EXPECT_EQ(data.subtype, subtype);
            EXPECT_EQ(data.lumclass, "") << spelling;
            EXPECT_EQ(data.typename_, "White Dwarf") << spelling;
            const StellarClassRecord& dwarf = tables.record(13, subtype, 0);
            EXPECT_EQ(data.mass, dwarf.mass) << spelling << subtype;
            EXPECT_EQ(data.luminosity, dwarf.luminosity) << spelling << subtype;
            EXPECT_EQ(data.radius, dwarf.radius) << spelling << subtype;
            EXPECT_EQ(data.surftemp, dwarf.temperature) << spelling << subtype;
        }
    StellarData dc5 = written("D", 5, "NIL");
    classifyFromTable(tables, dc5);
    EXPECT_DOUBLE_EQ(dc5.mass, 0.52);
}

TEST(StarCompletionClass, NilMeansMainSequenceButLowerCaseDoesNot) {
    const StellarTables& tables = realTables();
    StellarData nil = written("G", 2, "NIL");
    classifyFromTable(tables, nil);
    EXPECT_EQ(nil.lumclass, "V");
    EXPECT_EQ(nil.typename_, "V");
    EXPECT_EQ(nil.mass, tables.record(4, 2, 6).mass);

    for (const char* other : {"v", "nil", "Nil", " V"}) {
        StellarData data = written("G", 2, other);
        classifyFromTable(tables, data);
        EXPECT_EQ(data.lumclass, other);
        EXPECT_EQ(data.typename_, "VI") << other;
        EXPECT_EQ(data.mass, tables.record(4, 2, 7).mass) << other;
    }
}

TEST(StarCompletionRegion, CentreThenThickDiscThenThinDisc) {
    GalaxyParameters catalogue = galaxy();
    catalogue.centreradius = 10.0;
    catalogue.thindisc = 6.0;
    EXPECT_EQ(catalogueRegion(catalogue, {3, 4, 0}), kCentralBar);
    EXPECT_EQ(catalogueRegion(catalogue, {3, 4, 8}), kCentralBar);      // 9.4 < 10, above the disc
    EXPECT_EQ(catalogueRegion(catalogue, {6, 8, 0}), kThinDisc);        // R = 10 is outside
    EXPECT_EQ(catalogueRegion(catalogue, {0, 0, 10}), kThickDiscOrHalo);
    EXPECT_EQ(catalogueRegion(catalogue, {20, 0, 3}), kThickDiscOrHalo);  // |z| = half the disc
    EXPECT_EQ(catalogueRegion(catalogue, {20, 0, -3}), kThickDiscOrHalo);
    EXPECT_EQ(catalogueRegion(catalogue, {20, 0, 2}), kThinDisc);
    EXPECT_EQ(catalogueRegion(catalogue, {-20, 0, -2}), kThinDisc);

    catalogue.centreradius = 0.0;
    EXPECT_EQ(catalogueRegion(catalogue, {0, 0, 0}), kThinDisc);
}

TEST(StarCompletionAge, EveryRowOfTheRule) {
    const GalaxyParameters catalogue = galaxy();
    const double distance = 50.0;
    const double a = 13000.0;
    const double b = 9000.0 - 20.0 * distance;  // 8000
    struct Row {
        int region;
        int p;
        double low;
        double high;
    };
    const Row rows[] = {
        {0, 100, 1, a},         {0, 96, 1, a},            {0, 95, 0.8 * a, a},      {0, 0, 0.8 * a, a},
        {1, 99, 1, a},          {1, 90, 1, a},            {1, 89, 0.6 * a, 0.8 * a}, {1, 0, 0.6 * a, 0.8 * a},
        {2, 99, 1, b},          {2, 96, 1, b},            {2, 95, 0.1 * b, 0.4 * b}, {2, 89, 0.1 * b, 0.4 * b},
        {2, 88, 0.4 * b, 0.6 * b}, {2, 81, 0.4 * b, 0.6 * b}, {2, 80, 0.6 * b, 0.8 * b}, {2, 51, 0.6 * b, 0.8 * b},
        {2, 50, 0.8 * b, b},    {2, 3, 0.8 * b, b},       {2, 2, 1, a},             {2, 0, 1, a},
        {5, 2, 1, a},           {5, 60, 0.6 * b, 0.8 * b}, {-1, 97, 1, b},
    };
    for (const Row& row : rows) {
        if (row.p == 100) continue;  // needs the largest 32-bit draw; not worth the search
        const std::uint32_t seed = seedForP(row.p);
        ReferenceMwc reference{seed, kSecondWord};
        reference.next();
        const double expected = reference.uniform(row.low, row.high);

        StellarData data;
        data.mass = 2.0;
        data.age = -1.0;
        MwcRandom random(seed, kSecondWord);
        ageByRegion(catalogue, distance, row.region, data, random);
        EXPECT_DOUBLE_EQ(data.age, expected) << "region " << row.region << " p " << row.p;
        EXPECT_DOUBLE_EQ(data.mslifetime, 10000.0 * std::pow(2.0, -2.5));
        // Exactly two draws: the next one follows them.
        EXPECT_EQ(random.next(), reference.next());
    }
}

TEST(StarCompletion, MainSequenceStarOfTheThinDisc) {
    const StellarTables& tables = realTables();
    const GalaxyParameters catalogue = galaxy();
    // Cube (30, 40, 2): thin disc (|z| < 5), in-plane distance 50, local disc age 8000.
    StarRecord star = catalogueStar("g", 2, "V");
    const std::uint32_t seed = seedForP(30);
    MwcRandom random(seed, kSecondWord);
    completeCatalogueStar(catalogue, tables, star, random);

    ReferenceMwc reference{seed, kSecondWord};
    reference.next();
    const double age = reference.uniform(6400.0, 8000.0);
    const StellarData& data = *star.physical;
    const StellarClassRecord& sun = tables.record(4, 2, 6);
    EXPECT_EQ(data.spectralclass, "G");
    EXPECT_EQ(data.typename_, "V");
    EXPECT_EQ(data.mass, sun.mass);
    EXPECT_EQ(data.luminosity, sun.luminosity);
    EXPECT_EQ(data.initialmass, sun.mass);
    EXPECT_EQ(data.initialluminosity, sun.luminosity);
    EXPECT_DOUBLE_EQ(data.mslifetime, 10000.0 * std::pow(sun.mass, -2.5));
    EXPECT_DOUBLE_EQ(data.age, age);
    EXPECT_FLOAT_EQ(star.ecliptic[0], static_cast<float>(reference.uniform(0.0, 360.0)));
    EXPECT_FLOAT_EQ(star.ecliptic[1], static_cast<float>(reference.uniform(0.0, 360.0)));
    EXPECT_FLOAT_EQ(star.ecliptic[2], static_cast<float>(reference.uniform(0.0, 360.0)));
    EXPECT_EQ(random.next(), reference.next());
    EXPECT_EQ(star.alias, "");
    EXPECT_EQ(star.systemfromfile, 0);
    EXPECT_EQ(star.classified, 1);
}

TEST(StarCompletion, RegionsOfCatalogueStarsComeFromTheirCube) {
    const StellarTables& tables = realTables();
    GalaxyParameters catalogue = galaxy();
    catalogue.centreradius = 10.0;
    // A K5 dwarf lives longer than the galaxy: its region age stands.
    struct Case {
        CubeIndex cube;
        double low;
        double high;
    };
    const Case cases[] = {
        {{3, 4, 0}, 0.8 * 13000, 13000},                  // the centre, p = 50
        {{40, 0, -6}, 0.6 * 13000, 0.8 * 13000},          // |z| >= 5: thick disc or halo
        {{30, 40, 4}, 0.8 * 8000, 8000},                  // thin disc at 50 cubes
        {{0, 100, 0}, 0.8 * 7000, 7000},                  // thin disc at 100 cubes
    };
    for (const Case& c : cases) {
        StarRecord star = catalogueStar("K", 5, "V", c.cube);
        ASSERT_GT(10000.0 * std::pow(tables.record(5, 5, 6).mass, -2.5), 13000.0);
        const std::uint32_t seed = seedForP(50);
        MwcRandom random(seed, kSecondWord);
        completeCatalogueStar(catalogue, tables, star, random);
        ReferenceMwc reference{seed, kSecondWord};
        reference.next();
        EXPECT_DOUBLE_EQ(star.physical->age, reference.uniform(c.low, c.high))
            << c.cube.x << ' ' << c.cube.y << ' ' << c.cube.z;
    }
}

TEST(StarCompletion, MainSequenceStarIsNeverOlderThanItsLifetime) {
    const StellarTables& tables = realTables();
    GalaxyParameters catalogue = galaxy();
    catalogue.discage = 30000.0;
    catalogue.agegradient = 0.0;
    for (int p : {10, 40, 60}) {
        StarRecord star = catalogueStar("G", 2, "NIL");
        const std::uint32_t seed = seedForP(p);
        MwcRandom random(seed, kSecondWord);
        completeCatalogueStar(catalogue, tables, star, random);

        const StellarData& data = *star.physical;
        ReferenceMwc reference{seed, kSecondWord};
        reference.next();
        const double regionAge =
            p > 50 ? reference.uniform(18000.0, 24000.0) : reference.uniform(24000.0, 30000.0);
        ASSERT_GT(regionAge, data.mslifetime);
        const double age = reference.uniform(0.2, 0.9) * data.mslifetime;
        EXPECT_DOUBLE_EQ(data.age, age) << p;
        EXPECT_GE(data.age, 2000.0 * std::pow(data.mass, -2.5));
        EXPECT_LE(data.age, 9000.0 * std::pow(data.mass, -2.5));
        EXPECT_FLOAT_EQ(star.ecliptic[0], static_cast<float>(reference.uniform(0.0, 360.0)));
        EXPECT_FLOAT_EQ(star.ecliptic[1], static_cast<float>(reference.uniform(0.0, 360.0)));
        EXPECT_FLOAT_EQ(star.ecliptic[2], static_cast<float>(reference.uniform(0.0, 360.0)));
    }

    // A B0 dwarf lives a few million years: whatever its region, it is younger than that.
    for (std::uint32_t seed = 1; seed < 40; ++seed) {
        StarRecord star = catalogueStar("B", 0, "V");
        MwcRandom random(seed, seed * 3);
        completeCatalogueStar(catalogue, tables, star, random);
        EXPECT_LE(star.physical->age, 0.9 * star.physical->mslifetime + 1e-9);
        EXPECT_GE(star.physical->age, 0.2 * star.physical->mslifetime - 1e-9);
    }
}

TEST(StarCompletion, EvolvedStarsAreFittedWithoutAgeDraws) {
    const StellarTables& tables = realTables();
    const GalaxyParameters catalogue = galaxy();
    struct Case {
        const char* spectralclass;
        int subtype;
        const char* lumclass;
        const char* typeName;
    };
    for (const Case& c : {Case{"K", 0, "III", "III"}, Case{"g", 2, "v", "VI"}, Case{"M", 2, "Ia", "Ia"},
                          Case{"D", 5, "V", "White Dwarf"}, Case{"B", 1, "I", "Ib"}}) {
        StarRecord star = catalogueStar(c.spectralclass, c.subtype, c.lumclass);
        MwcRandom random(99, kSecondWord);
        completeCatalogueStar(catalogue, tables, star, random);
        const StellarData& data = *star.physical;

        StellarData expected = written(c.spectralclass, c.subtype, c.lumclass);
        classifyFromTable(tables, expected);
        tables.fitEvolved(expected);
        EXPECT_EQ(data.typename_, c.typeName) << c.spectralclass << c.lumclass;
        EXPECT_EQ(data.lumclass, expected.lumclass);
        EXPECT_EQ(data.mass, expected.mass);
        EXPECT_EQ(data.luminosity, expected.luminosity);
        EXPECT_EQ(data.initialmass, expected.initialmass) << c.spectralclass << c.lumclass;
        EXPECT_EQ(data.age, expected.age) << c.spectralclass << c.lumclass;
        EXPECT_EQ(data.initialluminosity, expected.initialluminosity);
        EXPECT_DOUBLE_EQ(data.mslifetime, 10000.0 * std::pow(data.initialmass, -2.5));
        // A white dwarf lies on no track after its main sequence: it keeps the starting point.
        if (data.typename_ != "White Dwarf")
            EXPECT_GT(data.age, data.mslifetime) << c.spectralclass << c.lumclass;

        // The orientation takes the first three draws.
        ReferenceMwc reference{99, kSecondWord};
        EXPECT_FLOAT_EQ(star.ecliptic[0], static_cast<float>(reference.uniform(0.0, 360.0)));
        EXPECT_FLOAT_EQ(star.ecliptic[1], static_cast<float>(reference.uniform(0.0, 360.0)));
        EXPECT_FLOAT_EQ(star.ecliptic[2], static_cast<float>(reference.uniform(0.0, 360.0)));
        EXPECT_EQ(star.alias, "");
        EXPECT_EQ(star.systemfromfile, 0);
    }
}
