// Atmosphere composition: which gases a body keeps, in what shares, and what the atmosphere
// weighs. The reference shares were worked out by hand for one Earth-like body.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

#include "generation/atmosphere.h"
#include "generation/gas_table.h"
#include "generation/physical_constants.h"

namespace {

struct EarthLike {
    GeneratorStar star;
    BodyNode body;

    explicit EarthLike(double age = 4.5e9, double surfaceTemp = 288.0) {
        star.mass = 1.0;
        star.age = age;
        body.star = &star;
        body.surfpressure = 1013.25;
        body.lowtemp = 260.0;
        body.maxtemp = 310.0;
        body.mintemp = 240.0;
        body.medsurftemp = surfaceTemp;
        body.minmolweight = 5.0;
        body.exotemp = 1273.0;
        body.escvelocity = 1118258.961173757;
        body.mass = 1.0 / kEarthMassesPerSolarMass;
        body.gasmass = 0.0;
    }

    std::map<int, double> shares() {
        composeAtmosphere(star, body);
        std::map<int, double> out;
        for (const AtmosphereGas& gas : body.atmcompounds) out[gas.gasnumber] = gas.percentage;
        return out;
    }
};

}  // namespace

TEST(Atmosphere, NoGasesAtOrBelowATenthOfAMillibar) {
    EarthLike world;
    world.body.surfpressure = 0.1;
    world.body.atmdensity = 5.0;
    composeAtmosphere(world.star, world.body);
    EXPECT_TRUE(world.body.gascount == 0 && world.body.atmcompounds.empty());
    EXPECT_EQ(world.body.atmdensity, 0.0);
}

TEST(Atmosphere, EveryGasFailingLeavesAnEmptyAtmosphere) {
    // Everything condenses on a surface whose night side is at 1 K; nothing weighs 200.
    for (const bool cold : {true, false}) {
        EarthLike world;
        (cold ? world.body.lowtemp : world.body.minmolweight) = cold ? 1.0 : 200.0;
        composeAtmosphere(world.star, world.body);
        EXPECT_TRUE(world.body.gascount == 0 && world.body.atmcompounds.empty()) << cold;
        EXPECT_EQ(world.body.molconst, std::numeric_limits<double>::infinity()) << cold;
        EXPECT_EQ(world.body.atmdensity, 0.0) << cold;
    }
}

TEST(Atmosphere, EarthLikeComposition) {
    EarthLike world;
    const std::map<int, double> shares = world.shares();
    // Twelve gases pass: not H and He (too light), nor water, peroxide, SO2, nitric acid,
    // S2Cl2 and sulphuric acid (they condense).
    EXPECT_EQ(world.body.gascount, 12);
    EXPECT_EQ(shares.size(), 12u);
    EXPECT_EQ(shares.count(1) + shares.count(2) + shares.count(901) + shares.count(907), 0u);
    EXPECT_NEAR(shares.at(7), 77.79925838554055, 1e-9);
    EXPECT_NEAR(shares.at(8), 21.692618809923626, 1e-9);
    EXPECT_NEAR(shares.at(18), 0.4801202426259165, 1e-11);
    EXPECT_NEAR(shares.at(903), 3.8038059565281084e-07, 1e-17);

    double percent = 0.0;
    for (std::size_t i = 0; i < world.body.atmcompounds.size(); ++i) {
        const AtmosphereGas& gas = world.body.atmcompounds[i];
        percent += gas.percentage;
        EXPECT_NEAR(gas.percentage, gas.partialpressure / 1013.25 * 100.0, 1e-12);
        if (i > 0) EXPECT_GE(world.body.atmcompounds[i - 1].partialpressure, gas.partialpressure);
    }
    EXPECT_NEAR(percent, 100.0, 1e-9);
    // Mean molar mass about 29 g/mol; density of an ideal gas at the mean of 310 K and 240 K.
    EXPECT_DOUBLE_EQ(world.body.molconst, 287.29468649392362);
    EXPECT_DOUBLE_EQ(world.body.atmdensity, 1.283177505275539);
}

TEST(Atmosphere, OxygenAndCarbonDioxideTermsNeedAnOldStarAndAMildSurface) {
    const std::map<int, double> mild = EarthLike(4.5e9, 288.0).shares();
    const std::map<int, double> cold = EarthLike(4.5e9, 269.0).shares();
    EXPECT_NEAR(cold.at(8), 0.05874771505566422, 1e-12);
    EXPECT_GT(mild.at(8), 100.0 * cold.at(8));

    // The bounds 270 K and 400 K themselves are outside the mild range.
    for (double t : {270.0, 400.0, 450.0}) {
        const std::map<int, double> edge = EarthLike(4.5e9, t).shares();
        EXPECT_DOUBLE_EQ(edge.at(8), cold.at(8)) << t;
        EXPECT_DOUBLE_EQ(edge.at(902), cold.at(902)) << t;
    }
    EXPECT_DOUBLE_EQ(EarthLike(4.5e9, 270.001).shares().at(8), mild.at(8));
    EXPECT_DOUBLE_EQ(EarthLike(4.5e9, 399.999).shares().at(8), mild.at(8));

    // A star of exactly 2e9 years is not old enough.
    const std::map<int, double> young = EarthLike(2e9, 288.0).shares();
    const std::map<int, double> youngCold = EarthLike(2e9, 269.0).shares();
    EXPECT_NEAR(young.at(8), 10.296974970946094, 1e-9);
    EXPECT_DOUBLE_EQ(young.at(8), youngCold.at(8));
    EXPECT_DOUBLE_EQ(young.at(902), youngCold.at(902));
}

TEST(Atmosphere, HeliumFollowsTheAccretedGas) {
    EarthLike bare;
    bare.body.minmolweight = 3.0;
    const std::map<int, double> without = bare.shares();
    EarthLike gassy;
    gassy.body.minmolweight = 3.0;
    gassy.body.gasmass = 0.1 * gassy.body.mass;
    const std::map<int, double> with = gassy.shares();
    ASSERT_EQ(without.count(2), 1u);
    ASSERT_EQ(with.count(2), 1u);
    // The abundance scales with 0.001 + gas/mass; the other gases keep their ratios.
    const double ratioWithout = without.at(2) / without.at(7);
    const double ratioWith = with.at(2) / with.at(7);
    EXPECT_NEAR(ratioWith / ratioWithout, 0.101 / 0.001, 1e-6);
    EXPECT_NEAR(with.at(8) / with.at(7), without.at(8) / without.at(7), 1e-12);
}

TEST(Atmosphere, AReplacedAtmosphereDropsTheOldGases) {
    EarthLike world;
    world.shares();
    ASSERT_EQ(world.body.gascount, 12);
    world.body.minmolweight = 30.0;  // now nitrogen cannot stay
    const std::map<int, double> shares = world.shares();
    EXPECT_EQ(shares.count(7), 0u);
    EXPECT_EQ(world.body.gascount, static_cast<int>(world.body.atmcompounds.size()));
    double percent = 0.0;
    for (const auto& [number, share] : shares) percent += share;
    EXPECT_NEAR(percent, 100.0, 1e-9);
}
