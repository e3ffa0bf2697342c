// Evaluation of one body: giants, moons (filtering, numbering, orbits), the random draws an
// evaluation makes, light-gas loss, spin locking and the typing rules.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "generation/body_evaluation.h"
#include "generation/lcg_random.h"
#include "generation/physical_constants.h"
#include "generation/planet_physics.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kEarth = 1.0 / kEarthMassesPerSolarMass;

GeneratorStar sunLike() {
    GeneratorStar star;
    star.luminosity = star.mass = star.ecosphereradius = 1.0;
    star.life = 1e10;
    star.age = 4.5e9;
    return star;
}

// A mass in solar masses that is exactly `earthMasses` when converted back.
double exactEarthMasses(double earthMasses) {
    double m = earthMasses / kEarthMassesPerSolarMass;
    for (int i = 0; i < 8 && m * kEarthMassesPerSolarMass != earthMasses; ++i)
        m = std::nextafter(m, m * kEarthMassesPerSolarMass < earthMasses ? 1.0 : 0.0);
    EXPECT_EQ(m * kEarthMassesPerSolarMass, earthMasses);
    return m;
}

BodyNode* makeBody(double sma, double ecc, double mass, double gasShare = 0.0) {
    BodyNode* body = new BodyNode;
    body->sma = sma;
    body->ecc = ecc;
    body->mass = mass;
    body->gasmass = mass * gasShare;
    body->dustmass = mass - body->gasmass;
    return body;
}

void appendMoon(BodyNode& planet, BodyNode* moon) {
    BodyNode** link = &planet.firstmoon;
    while (*link != nullptr) link = &(*link)->next;
    *link = moon;
}

std::vector<BodyNode*> moonsOf(const BodyNode& planet) {
    std::vector<BodyNode*> out;
    for (BodyNode* m = planet.firstmoon; m != nullptr; m = m->next) out.push_back(m);
    return out;
}

class BodyEvaluation : public ::testing::Test {
protected:
    void TearDown() override {
        for (BodyNode* b : owned_) releaseBody(b);
    }
    BodyNode* own(BodyNode* b) {
        owned_.push_back(b);
        return b;
    }
    GeneratorStar star_ = sunLike();
    LcgRandom random_{4242};

private:
    std::vector<BodyNode*> owned_;
};

}  // namespace

TEST_F(BodyEvaluation, AGiantHasNoSurface) {
    BodyNode* giant = own(makeBody(5.2, 0.05, 300.0 * kEarth, 0.9));
    random_.seed(7);
    evaluateBody(*giant, 3, star_, kBodyOnly, false, random_);

    EXPECT_EQ(giant->planetnumber, 3);
    for (double value : {giant->surfpressure, giant->medsurftemp, giant->boilpoint, giant->surfgrav, giant->volinventory})
        EXPECT_EQ(value, kInf);
    EXPECT_EQ(giant->greenhouse + giant->gascount, 0);
    EXPECT_EQ(giant->hydrofraction + giant->cloudfraction + giant->icefraction, 2.0);
    EXPECT_DOUBLE_EQ(giant->mass, 300.0 * kEarth);  // giants lose no gas

    // Two draws: the axial tilt, then the albedo around 0.5.
    LcgRandom replay(7);
    replay.next();
    replay.next();
    EXPECT_EQ(random_.state(), replay.state());
    EXPECT_DOUBLE_EQ(giant->albedo, 0.50316934720908235);
    EXPECT_EQ(giant->axtilt, 19.0);
    EXPECT_EQ(giant->type, sudarskyi);  // about 120 K at 5.2 AU
    EXPECT_DOUBLE_EQ(giant->radius, 64155.18742408439);
    EXPECT_LE(giant->minmolweight, 4.0);
    EXPECT_EQ(giant->orbitzone, 2);
}

TEST_F(BodyEvaluation, GiantKindsByMassAndGasShare) {
    // Half gas: a gas dwarf at 5 Earth masses, an ice giant at 20; mostly rock has a surface.
    const std::pair<double, double> bodies[] = {{5.0, 0.5}, {20.0, 0.5}, {20.0, 0.05}};
    const PlanetType types[] = {gasdwarf, icegiant, gasdwarf};  // the last by its thick light air
    for (int i = 0; i < 3; ++i) {
        BodyNode* body = own(makeBody(5.2, 0.0, bodies[i].first * kEarth, bodies[i].second));
        evaluateBody(*body, 1, star_, kBodyOnly, false, random_);
        EXPECT_EQ(body->type, types[i]) << i;
        EXPECT_EQ(body->surfgrav == kInf, i < 2) << i;
    }
}

TEST_F(BodyEvaluation, MoonsOutsideTheMassWindowAreRemovedAndTheRestRenumbered) {
    // A planet of exactly 5 Earth masses: its moons get random orbits.
    BodyNode* planet = own(makeBody(1.0, 0.02, kFiveEarthMasses));
    const double masses[] = {exactEarthMasses(0.0005), 0.3 * kEarth, exactEarthMasses(1.0),
                             0.2 * kEarth, 0.0004 * kEarth, 1.2 * kEarth, 0.01 * kEarth};
    for (double m : masses) appendMoon(*planet, makeBody(0.001, 0.1, m));

    random_.seed(11);
    evaluateBody(*planet, 1, star_, kBodyAndMoons, false, random_);
    const std::vector<BodyNode*> moons = moonsOf(*planet);
    ASSERT_EQ(moons.size(), 3u);
    EXPECT_DOUBLE_EQ(moons[0]->mass, 0.3 * kEarth);
    EXPECT_DOUBLE_EQ(moons[1]->mass, 0.2 * kEarth);
    EXPECT_DOUBLE_EQ(moons[2]->mass, 0.01 * kEarth);

    // Each kept moon draws its tilt, then its distance and eccentricity; the planet its tilt.
    for (std::size_t i = 0; i < moons.size(); ++i) {
        EXPECT_EQ(moons[i]->planetnumber, static_cast<int>(i) + 1);
        EXPECT_EQ(moons[i]->sma, 1.0);  // evaluated at the planet's distance from the star
    }
    EXPECT_DOUBLE_EQ(moons[0]->moonsma, 0.0024205129111164246);
    EXPECT_DOUBLE_EQ(moons[0]->moonecc, 0.033196684299450996);
    LcgRandom replay(11);
    for (int i = 0; i < 10; ++i) replay.next();
    EXPECT_EQ(random_.state(), replay.state());
    EXPECT_EQ(planet->planetnumber, 1);
}

TEST_F(BodyEvaluation, MoonsOfAHeavierPlanetKeepTheirOrbitsOutsideTheRocheDistance) {
    BodyNode* planet = own(makeBody(1.0, 0.02, std::nextafter(kFiveEarthMasses, 1.0)));
    appendMoon(*planet, makeBody(0.01, 0.05, 0.3 * kEarth));
    appendMoon(*planet, makeBody(1e-9, 0.0, 0.2 * kEarth));  // inside the Roche distance
    appendMoon(*planet, makeBody(0.02, 0.07, 0.1 * kEarth));
    random_.seed(12);
    evaluateBody(*planet, 2, star_, kBodyAndMoons, false, random_);
    const std::vector<BodyNode*> moons = moonsOf(*planet);
    ASSERT_EQ(moons.size(), 2u);
    EXPECT_EQ(moons[0]->moonsma + moons[0]->moonecc, 0.01 + 0.05);
    EXPECT_EQ(moons[1]->moonsma + moons[1]->moonecc, 0.02 + 0.07);
    EXPECT_EQ(moons[1]->planetnumber, 2);
    // Three moon tilts (the removed moon was evaluated first) and the planet's tilt.
    LcgRandom replay(12);
    for (int i = 0; i < 4; ++i) replay.next();
    EXPECT_EQ(random_.state(), replay.state());
}

TEST_F(BodyEvaluation, MoonModes) {
    BodyNode* planet = own(makeBody(1.0, 0.0, 3.0 * kEarth));
    BodyNode* moon = makeBody(0.003, 0.01, 0.1 * kEarth);
    // A moon's own moons are never handled.
    moon->firstmoon = makeBody(0.0001, 0.0, 10.0 * kEarth);
    appendMoon(*planet, moon);

    evaluateBody(*planet, 1, star_, kBodyOnly, false, random_);
    EXPECT_EQ(moon->sma, 0.003);  // moons left alone
    EXPECT_GT(planet->radius, 0.0);

    BodyNode* other = own(makeBody(1.5, 0.0, 3.0 * kEarth));
    BodyNode* otherMoon = makeBody(0.003, 0.01, 0.1 * kEarth);
    appendMoon(*other, otherMoon);
    evaluateBody(*other, 4, star_, kMoonsOnly, false, random_);
    EXPECT_EQ(other->radius, 0.0);  // the planet itself is not evaluated
    EXPECT_EQ(other->planetnumber, 4);
    EXPECT_EQ(otherMoon->sma, 1.5);
    EXPECT_GT(otherMoon->radius, 0.0);

    evaluateBody(*planet, 1, star_, kBodyAndMoons, false, random_);
    ASSERT_EQ(planet->firstmoon, moon);
    ASSERT_NE(moon->firstmoon, nullptr);
    EXPECT_EQ(moon->firstmoon->radius, 0.0);
    EXPECT_GT(moon->radius, 0.0);
}

TEST_F(BodyEvaluation, SmallBodiesLoseTheirHydrogenAndHelium) {
    BodyNode* body = own(makeBody(1.0, 0.0, 0.5 * kEarth, 0.05));
    const double gas = body->gasmass;
    evaluateBody(*body, 1, star_, kBodyOnly, false, random_);
    ASSERT_EQ(body->type, oceanic);
    // Both gases escape long before 4.5e9 years: 0.85 of the gas, then 0.999 of the rest.
    EXPECT_NEAR(body->gasmass, gas * 0.15 * 0.001, 1e-9 * gas);
    EXPECT_NEAR(body->mass, 0.5 * kEarth - gas * (1.0 - 0.15 * 0.001), 1e-12 * body->mass);
    EXPECT_NEAR(body->surfaccel, surfaceAcceleration(body->mass, body->radius), 1e-9);
}

TEST_F(BodyEvaluation, ALockedSpinMakesAOneFaceBody) {
    for (double ecc : {0.05, 0.2}) {  // above 0.1 the lock is resonant
        BodyNode* body = own(makeBody(0.5, ecc, 3.0 * kEarth));
        evaluateBody(*body, 1, star_, kBodyOnly, false, random_);
        EXPECT_EQ(body->resonant, ecc > 0.1);
        EXPECT_NEAR(body->day, body->period * 24.0 * (ecc > 0.1 ? 0.8 / 1.2 : 1.0), 1e-9);
        EXPECT_EQ(body->type, oneface) << ecc;
    }
}

TEST_F(BodyEvaluation, AsteroidsAndRock) {
    BodyNode* tiny = own(makeBody(2.0, 0.0, 0.0009 * kEarth));
    evaluateBody(*tiny, 1, star_, kBodyOnly, false, random_);
    EXPECT_LT(tiny->surfpressure, 1.0);
    EXPECT_EQ(tiny->type, asteroids);

    BodyNode* asMoon = own(makeBody(2.0, 0.0, 0.0009 * kEarth));
    evaluateBody(*asMoon, 1, star_, kBodyAndMoons, true, random_);
    EXPECT_EQ(asMoon->type, rock);

    BodyNode* small = own(makeBody(2.0, 0.0, 0.0011 * kEarth));
    evaluateBody(*small, 1, star_, kBodyOnly, false, random_);
    EXPECT_EQ(small->type, rock);
    EXPECT_EQ(small->boilpoint, 0.0);
}

TEST_F(BodyEvaluation, EvaluatingAgainStartsAfreshExceptForTheAlbedo) {
    BodyNode* body = own(makeBody(1.0, 0.02, 0.9 * kEarth));
    random_.seed(5);
    evaluateBody(*body, 1, star_, kBodyOnly, false, random_);
    BodyNode* copy = own(makeBody(1.0, 0.02, 0.9 * kEarth));
    random_.seed(5);
    evaluateBody(*copy, 1, star_, kBodyOnly, false, random_);
    const double albedo = body->albedo;

    // Same draws again: everything but the number and the greenhouse rise, which is measured
    // from the albedo the body already had, comes out the same.
    random_.seed(5);
    evaluateBody(*body, 5, star_, kBodyOnly, false, random_);
    EXPECT_EQ(body->planetnumber, 5);
    EXPECT_EQ(body->type, copy->type);
    EXPECT_EQ(body->mass, copy->mass);
    EXPECT_EQ(body->surfpressure, copy->surfpressure);
    EXPECT_EQ(body->medsurftemp, copy->medsurftemp);
    EXPECT_EQ(body->albedo, copy->albedo);
    EXPECT_DOUBLE_EQ(body->greenhouserise,
                     body->medsurftemp - estimatedTemp(1.0, 1.0, albedo));
    EXPECT_DOUBLE_EQ(copy->greenhouserise, copy->medsurftemp - estimatedTemp(1.0, 1.0, 0.0));
}
