// Evaluation of one body: giant kinds, moons (filtering, numbering, orbits, modes), light-gas
// loss, spin locking and small bodies. Whole evaluations are pinned by the golden systems.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "generation/body_evaluation.h"
#include "generation/lcg_random.h"
#include "generation/physical_constants.h"

namespace {

constexpr double kEarth = 1.0 / kEarthMassesPerSolarMass;


class BodyEvaluation : public ::testing::Test {
protected:
    void SetUp() override {
        star_.luminosity = star_.mass = star_.ecosphereradius = 1.0;
        star_.age = 4.5e9;
    }
    void TearDown() override {
        for (BodyNode* b : owned_) releaseBody(b);
    }
    // A body owned by the test, with moons of the given masses and orbits.
    BodyNode* body(double sma, double ecc, double mass, double gasShare = 0.0, std::vector<BodyNode*> moons = {}) {
        BodyNode* made = owned_.emplace_back(loose(sma, ecc, mass, gasShare));
        for (auto moon = moons.rbegin(); moon != moons.rend(); ++moon) (*moon)->next = std::exchange(made->firstmoon, *moon);
        return made;
    }
    static BodyNode* loose(double sma, double ecc, double mass, double gasShare = 0.0) {
        BodyNode* made = new BodyNode;
        made->sma = sma;
        made->ecc = ecc;
        made->mass = mass;
        made->gasmass = mass * gasShare;
        made->dustmass = mass - made->gasmass;
        return made;
    }
    static std::vector<BodyNode*> moonsOf(const BodyNode& planet) {
        std::vector<BodyNode*> out;
        for (BodyNode* m = planet.firstmoon; m != nullptr; m = m->next) out.push_back(m);
        return out;
    }
    GeneratorStar star_;
    LcgRandom random_{4242};

private:
    std::vector<BodyNode*> owned_;
};

}  // namespace

TEST_F(BodyEvaluation, GiantKindsByMassAndGasShare) {
    // {Earth masses, gas share, type}: a mostly rocky body is a gas dwarf by its thick light air.
    const double kinds[][3] = {{5, 0.5, gasdwarf}, {9.99, 0.5, gasdwarf}, {10, 0.5, icegiant}, {99.9, 0.5, icegiant},
                               {20, 0.05, gasdwarf}, {1.5, 0.11, gasdwarf}};
    for (const auto& k : kinds) {
        BodyNode* b = body(5.2, 0.0, k[0] * kEarth, k[1]);
        evaluateBody(*b, 1, star_, kBodyOnly, false, random_);
        EXPECT_EQ(b->type, k[2]) << k[0] << ' ' << k[1];
        EXPECT_EQ(b->surfgrav == std::numeric_limits<double>::infinity(), k[1] > 0.1) << k[0] << ' ' << k[1];
    }
}

TEST_F(BodyEvaluation, MoonsOutsideTheMassWindowOrInsideTheRocheDistanceAreRemoved) {
    // A planet of exactly 5 Earth masses: its moons get random orbits.
    std::vector<BodyNode*> moons;
    // 0.0005 and 1 Earth masses come back exactly when converted.
    for (double m : {0.0005 / kEarthMassesPerSolarMass, 0.3 * kEarth, kEarth, 0.2 * kEarth, 0.0004 * kEarth, 1.2 * kEarth,
                     0.01 * kEarth})
        moons.push_back(loose(0.001, 0.1, m));
    BodyNode* planet = body(1.0, 0.02, kFiveEarthMasses, 0.0, moons);
    random_.seed(11);
    evaluateBody(*planet, 1, star_, kBodyAndMoons, false, random_);
    moons = moonsOf(*planet);
    ASSERT_EQ(moons.size(), 3u);
    for (std::size_t i = 0; i < moons.size(); ++i) {
        EXPECT_DOUBLE_EQ(moons[i]->mass, (i == 0 ? 0.3 : i == 1 ? 0.2 : 0.01) * kEarth);
        EXPECT_EQ(moons[i]->planetnumber, static_cast<int>(i) + 1);
        EXPECT_EQ(moons[i]->sma, 1.0);  // evaluated at the planet's distance from the star
    }
    EXPECT_DOUBLE_EQ(moons[0]->moonsma, 0.0024205129111164246);
    EXPECT_DOUBLE_EQ(moons[0]->moonecc, 0.033196684299450996);
    EXPECT_EQ(random_.state(), 4016555205u);  // ten draws: each kept moon its tilt, distance and eccentricity

    // A heavier planet's moons keep their orbits, unless inside the Roche distance.
    planet = body(1.0, 0.02, std::nextafter(kFiveEarthMasses, 1.0), 0.0,
                  {loose(0.01, 0.05, 0.3 * kEarth), loose(1e-9, 0.0, 0.2 * kEarth), loose(0.02, 0.07, 0.1 * kEarth)});
    random_.seed(12);
    evaluateBody(*planet, 2, star_, kBodyAndMoons, false, random_);
    moons = moonsOf(*planet);
    ASSERT_EQ(moons.size(), 2u);
    EXPECT_EQ(moons[0]->moonsma + moons[0]->moonecc, 0.01 + 0.05);
    EXPECT_EQ(moons[1]->moonsma + moons[1]->moonecc, 0.02 + 0.07);
    EXPECT_EQ(moons[1]->planetnumber, 2);
    EXPECT_EQ(random_.state(), 1904010384u);  // four draws: three moon tilts and the planet's
}

TEST_F(BodyEvaluation, MoonModes) {
    // Each mode leaves the other part alone; a moon's own moons are never handled.
    BodyNode* moon = loose(0.003, 0.01, 0.1 * kEarth);
    moon->firstmoon = loose(0.0001, 0.0, 10.0 * kEarth);
    BodyNode* planet = body(1.0, 0.0, 3.0 * kEarth, 0.0, {moon});
    evaluateBody(*planet, 1, star_, kBodyOnly, false, random_);
    EXPECT_TRUE(moon->sma == 0.003 && planet->radius > 0.0);
    planet->radius = 0.0;
    evaluateBody(*planet, 4, star_, kMoonsOnly, false, random_);
    EXPECT_TRUE(planet->radius == 0.0 && planet->planetnumber == 4);
    EXPECT_TRUE(moon->sma == 1.0 && moon->radius > 0.0 && moon->firstmoon->radius == 0.0);
}

TEST_F(BodyEvaluation, GasLossSpinLockAndSmallBodies) {
    BodyNode* small = body(1.0, 0.0, 0.5 * kEarth, 0.05);  // both light gases escape: 0.85, then 0.999 of the rest
    const double gas = small->gasmass;
    evaluateBody(*small, 1, star_, kBodyOnly, false, random_);
    EXPECT_NEAR(small->gasmass, gas * 0.15 * 0.001, 1e-9 * gas);
    for (double ecc : {0.05, 0.2}) {  // a locked spin makes a one-face body; above 0.1 resonant
        BodyNode* close = body(0.5, ecc, 3.0 * kEarth);
        evaluateBody(*close, 1, star_, kBodyOnly, false, random_);
        EXPECT_EQ(close->resonant, ecc > 0.1);
        EXPECT_EQ(close->type, oneface) << ecc;
    }
    // {Earth masses, evaluated as a moon, type}: only planets can be asteroids.
    const double rows[][3] = {{0.0009, 0, asteroids}, {0.0009, 1, rock}, {0.0011, 0, rock}};
    for (const auto& r : rows) {
        BodyNode* tiny = body(2.0, 0.0, r[0] * kEarth);
        evaluateBody(*tiny, 1, star_, r[1] > 0 ? kBodyAndMoons : kBodyOnly, r[1] > 0, random_);
        EXPECT_EQ(tiny->type, r[2]) << r[0] << ' ' << r[1];
    }
}
