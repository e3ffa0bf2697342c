// Completing catalogue stars: the normalised classification, the records it reads, the regions,
// the age rule and the order in which ages and orientation are drawn from the galaxy's source.

#include <gtest/gtest.h>

#include <cmath>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "galaxy/galaxy_parameters.h"
#include "galaxy/mwc_random.h"
#include "galaxy/star_completion.h"
#include "galaxy/stellar_tables.h"

#include "tests/galaxy_test_support.h"

namespace {

constexpr std::uint32_t kSecondWord = 7;

// A source whose first draw, as U(0, 100) truncated, is p.
MwcRandom drawingP(int p) {
    for (std::uint32_t a = 1;; ++a)
        if (static_cast<int>(MwcRandom(a, kSecondWord).uniform(0.0, 100.0)) == p) return MwcRandom(a, kSecondWord);
}

// The second draw after drawingP(p), as U(low, high): where an age of that band lands.
double secondDraw(int p, double low, double high) {
    MwcRandom random = drawingP(p);
    random.next();
    return random.uniform(low, high);
}

GalaxyParameters galaxy() {
    return {.thindisc = 10.0, .centreradius = 10.0, .galaxyage = 13000.0, .discage = 9000.0, .agegradient = 20.0};
}

StarRecord catalogueStar(const std::string& spectralclass, int subtype, const std::string& lumclass,
                         CubeIndex cube = {30, 40, 2}) {
    StarRecord star;
    star.cube = cube;
    star.physical = std::make_unique<StellarData>(
        StellarData{.spectralclass = spectralclass, .subtype = subtype, .lumclass = lumclass});
    star.alias = "Replaced Star";
    star.systemfromfile = 1;
    return star;
}

StellarData classified(const std::string& spectralclass, int subtype, const std::string& lumclass) {
    StellarData data = *catalogueStar(spectralclass, subtype, lumclass).physical;
    classifyFromTable(realTables(), data);
    return data;
}

}  // namespace

TEST(StarCompletionClass, LooseSpellingsAreNormalisedExactly) {
    const std::pair<const char*, const char*> cases[] = {
        {"o", "O"}, {"b", "B"}, {"a", "A"}, {"f", "F"}, {"g", "G"}, {"k", "K"}, {"m", "M"}, {"r", "R"}, {"s", "S"},
        {"wc", "WC"}, {"wn", "WN"}, {"c", "C"}, {"WN", "WN"}, {"C", "C"}, {"Wc", "K"}, {"wN", "K"}, {"N", "K"},
        {"n", "K"}, {"Dc", "K"}, {"dC", "K"}, {"X", "K"}, {"", "K"}, {"G ", "K"}, {"gg", "K"}, {"Neut", "K"}, {"BH", "K"}};
    for (const auto& [written, normal] : cases) {
        const StellarData data = classified(written, 3, "III");
        EXPECT_EQ(data.spectralclass + data.typename_, normal + std::string("III")) << '"' << written << '"';
        EXPECT_EQ(data.mass, realTables().record(spectralClassIndex(normal), 3, 4).mass) << written;
    }
    // White dwarfs take their subtype's record whatever the luminosity class.
    for (const char* spelling : {"d", "D", "dc", "DC"}) {
        const StellarData dwarf = classified(spelling, 5, "V");
        EXPECT_EQ(dwarf.spectralclass + dwarf.lumclass + dwarf.typename_, "DCWhite Dwarf") << spelling;
        EXPECT_DOUBLE_EQ(dwarf.mass, 0.52) << spelling;
    }
    // "NIL" means the main sequence; other spellings read the "VI" column.
    const StellarData nil = classified("G", 2, "NIL");
    EXPECT_EQ(nil.lumclass + nil.typename_, "VV");
    EXPECT_EQ(nil.mass, realTables().record(4, 2, 6).mass);
    for (const char* other : {"v", "nil", " V"}) {
        const StellarData data = classified("G", 2, other);
        EXPECT_EQ(data.lumclass, other);
        EXPECT_EQ(data.mass, realTables().record(4, 2, 7).mass) << other;
    }
}

TEST(StarCompletionRegion, CentreThenThickDiscThenThinDisc) {
    GalaxyParameters catalogue = galaxy();
    catalogue.thindisc = 6.0;
    const std::pair<CubeIndex, int> cases[] = {
        {{3, 4, 0}, kCentralBar},       {{3, 4, 8}, kCentralBar},        // 9.4 < 10, above the disc
        {{6, 8, 0}, kThinDisc},         {{0, 0, 10}, kThickDiscOrHalo},  // R = 10 is outside
        {{20, 0, 3}, kThickDiscOrHalo}, {{20, 0, -3}, kThickDiscOrHalo},  // |z| = half the disc
        {{20, 0, 2}, kThinDisc},        {{-20, 0, -2}, kThinDisc}};
    for (const auto& [cube, region] : cases)
        EXPECT_EQ(catalogueRegion(catalogue, cube), region) << cube.x << ' ' << cube.y << ' ' << cube.z;
}

TEST(StarCompletionAge, EveryRowOfTheRuleTakesTwoDraws) {
    const double a = 13000.0, b = 8000.0;  // b: the disc age less 20 per cube at 50 cubes
    const double rows[][4] = {  // region, p, low, high
        {0, 96, 1, a}, {0, 95, 0.8 * a, a}, {0, 0, 0.8 * a, a}, {1, 90, 1, a}, {1, 89, 0.6 * a, 0.8 * a},
        {1, 0, 0.6 * a, 0.8 * a}, {2, 96, 1, b}, {2, 95, 0.1 * b, 0.4 * b}, {2, 89, 0.1 * b, 0.4 * b},
        {2, 88, 0.4 * b, 0.6 * b}, {2, 81, 0.4 * b, 0.6 * b}, {2, 80, 0.6 * b, 0.8 * b}, {2, 51, 0.6 * b, 0.8 * b},
        {2, 50, 0.8 * b, b}, {2, 3, 0.8 * b, b}, {2, 2, 1, a}, {2, 0, 1, a}, {5, 2, 1, a}, {5, 60, 0.6 * b, 0.8 * b},
        {-1, 97, 1, b}};
    for (const auto& row : rows) {
        const int p = static_cast<int>(row[1]);
        StellarData data;
        data.mass = 2.0;
        MwcRandom random = drawingP(p), third = drawingP(p);
        ageByRegion(galaxy(), 50.0, static_cast<int>(row[0]), data, random);
        EXPECT_DOUBLE_EQ(data.age, secondDraw(p, row[2], row[3])) << "region " << row[0] << " p " << p;
        third.next();
        third.next();
        EXPECT_EQ(random.next(), third.next());
    }
}

TEST(StarCompletion, MainSequenceStarsTakeTheirAgeAndThenTheirOrientation) {
    // Regions come from the cube; a K5 dwarf outlives the galaxy, so its region age stands.
    const std::pair<CubeIndex, double> cubes[] = {
        {{3, 4, 0}, secondDraw(50, 0.8 * 13000, 13000)},         // the centre
        {{40, 0, -6}, secondDraw(50, 0.6 * 13000, 0.8 * 13000)},  // thick disc or halo
        {{0, 100, 0}, secondDraw(50, 0.8 * 7000, 7000)}};         // thin disc at 100 cubes
    for (const auto& [cube, age] : cubes) {
        StarRecord star = catalogueStar("K", 5, "V", cube);
        MwcRandom random = drawingP(50);
        completeCatalogueStar(galaxy(), realTables(), star, random);
        EXPECT_DOUBLE_EQ(star.physical->age, age) << cube.x << ' ' << cube.y << ' ' << cube.z;
        EXPECT_EQ(star.alias + std::to_string(star.systemfromfile), "0");
    }
    StarRecord sun = catalogueStar("g", 2, "V");
    MwcRandom random = drawingP(30);
    completeCatalogueStar(galaxy(), realTables(), sun, random);
    EXPECT_EQ(sun.physical->initialmass, realTables().record(4, 2, 6).mass);
    EXPECT_EQ(sun.ecliptic, (std::array<float, 3>{131.19443f, sun.ecliptic[1], 140.16733f}));

    // Never older than its lifetime: 0.2 to 0.9 of it, drawn after the region age.
    GalaxyParameters old = galaxy();
    old.discage = 30000.0;
    old.agegradient = 0.0;
    StarRecord sunLike = catalogueStar("G", 2, "NIL");
    random = drawingP(60);
    completeCatalogueStar(old, realTables(), sunLike, random);
    EXPECT_DOUBLE_EQ(sunLike.physical->age, 7441.4292740266364);
}

TEST(StarCompletion, EvolvedStarsAreFittedWithoutAgeDraws) {
    for (const char* lumclass : {"III", "v"}) {  // only "V" is the main sequence
        StarRecord star = catalogueStar("K", 2, lumclass);
        MwcRandom random(99, kSecondWord), first(99, kSecondWord);
        completeCatalogueStar(galaxy(), realTables(), star, random);
        StellarData fitted = classified("K", 2, lumclass);
        realTables().fitEvolved(fitted);
        EXPECT_EQ(star.physical->age, fitted.age) << lumclass;
        EXPECT_FLOAT_EQ(star.ecliptic[0], static_cast<float>(first.uniform(0.0, 360.0)));  // the first draw
    }
}
