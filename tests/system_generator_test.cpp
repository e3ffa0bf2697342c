// Generating a star's system: excluded stars, seeding, generation side by side, and the planets
// a swollen star swallows. The systems themselves are pinned by the golden outputs.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "galaxy/star_record.h"
#include "generation/accretion.h"
#include "generation/generated_system.h"
#include "generation/lcg_random.h"

namespace {

StellarData sunLike() {
    StellarData star;
    star.name = "Test Star";
    star.typename_ = "Main Sequence Star";
    star.initialmass = star.mass = star.luminosity = star.radius = 1.0;
    return star;
}

// Every body's name, orbit, mass, type, radius and gases, in order.
std::vector<std::string> fingerprint(const GeneratedSystem& system) {
    std::vector<std::string> out{system.name + " " + std::to_string(system.planetcount)};
    for (const PlanetSlot& slot : system.planets)
        for (const PlanetRecord& body : slot.bodies) {
            char text[200];
            std::snprintf(text, sizeof text, "%s %.17g %.17g %.17g %d %.17g %d", body.name.c_str(), body.sma,
                          body.ecc, body.mass, static_cast<int>(body.type), body.radius, body.gascount);
            out.push_back(text);
        }
    return out;
}

std::vector<std::string> generated(double seed, const StellarData& star = sunLike()) {
    GeneratedSystem system;
    system.generateFor(seed, star);
    return fingerprint(system);
}

}  // namespace

TEST(SystemGenerator, ExcludedStarsGetNoPlanetsAndNoDraws) {
    for (const char* type : {"White Dwarf", "Neutron Star", "Black Hole", "VI"}) {
        StellarData star = sunLike();
        star.typename_ = type;
        star.name = "Remnant";
        GeneratedSystem system;
        system.generateFor(7.0, sunLike());
        LcgRandom random(31);
        system.generateFor(7.0, star, random);
        EXPECT_EQ(fingerprint(system), std::vector<std::string>{"Remnant 0"}) << type;
        EXPECT_TRUE(system.planets.empty()) << type;
        EXPECT_EQ(random.state(), 31u) << type;
    }
    for (const char* type : {"Supermassive Black Hole", "White Dwarf ", "white dwarf", "VII"}) {
        StellarData star = sunLike();
        star.typename_ = type;
        EXPECT_GT(generated(7.0, star).size(), 1u) << type;
    }
}

TEST(SystemGenerator, SeedIsTheIntegerPartModuloTwoToThe32) {
    EXPECT_EQ(generated(2.9), generated(2.0));
    EXPECT_EQ(generated(-1.0), generated(4294967295.0));
    EXPECT_EQ(generated(4294967301.0), generated(5.0));  // 2^32 + 5
    EXPECT_NE(generated(1.0), generated(2.0));
    // Generating into a system that already holds one replaces it.
    GeneratedSystem reused;
    reused.generateFor(99.0, sunLike());
    reused.generateFor(123456.0, sunLike());
    EXPECT_EQ(fingerprint(reused), generated(123456.0));
}

TEST(SystemGenerator, SystemsGeneratedSideBySideMatchThoseGeneratedInTurn) {
    StellarData heavier = sunLike();
    heavier.initialmass = heavier.mass = 1.4;
    const auto generateAll = [](const StellarData& star, std::vector<std::vector<std::string>>& out) {
        for (std::size_t i = 0; i < out.size(); ++i) out[i] = generated(i + 1.0, star);
    };
    std::vector<std::vector<std::string>> inTurnA(30), inTurnB(30), sideA(30), sideB(30);
    generateAll(sunLike(), inTurnA);
    generateAll(heavier, inTurnB);
    std::thread first(generateAll, sunLike(), std::ref(sideA));
    std::thread second(generateAll, heavier, std::ref(sideB));
    first.join();
    second.join();
    EXPECT_EQ(inTurnA, sideA);
    EXPECT_EQ(inTurnB, sideB);
}

TEST(SystemGenerator, AGiantStarSwallowsItsInnerPlanets) {
    // A star of 100 solar radii (about 0.465 AU) that lost a tenth of its mass, whose planets
    // moved out by 1 / 0.9: survivors keep their numbers, letters follow the survivors.
    StellarData star = sunLike();
    star.mass = 0.9;
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
    LcgRandom random(4);
    BodyNode* accreted = AccretionDisc(random).accrete(1.0, 1.0, 0.0, 200.0, 0.0, 0.002, true);
    int inside = 0;
    for (const BodyNode* p = accreted; p != nullptr; p = p->next) inside += p->sma / 0.9 <= 0.46491;
    releaseBodies(accreted);
    EXPECT_GT(inside, 0);
}
