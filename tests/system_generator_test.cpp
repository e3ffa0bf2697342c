// Generating a star's system: excluded stars, seeding, the planets a swollen star swallows, and
// the edges of the name tables. The systems themselves are pinned by the golden outputs.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "galaxy/star_record.h"
#include "generation/gas_table.h"
#include "generation/generated_system.h"
#include "generation/lcg_random.h"

namespace {

StellarData sunLike(const char* type = "Main Sequence Star", double mass = 1.0) {
    return {.mass = mass, .name = "Test Star", .typename_ = type, .luminosity = 1.0, .radius = 1.0, .initialmass = mass};
}

// Every body's orbit, mass, type, radius and gas count, in order.
std::vector<double> generated(double seed, const StellarData& star = sunLike()) {
    GeneratedSystem system;
    system.generateFor(seed, star);
    std::vector<double> out{double(system.planetcount)};
    for (const PlanetSlot& slot : system.planets)
        for (const PlanetRecord& b : slot.bodies)
            out.insert(out.end(), {b.sma, b.ecc, b.mass, double(b.type), b.radius, double(b.gascount)});
    return out;
}

}  // namespace

TEST(SystemGenerator, ExcludedStarsGetNoPlanetsAndNoDraws) {
    for (const char* type : {"White Dwarf", "Neutron Star", "Black Hole", "VI"}) {
        GeneratedSystem system;
        system.generateFor(7.0, sunLike());
        LcgRandom random(31);
        system.generateFor(7.0, sunLike(type), random);
        EXPECT_EQ(system.planetcount, 0) << type;
        EXPECT_TRUE(system.planets.empty()) << type;
        EXPECT_EQ(random.state(), 31u) << type;
    }
    for (const char* type : {"Supermassive Black Hole", "White Dwarf ", "white dwarf", "VII"})
        EXPECT_GT(generated(7.0, sunLike(type)).size(), 1u) << type;
}

TEST(SystemGenerator, SeedIsTheIntegerPartModuloTwoToThe32) {
    EXPECT_EQ(generated(2.9), generated(2.0));
    EXPECT_EQ(generated(-1.0), generated(4294967295.0));
    EXPECT_EQ(generated(4294967301.0), generated(5.0));  // 2^32 + 5
    EXPECT_NE(generated(1.0), generated(2.0));
    GeneratedSystem reused;  // generating into a system that already holds one replaces it
    reused.generateFor(99.0, sunLike());
    reused.generateFor(5.0, sunLike());
    EXPECT_EQ(reused.planetcount, generated(5.0)[0]);
}

TEST(SystemGenerator, AGiantStarSwallowsItsInnerPlanets) {
    // A star of 100 solar radii (about 0.465 AU) that lost a tenth of its mass, whose planets
    // moved out by 1 / 0.9: survivors keep their numbers, letters follow the survivors.
    StellarData star = sunLike("Main Sequence Star", 0.9);
    star.initialmass = 1.0;
    star.radius = 100.0;
    GeneratedSystem system;
    system.generateFor(4.0, star);
    ASSERT_GT(system.planetcount, 0);
    EXPECT_EQ(system.planets[0].bodies[0].planetnumber, 2);  // the first was swallowed
    for (int i = 0; i < system.planetcount; ++i) {
        const PlanetRecord& planet = system.planets[static_cast<std::size_t>(i)].bodies[0];
        EXPECT_EQ(planet.name, std::string(1, static_cast<char>('a' + i)));
        EXPECT_LT(100.0 * 695500.0, planet.sma * 149597870.7 * (1.0 - planet.ecc));
    }
}

TEST(GeneratedSystemNames, EdgesOfTheNameTables) {
    EXPECT_STREQ(planetTypeName(17), "Unknown");
    EXPECT_STREQ(planetTypeName(-1), "Unknown");
    for (const int gas : {0, 3, 912}) EXPECT_STREQ(gasDisplayName(gas), "") << gas;
    EXPECT_EQ(findGas(9), nullptr);  // has a display name but no row
    const std::pair<int, const char*> numerals[] = {{14, "XIV"}, {18, "XVIII"}, {20, "XX"}, {0, ""}, {21, ""}, {-3, ""}};
    for (const auto& [number, numeral] : numerals) EXPECT_STREQ(moonNumeral(number), numeral) << number;
    EXPECT_EQ(planetLetter(25) + planetLetter(26) + planetLetter(27), "z{|");  // past z the letters go on
}
