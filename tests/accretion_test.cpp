// Dust-disc accretion: the reach, the dust test, the sweep, the clearing of swept lanes and the
// placing of bodies (collision, merging, moon capture). Whole discs are pinned by the golden
// systems; these cases guard the boundaries those systems do not happen to reach.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "generation/accretion.h"
#include "generation/lcg_random.h"
#include "generation/physical_constants.h"

namespace {

struct Band {
    double inner, outer;
    int dust, gas;
};

double reducedMass(double m) { return std::pow(m / (1.0 + m), 0.25); }

class Accretion : public ::testing::Test {
protected:
    void setBands(const std::vector<Band>& bands) {
        disc.start(0.0, 1.0);
        releaseBands(state().bands);
        state().bands = nullptr;
        DustBand** link = &state().bands;
        for (const Band& b : bands) {
            *link = new DustBand{};
            (*link)->inneredge = b.inner;
            (*link)->outeredge = b.outer;
            (*link)->dustpresent = b.dust;
            (*link)->gaspresent = b.gas;
            link = &(*link)->next;
        }
    }

    void expectBands(const std::vector<Band>& expected) {
        std::size_t i = 0;
        for (const DustBand* b = state().bands; b != nullptr; b = b->next, ++i) {
            ASSERT_LT(i, expected.size());
            EXPECT_EQ(b->inneredge, expected[i].inner) << "band " << i;
            EXPECT_EQ(b->outeredge, expected[i].outer) << "band " << i;
            EXPECT_EQ(b->dustpresent, expected[i].dust) << "band " << i;
            EXPECT_EQ(b->gaspresent, expected[i].gas) << "band " << i;
        }
        EXPECT_EQ(i, expected.size());
    }

    BodyNode* addPlanet(double sma, double ecc, double mass, double gas = 0.0) {
        BodyNode** link = &state().planets;
        while (*link != nullptr) link = &(*link)->next;
        *link = new BodyNode;
        (*link)->sma = sma;
        (*link)->ecc = ecc;
        (*link)->mass = mass;
        (*link)->dustmass = mass - gas;
        (*link)->gasmass = gas;
        return *link;
    }

    // Places a body of `mass` (dust only unless gas is given) into an empty, dust-free disc.
    void place(double a, double e, double mass, double critMass, double gas, bool withMoons) {
        state().reducedmass = reducedMass(mass);
        disc.placeBody(a, e, mass, critMass, mass - gas, gas, 1.0, 0.3, 50.0, withMoons);
    }

    std::vector<const BodyNode*> planetList() {
        std::vector<const BodyNode*> out;
        for (const BodyNode* p = state().planets; p != nullptr; p = p->next) out.push_back(p);
        return out;
    }

    AccretionState& state() { return disc.state(); }

    LcgRandom random{1};
    AccretionDisc disc{random};
};

}  // namespace

TEST_F(Accretion, StartReachAndCriticalMass) {
    setBands({{1.0, 2.0, 0, 0}});
    addPlanet(1.0, 0.0, 1e-6);
    state().cloudecc = 0.5;
    disc.start(0.05, 200.0);
    expectBands({{0.05, 200.0, 1, 1}});
    EXPECT_EQ(state().planets, nullptr);
    EXPECT_EQ(state().cloudecc, 0.2);
    EXPECT_TRUE(state().dustleft);

    EXPECT_DOUBLE_EQ(disc.reachInner(1.0, 0.1, 0.01), 0.9 * 0.99 / 1.2);
    EXPECT_DOUBLE_EQ(disc.reachOuter(1.0, 0.1, 0.01), 1.1 * 1.01 / 0.8);
    EXPECT_DOUBLE_EQ(criticalMass(1.0, 0.0, 1.0), 1.2e-5);
    EXPECT_DOUBLE_EQ(criticalMass(16.0, 0.5, 4.0), 1.2e-5 / 8.0);  // (16 * 0.5 * 2)^-0.75
}

TEST_F(Accretion, DustTestAtBandEdges) {
    setBands({{0.5, 1.0, 1, 1}, {1.0, 2.0, 0, 1}, {2.0, 3.0, 1, 1}});
    EXPECT_FALSE(disc.hasDust(1.2, 1.8));
    EXPECT_TRUE(disc.hasDust(1.2, 2.5));
    EXPECT_FALSE(disc.hasDust(3.5, 4.0));
    EXPECT_TRUE(disc.hasDust(1.0, 1.5));   // starts at a dusty band's outer edge
    EXPECT_FALSE(disc.hasDust(1.5, 2.0));  // ends at a dusty band's inner edge
    EXPECT_TRUE(disc.hasDust(0.1, 0.2));   // the first band not below the range answers
}

TEST_F(Accretion, SweptMassOfKnownDiscs) {
    double dust = 0.0, gas = 0.0;
    setBands({{0.5, 2.0, 1, 1}});
    state().dustdensity = 1e-3;
    EXPECT_DOUBLE_EQ(disc.sweepMass(1e-6, 1.0, 0.1, 1.0, state().bands, dust, gas), 2.750681687584129e-4);
    EXPECT_DOUBLE_EQ(state().reducedmass, reducedMass(1e-6));
    EXPECT_DOUBLE_EQ(dust, 2.750681687584129e-4);
    EXPECT_EQ(gas, 0.0);

    // Above the critical mass a gassy band gives gas as well; a gas-free one does not.
    dust = gas = 0.0;
    EXPECT_DOUBLE_EQ(disc.sweepMass(1e-6, 1.0, 0.1, 2.5e-7, state().bands, dust, gas), 5.3934935050669198e-4);
    EXPECT_DOUBLE_EQ(dust, 2.750681687584129e-4);
    EXPECT_DOUBLE_EQ(gas, 2.6428118174827902e-4);
    setBands({{0.5, 2.0, 1, 0}});
    state().dustdensity = 1e-3;
    dust = gas = 0.0;
    EXPECT_DOUBLE_EQ(disc.sweepMass(1e-6, 1.0, 0.1, 2.5e-7, state().bands, dust, gas), 2.750681687584129e-4);
    EXPECT_EQ(gas, 0.0);

    // The reach (0.726 to 1.412 AU) covers the only dusty band [1.0, 1.2] partly.
    setBands({{0.1, 1.0, 0, 1}, {1.0, 1.2, 1, 1}, {1.2, 5.0, 0, 1}});
    state().dustdensity = 2e-3;
    dust = gas = 0.0;
    EXPECT_DOUBLE_EQ(disc.sweepMass(1e-6, 1.0, 0.1, 1.0, state().bands, dust, gas), 1.6022178227509986e-4);
    EXPECT_DOUBLE_EQ(dust, 1.6022178227509986e-4);
    EXPECT_EQ(gas, 0.0);

    // No band in reach: nothing collected, the parts untouched; a negative inner reach is 0.
    setBands({{10.0, 20.0, 1, 1}});
    dust = 7.0;
    gas = 8.0;
    EXPECT_EQ(disc.sweepMass(1e-6, 1.0, 0.1, 1.0, state().bands, dust, gas), 0.0);
    EXPECT_EQ(dust, 7.0);
    EXPECT_EQ(gas, 8.0);
    disc.sweepMass(1e-6, 1.0, 1.5, 1.0, state().bands, dust, gas);
    EXPECT_EQ(state().sweepinner, 0.0);
}

TEST_F(Accretion, ClearingSweptLanes) {
    struct Case {
        std::vector<Band> before;
        double min, max, mass, innerBound, outerBound;
        std::vector<Band> after;
        bool dustleft;
    };
    const Case cases[] = {
        // Split around the range; below, at and above the critical mass (1e-5).
        {{{1, 10, 1, 1}}, 2, 3, 1e-6, 0.3, 50, {{1, 2, 1, 1}, {2, 3, 0, 1}, {3, 10, 1, 1}}, true},
        {{{1, 10, 1, 1}}, 2, 3, 1e-5, 0.3, 50, {{1, 2, 1, 1}, {2, 3, 0, 1}, {3, 10, 1, 1}}, true},
        {{{1, 10, 1, 1}}, 2, 3, 1e-4, 0.3, 50, {{1, 2, 1, 1}, {2, 3, 0, 0}, {3, 10, 1, 1}}, true},
        // Inner part, outer part; a gas-free band gains no gas.
        {{{1, 10, 1, 1}}, 0.5, 3, 1, 0.3, 50, {{1, 3, 0, 0}, {3, 10, 1, 1}}, true},
        {{{1, 10, 1, 1}}, 5, 12, 1, 0.3, 50, {{1, 5, 1, 1}, {5, 10, 0, 0}}, true},
        {{{1, 10, 1, 0}}, 5, 12, 1e-9, 0.3, 50, {{1, 5, 1, 0}, {5, 10, 0, 0}}, true},
        // A whole band swept merges with the swept piece of the next.
        {{{1, 2, 1, 1}, {2, 3, 0, 1}, {3, 4, 1, 0}}, 0.5, 2.5, 1, 0.3, 50,
         {{1, 2.5, 0, 0}, {2.5, 3, 0, 1}, {3, 4, 1, 0}}, true},
        {{{1, 10, 1, 1}}, 0.5, 12, 1, 0.3, 50, {{1, 10, 0, 0}}, false},
        // Bands that only touch the range are passed over.
        {{{1, 2, 1, 1}, {2, 3, 1, 0}, {3, 5, 1, 1}}, 2, 3, 1, 0.3, 50,
         {{1, 2, 1, 1}, {2, 3, 0, 0}, {3, 5, 1, 1}}, true},
        {{{1, 2, 1, 1}, {2, 5, 1, 0}}, 2, 3, 1, 0.3, 50, {{1, 2, 1, 1}, {2, 3, 0, 0}, {3, 5, 1, 0}}, true},
        // Neighbours with the same flags merge.
        {{{1, 2, 0, 1}, {2, 10, 1, 1}}, 1.5, 2, 1e-9, 0.3, 50, {{1, 2, 0, 1}, {2, 10, 1, 1}}, true},
        {{{1, 2, 1, 1}, {2, 3, 1, 1}, {5, 6, 0, 0}}, 50, 60, 1, 0.3, 100, {{1, 3, 1, 1}, {5, 6, 0, 0}}, true},
        // Dust left counts the planet-forming zone only, both edges included (bands unchecked).
        {{{1, 2, 1, 1}, {2, 10, 0, 0}}, 5, 6, 1, 3, 50, {}, false},
        {{{1, 2, 1, 1}, {2, 10, 0, 0}}, 5, 6, 1, 2, 50, {}, true},
        {{{1, 2, 0, 0}, {2, 10, 1, 1}}, 50, 60, 1, 0.3, 2, {}, true},
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(row++);
        setBands(c.before);
        disc.clearSweptLanes(c.min, c.max, c.mass, 1e-5, c.innerBound, c.outerBound);
        if (!c.after.empty()) expectBands(c.after);
        EXPECT_EQ(state().dustleft, c.dustleft);
    }
}

TEST_F(Accretion, NewBodiesAreInsertedInOrderAndGiantsAtTheirCriticalMass) {
    setBands({{0.01, 100.0, 0, 0}});
    place(5.0, 0.0, 1e-12, 1.0, 0.0, false);
    place(1.0, 0.0, 1e-12, 1.0, 0.0, false);
    place(3.0, 0.1, 2e-12, 2e-12, 0.5e-12, false);
    const std::vector<const BodyNode*> planets = planetList();
    ASSERT_EQ(planets.size(), 3u);
    EXPECT_EQ(planets[0]->sma, 1.0);
    EXPECT_EQ(planets[1]->sma, 3.0);
    EXPECT_EQ(planets[2]->sma, 5.0);
    EXPECT_EQ(planets[0]->gasgiant, 0);
    EXPECT_EQ(planets[1]->gasgiant, 1);
    EXPECT_EQ(planets[1]->gasmass, 0.5e-12);
}

TEST_F(Accretion, MergedPlanetTakesTheCombinedOrbitAndMovesOutward) {
    setBands({{0.01, 100.0, 0, 0}});
    BodyNode* inner = addPlanet(1.0, 0.0, 1e-6);
    addPlanet(1.3, 0.0, 1e-9);
    place(2.0, 0.5, 1e-3, 1e-4, 0.1e-3, false);
    const std::vector<const BodyNode*> planets = planetList();
    ASSERT_EQ(planets.size(), 2u);
    EXPECT_EQ(planets[0]->sma, 1.3);
    ASSERT_EQ(planets[1], inner);
    EXPECT_DOUBLE_EQ(inner->sma, 1.9980039920159678);
    EXPECT_DOUBLE_EQ(inner->ecc, 0.36541122376037);
    EXPECT_DOUBLE_EQ(inner->mass, 1e-3 + 1e-6);
    EXPECT_DOUBLE_EQ(inner->gasmass, 0.1e-3);
    EXPECT_EQ(inner->gasgiant, 1);
}

TEST_F(Accretion, CollisionTestCarriesTheReducedMassOfThePreviousPlanet) {
    // The miss against the heavy planet at 1 AU leaves its reduced mass (about 0.316) for the
    // test against the planet at 3 AU, which then collides; with the body's own it would not.
    setBands({{0.01, 100.0, 0, 0}});
    addPlanet(1.0, 0.0, 1e-2);
    BodyNode* outer = addPlanet(3.0, 0.0, 1e-12);
    state().reducedmass = 1e-3;
    disc.placeBody(2.0, 0.15, 1e-12, 1.0, 1e-12, 0.0, 1.0, 0.3, 50.0, false);
    ASSERT_EQ(planetList().size(), 2u);
    EXPECT_DOUBLE_EQ(outer->mass, 2e-12);
}

TEST_F(Accretion, MoonCapture) {
    setBands({{0.01, 100.0, 0, 0}});
    BodyNode* planet = addPlanet(1.0, 0.0, 3e-5, 1e-5);
    place(1.01, 0.0, 1e-6, 1.0, 0.1e-6, true);
    place(0.99, 0.0, 0.5e-6, 1.0, 0.0, true);
    ASSERT_EQ(planetList().size(), 1u);
    EXPECT_EQ(planet->sma, 1.0);
    EXPECT_EQ(planet->mass, 3e-5);
    ASSERT_NE(planet->firstmoon, nullptr);
    EXPECT_EQ(planet->firstmoon->mass, 0.5e-6);  // the latest capture heads the list
    ASSERT_NE(planet->firstmoon->next, nullptr);
    EXPECT_EQ(planet->firstmoon->next->gasmass, 0.1e-6);

    // A moon heavier than its planet changes places with it, keeping the planet's orbit.
    setBands({{0.01, 100.0, 0, 0}});
    planet = addPlanet(1.0, 0.02, 1e-6);
    place(1.01, 0.0, 5e-6, 1.0, 1e-6, true);
    EXPECT_EQ(planet->ecc, 0.02);
    EXPECT_EQ(planet->mass, 5e-6);
    EXPECT_EQ(planet->gasmass, 1e-6);
    ASSERT_NE(planet->firstmoon, nullptr);
    EXPECT_EQ(planet->firstmoon->mass, 1e-6);
}

TEST_F(Accretion, NoCaptureForHeavyBodiesFullMoonSystemsOrWithoutMoons) {
    const double heavy = 3.0 / kEarthMassesPerSolarMass;
    struct Case {
        double mass, critMass, moons;
        bool withMoons;
    };
    for (const Case& c : {Case{heavy, 1.0, 0.0, true}, Case{1e-6, 1.0, 0.05 * 3e-5, true},
                          Case{1e-6, 1e-6, 0.0, true}, Case{1e-6, 1.0, 0.0, false}}) {
        SCOPED_TRACE(c.mass);
        setBands({{0.01, 100.0, 0, 0}});
        BodyNode* planet = addPlanet(1.0, 0.0, 3e-5);
        if (c.moons > 0.0) {
            planet->firstmoon = new BodyNode;
            planet->firstmoon->mass = c.moons;
        }
        place(1.01, 0.0, c.mass, c.critMass, 0.0, c.withMoons);
        EXPECT_EQ(planet->firstmoon == nullptr ? nullptr : planet->firstmoon->next, nullptr);
        EXPECT_DOUBLE_EQ(planet->mass, 3e-5 + c.mass);
    }
}

TEST_F(Accretion, MoonDiscsOnlyForPlanetsAboveFiveEarthMasses) {
    for (const double mass : {kFiveEarthMasses, std::nextafter(kFiveEarthMasses, 1.0)}) {
        disc.start(0.05, 200.0);
        BodyNode* planet = addPlanet(1.0, 0.0, mass);
        planet->firstmoon = new BodyNode;
        planet->firstmoon->mass = 1.25e-7;
        const BodyNode* captured = planet->firstmoon;
        random.seed(99);
        BodyNode* planets = disc.accreteMoonDiscs(0.002, 1.0);
        ASSERT_EQ(planets, planet);
        EXPECT_EQ(state().planets, nullptr);
        // A moon disc draws and replaces the captured moons.
        const bool ran = mass > kFiveEarthMasses;
        EXPECT_EQ(random.state() != 99u, ran);
        for (const BodyNode* moon = planet->firstmoon; moon != nullptr; moon = moon->next)
            EXPECT_EQ(moon->mass == 1.25e-7 && moon == captured, !ran);
        releaseBodies(planets);
    }
}
