// Dust-disc accretion: the reach, the dust test, the sweep, the clearing of swept lanes and the
// placing of bodies (collision, merging, moon capture). Whole discs are pinned by the golden
// systems; these cases guard the boundaries those systems do not happen to reach.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "generation/accretion.h"
#include "generation/lcg_random.h"
#include "generation/physical_constants.h"

namespace {

using Band = std::array<double, 4>;  // inner edge, outer edge, dust present, gas present

class Accretion : public ::testing::Test {
protected:
    void setBands(const std::vector<Band>& bands) {
        disc.start(0.0, 1.0);
        state().bands.clear();
        for (const Band& b : bands) state().bands.push_back({b[0], b[1], int(b[2]), int(b[3])});
    }

    std::vector<Band> bands() {
        std::vector<Band> out;
        for (const DustBand& b : state().bands)
            out.push_back({b.inneredge, b.outeredge, double(b.dustpresent), double(b.gaspresent)});
        return out;
    }

    BodyNode* addPlanet(double sma, double ecc, double mass, double gas = 0.0) {
        BodyNode** link = &state().planets;
        while (*link != nullptr) link = &(*link)->next;
        *link = new BodyNode{};
        (*link)->sma = sma;
        (*link)->ecc = ecc;
        (*link)->mass = mass;
        (*link)->dustmass = mass - gas;
        (*link)->gasmass = gas;
        return *link;
    }

    // Places a body of `mass` (dust only unless gas is given) into an empty, dust-free disc.
    void place(double a, double e, double mass, double critMass, double gas, bool withMoons) {
        state().reducedmass = std::pow(mass / (1.0 + mass), 0.25);
        disc.placeBody(a, e, mass, critMass, mass - gas, gas, 1.0, 0.3, 50.0, withMoons);
    }

    std::vector<double> planetOrbits() {
        std::vector<double> out;
        for (const BodyNode* p = state().planets; p != nullptr; p = p->next) out.push_back(p->sma);
        return out;
    }

    AccretionState& state() { return disc.state(); }

    LcgRandom random{1};
    AccretionDisc disc{random};
};

}  // namespace

TEST_F(Accretion, DustAtBandEdges) {
    // A range starting at a dusty band's outer edge has dust, one ending at its inner edge not;
    // the first band not below the range answers.
    setBands({{0.5, 1.0, 1, 1}, {1.0, 2.0, 0, 1}, {2.0, 3.0, 1, 1}});
    const double ranges[][3] = {{1.2, 1.8, 0}, {1.2, 2.5, 1}, {3.5, 4, 0}, {1, 1.5, 1}, {1.5, 2, 0}, {0.1, 0.2, 1}};
    for (const auto& r : ranges) EXPECT_EQ(disc.hasDust(r[0], r[1]), r[2] > 0) << r[0] << ' ' << r[1];
}

TEST_F(Accretion, SweptMassOfKnownDiscs) {
    struct Case {
        std::vector<Band> bands;
        double density, critMass, total, dust, gas;
    };
    const Case cases[] = {
        {{{0.5, 2, 1, 1}}, 1e-3, 1.0, 2.750681687584129e-4, 2.750681687584129e-4, 0},
        // Above the critical mass a gassy band gives gas as well; a gas-free one does not.
        {{{0.5, 2, 1, 1}}, 1e-3, 2.5e-7, 5.3934935050669198e-4, 2.750681687584129e-4, 2.6428118174827902e-4},
        {{{0.5, 2, 1, 0}}, 1e-3, 2.5e-7, 2.750681687584129e-4, 2.750681687584129e-4, 0},
        // The reach (0.726 to 1.412 AU) covers the only dusty band [1.0, 1.2] partly.
        {{{0.1, 1, 0, 1}, {1, 1.2, 1, 1}, {1.2, 5, 0, 1}}, 2e-3, 1.0, 1.6022178227509986e-4, 1.6022178227509986e-4, 0},
        // No band in reach: nothing collected, the parts untouched.
        {{{10, 20, 1, 1}}, 1e-3, 1.0, 0, 7, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.total);
        setBands(c.bands);
        state().dustdensity = c.density;
        double dust = 7.0, gas = 8.0;
        if (c.total > 0) dust = gas = 0.0;
        EXPECT_DOUBLE_EQ(disc.sweepMass(1e-6, 1.0, 0.1, c.critMass, dust, gas), c.total);
        EXPECT_DOUBLE_EQ(dust, c.dust);
        EXPECT_DOUBLE_EQ(gas, c.gas);
    }
    double dust = 0.0, gas = 0.0;
    disc.sweepMass(1e-6, 1.0, 1.5, 1.0, dust, gas);
    EXPECT_EQ(state().sweepinner, 0.0);  // a negative inner reach is 0
}

TEST_F(Accretion, ClearingSweptLanes) {
    struct Case {
        std::vector<Band> before;
        double min, max, mass, innerBound, outerBound;
        std::vector<Band> after;
        bool dustleft;
    };
    const Case cases[] = {
        // Split around the range; at and above the critical mass (1e-5).
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
        {{{1, 2, 1, 1}, {2, 3, 1, 0}, {3, 5, 1, 1}}, 2, 3, 1, 0.3, 50, {{1, 2, 1, 1}, {2, 3, 0, 0}, {3, 5, 1, 1}}, true},
        {{{1, 2, 1, 1}, {2, 5, 1, 0}}, 2, 3, 1, 0.3, 50, {{1, 2, 1, 1}, {2, 3, 0, 0}, {3, 5, 1, 0}}, true},
        // Neighbours with the same flags merge.
        {{{1, 2, 0, 1}, {2, 10, 1, 1}}, 1.5, 2, 1e-9, 0.3, 50, {{1, 2, 0, 1}, {2, 10, 1, 1}}, true},
        {{{1, 2, 1, 1}, {2, 3, 1, 1}, {5, 6, 0, 0}}, 50, 60, 1, 0.3, 100, {{1, 3, 1, 1}, {5, 6, 0, 0}}, true},
        // Dust left counts the planet-forming zone only, both edges included.
        // (A merged band is not merged again with the one after it.)
        {{{1, 2, 1, 1}, {2, 10, 0, 0}}, 5, 6, 1, 3, 50, {{1, 2, 1, 1}, {2, 6, 0, 0}, {6, 10, 0, 0}}, false},
        {{{1, 2, 1, 1}, {2, 10, 0, 0}}, 5, 6, 1, 2, 50, {{1, 2, 1, 1}, {2, 6, 0, 0}, {6, 10, 0, 0}}, true},
        {{{1, 2, 0, 0}, {2, 10, 1, 1}}, 50, 60, 1, 0.3, 2, {{1, 2, 0, 0}, {2, 10, 1, 1}}, true},
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(row++);
        setBands(c.before);
        disc.clearSweptLanes(c.min, c.max, c.mass, 1e-5, c.innerBound, c.outerBound);
        EXPECT_EQ(bands(), c.after);
        EXPECT_EQ(state().dustleft, c.dustleft);
    }
}

TEST_F(Accretion, PlacingInsertsMergesAndCarriesTheReducedMass) {
    setBands({{0.01, 100.0, 0, 0}});
    place(5.0, 0.0, 1e-12, 1.0, 0.0, false);
    place(1.0, 0.0, 1e-12, 1.0, 0.0, false);
    place(3.0, 0.1, 2e-12, 2e-12, 0.5e-12, false);  // a giant at its critical mass
    EXPECT_EQ(planetOrbits(), (std::vector<double>{1.0, 3.0, 5.0}));
    EXPECT_EQ(state().planets->next->gasgiant + state().planets->next->gasmass, 1 + 0.5e-12);

    // A merged planet takes the combined orbit and moves outward.
    setBands({{0.01, 100.0, 0, 0}});
    BodyNode* inner = addPlanet(1.0, 0.0, 1e-6);
    addPlanet(1.3, 0.0, 1e-9);
    place(2.0, 0.5, 1e-3, 1e-4, 0.1e-3, false);
    EXPECT_EQ(planetOrbits(), (std::vector<double>{1.3, 1.9980039920159678}));
    EXPECT_EQ(state().planets->next, inner);
    EXPECT_DOUBLE_EQ(inner->mass, 1e-3 + 1e-6);
    EXPECT_EQ(inner->gasmass + inner->gasgiant, 0.1e-3 + 1);

    // The miss against the heavy planet at 1 AU leaves its reduced mass (about 0.316) for the
    // test against the planet at 3 AU, which then collides; with the body's own it would not.
    setBands({{0.01, 100.0, 0, 0}});
    addPlanet(1.0, 0.0, 1e-2);
    BodyNode* outer = addPlanet(3.0, 0.0, 1e-12);
    state().reducedmass = 1e-3;
    disc.placeBody(2.0, 0.15, 1e-12, 1.0, 1e-12, 0.0, 1.0, 0.3, 50.0, false);
    EXPECT_EQ(planetOrbits().size(), 2u);
    EXPECT_DOUBLE_EQ(outer->mass, 2e-12);
}

TEST_F(Accretion, MoonCapture) {
    setBands({{0.01, 100.0, 0, 0}});
    BodyNode* planet = addPlanet(1.0, 0.0, 3e-5, 1e-5);
    place(1.01, 0.0, 1e-6, 1.0, 0.1e-6, true);
    place(0.99, 0.0, 0.5e-6, 1.0, 0.0, true);
    EXPECT_EQ(planetOrbits(), std::vector<double>{1.0});
    EXPECT_EQ(planet->mass, 3e-5);
    ASSERT_TRUE(planet->firstmoon != nullptr && planet->firstmoon->next != nullptr);
    EXPECT_EQ(planet->firstmoon->mass + planet->firstmoon->next->gasmass, 0.5e-6 + 0.1e-6);  // the latest heads the list

    // A moon heavier than its planet changes places with it, keeping the planet's orbit.
    setBands({{0.01, 100.0, 0, 0}});
    planet = addPlanet(1.0, 0.02, 1e-6);
    place(1.01, 0.0, 5e-6, 1.0, 1e-6, true);
    ASSERT_NE(planet->firstmoon, nullptr);
    EXPECT_EQ((std::array<double, 4>{planet->ecc, planet->mass, planet->gasmass, planet->firstmoon->mass}),
              (std::array<double, 4>{0.02, 5e-6, 1e-6, 1e-6}));

    // No capture for heavy bodies, full moon systems, bodies at the critical mass, or without moons.
    const double heavy = 3.0 / kEarthMassesPerSolarMass;
    const double rows[][4] = {{heavy, 1, 0, 1}, {1e-6, 1, 0.05 * 3e-5, 1}, {1e-6, 1e-6, 0, 1}, {1e-6, 1, 0, 0}};
    for (const auto& [mass, critMass, moons, withMoons] : rows) {
        SCOPED_TRACE(mass + moons);
        setBands({{0.01, 100.0, 0, 0}});
        planet = addPlanet(1.0, 0.0, 3e-5);
        planet->firstmoon = new BodyNode{};
        planet->firstmoon->mass = moons;
        place(1.01, 0.0, mass, critMass, 0.0, withMoons > 0);
        EXPECT_EQ(planet->firstmoon->next, nullptr);
        EXPECT_DOUBLE_EQ(planet->mass, 3e-5 + mass);
    }
}

TEST_F(Accretion, MoonDiscsOnlyForPlanetsAboveFiveEarthMasses) {
    // A moon disc draws and replaces the captured moons.
    for (const double mass : {kFiveEarthMasses, std::nextafter(kFiveEarthMasses, 1.0)}) {
        BodyNode* planet = addPlanet(1.0, 0.0, mass);
        (planet->firstmoon = new BodyNode{})->mass = 1.25e-7;
        random.seed(99);
        BodyNode* planets = disc.accreteMoonDiscs(0.002, 1.0);
        EXPECT_TRUE(planets == planet && state().planets == nullptr);
        EXPECT_EQ(random.state() != 99u, mass > kFiveEarthMasses);
        EXPECT_EQ(planet->firstmoon != nullptr && planet->firstmoon->mass == 1.25e-7, mass == kFiveEarthMasses);
        releaseBodies(planets);
    }
}
