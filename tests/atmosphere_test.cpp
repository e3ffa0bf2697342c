// Atmosphere composition: which gases a body keeps, in what shares, and what the atmosphere
// weighs. The reference shares were worked out by hand for one Earth-like body.

#include <gtest/gtest.h>

#include <limits>
#include <map>

#include "generation/atmosphere.h"
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
    }

    std::map<int, double> shares() {
        composeAtmosphere(star, body);
        std::map<int, double> out;
        for (const AtmosphereGas& gas : body.atmcompounds) out[gas.gasnumber] = gas.percentage;
        return out;
    }
};

}  // namespace

TEST(Atmosphere, NoGasesAtATenthOfAMillibarOrWhenEveryGasFails) {
    // Nothing at 0.1 mbar; everything condenses on a night side at 1 K; nothing weighs 200.
    for (int row = 0; row < 3; ++row) {
        EarthLike world;
        world.body.surfpressure = row == 0 ? 0.1 : 1013.25;
        world.body.lowtemp = row == 1 ? 1.0 : 260.0;
        world.body.minmolweight = row == 2 ? 200.0 : 5.0;
        world.body.atmdensity = 5.0;
        EXPECT_TRUE(world.shares().empty()) << row;
        EXPECT_EQ(world.body.atmdensity, 0.0) << row;
        EXPECT_EQ(world.body.molconst, row == 0 ? 0.0 : std::numeric_limits<double>::infinity()) << row;
    }
}

TEST(Atmosphere, EarthLikeCompositionAndItsReplacement) {
    EarthLike world;
    std::map<int, double> shares = world.shares();
    // Twelve gases pass: not H and He (too light), nor water, peroxide, SO2, nitric acid,
    // S2Cl2 and sulphuric acid (they condense).
    EXPECT_EQ(world.body.gascount, 12);
    EXPECT_EQ(shares.count(1) + shares.count(2) + shares.count(901) + shares.count(907), 0u);
    EXPECT_NEAR(shares.at(7), 77.79925838554055, 1e-9);
    EXPECT_NEAR(shares.at(8), 21.692618809923626, 1e-9);
    for (std::size_t i = 1; i < world.body.atmcompounds.size(); ++i)
        EXPECT_GE(world.body.atmcompounds[i - 1].partialpressure, world.body.atmcompounds[i].partialpressure);
    // Mean molar mass about 29 g/mol; density of an ideal gas at the mean of 310 K and 240 K.
    EXPECT_DOUBLE_EQ(world.body.molconst, 287.29468649392362);
    EXPECT_DOUBLE_EQ(world.body.atmdensity, 1.283177505275539);

    world.body.minmolweight = 30.0;  // now nitrogen cannot stay
    shares = world.shares();
    EXPECT_EQ(shares.count(7), 0u);
    EXPECT_EQ(world.body.gascount, static_cast<int>(world.body.atmcompounds.size()));
}

TEST(Atmosphere, OxygenAndCarbonDioxideNeedAnOldStarAndAMildSurface) {
    const std::map<int, double> cold = EarthLike(4.5e9, 269.0).shares();
    const std::map<int, double> youngCold = EarthLike(2e9, 269.0).shares();
    EXPECT_NEAR(cold.at(8), 0.05874771505566422, 1e-12);
    // {star age, surface temperature, mild}: the bounds themselves are outside the mild range.
    const double rows[][3] = {{4.5e9, 288, 1},     {4.5e9, 270, 0}, {4.5e9, 270.001, 1}, {4.5e9, 399.999, 1},
                              {4.5e9, 400, 0},     {4.5e9, 450, 0}, {2e9, 288, 0},       {2.0001e9, 288, 1}};
    for (const auto& r : rows) {
        const std::map<int, double> s = EarthLike(r[0], r[1]).shares();
        const std::map<int, double>& notMild = r[0] > 2e9 ? cold : youngCold;
        EXPECT_EQ(s.at(8) == notMild.at(8), r[2] == 0) << r[0] << ' ' << r[1];
        EXPECT_EQ(s.at(902) == notMild.at(902), r[2] == 0) << r[0] << ' ' << r[1];
    }
    EXPECT_NEAR(EarthLike(2e9, 288.0).shares().at(8), 10.296974970946094, 1e-9);
}
