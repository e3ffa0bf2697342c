#include "generation/accretion.h"

#include <cmath>
#include <utility>

#include "generation/lcg_random.h"
#include "generation/physical_constants.h"

namespace {

constexpr double kProtoplanetMass = 1e-15;
constexpr double kGasDustFactor = 50.0;  // K; the gas formula uses K - 1
constexpr double kMoonDiscLuminosity = 1e-6;

// A disc whose remaining dust cannot be reached by any injection would keep the injection
// loop going for ever; after this many injections in a row that find no dust it gives up.
constexpr long kMaxFruitlessInjections = 1L << 24;

double cubeRoot(double x) { return std::pow(x, 1.0 / 3.0); }

double reducedMassOf(double m) { return std::pow(m / (1.0 + m), 0.25); }

}  // namespace

AccretionDisc::~AccretionDisc() { releaseBodies(state_.planets); }

void AccretionDisc::start(double innerDust, double outerDust) {
    releaseBodies(state_.planets);
    state_.planets = nullptr;
    state_.bands.assign(1, DustBand{innerDust, outerDust, 1, 1});
    state_.cloudecc = 0.2;
    state_.dustleft = true;
    reachBound_.setDisc(state_.cloudecc, kProtoplanetMass);
}

double AccretionDisc::reachInner(double a, double e, double m) const {
    return a * (1.0 - e) * (1.0 - m) / (1.0 + state_.cloudecc);
}

double AccretionDisc::reachOuter(double a, double e, double m) const {
    return a * (1.0 + e) * (1.0 + m) / (1.0 - state_.cloudecc);
}

bool AccretionDisc::hasDust(double inner, double outer) const {
    // The first band not wholly below `inner` counts even when `outer` stays below it.
    const std::vector<DustBand>& bands = state_.bands;
    std::size_t i = 0;
    while (i < bands.size() && bands[i].outeredge < inner) ++i;
    if (i == bands.size()) return false;
    if (bands[i].dustpresent != 0) return true;
    for (++i; i < bands.size() && outer > bands[i].inneredge; ++i)
        if (bands[i].dustpresent != 0) return true;
    return false;
}

bool AccretionDisc::dustInReach(double a, int eccentricityDraw, double& e) const {
    // The bands join up without gaps, so a range holding another finds dust whenever the
    // inner one does: no dust within the bounding reach means none within the true reach.
    if (a > 0.0) {
        const ReachBound::Range widest = reachBound_.around(a, eccentricityDraw);
        if (!hasDust(widest.inner, widest.outer)) return false;
    }
    e = LcgRandom::eccentricityOf(LcgRandom::uniformOf(eccentricityDraw, 0.0, 1.0));
    return hasDust(reachInner(a, e, kProtoplanetMass), reachOuter(a, e, kProtoplanetMass));
}

double criticalMass(double a, double e, double luminosity) {
    return 1.2e-5 * std::pow((a - a * e) * std::sqrt(luminosity), -0.75);
}

double AccretionDisc::sweepMass(double m, double a, double e, double critMass, double& dustPart,
                                double& gasPart) {
    state_.reducedmass = reducedMassOf(m);
    state_.sweepinner = reachInner(a, e, state_.reducedmass);
    if (state_.sweepinner < 0.0) state_.sweepinner = 0.0;
    state_.sweepouter = reachOuter(a, e, state_.reducedmass);

    // The bands run outward, so the bands in reach end before the first band wholly beyond it.
    // Each band in reach adds its share, summed from the outermost band inward.
    const std::vector<DustBand>& bands = state_.bands;
    std::size_t end = 0;
    while (end < bands.size() && bands[end].inneredge < state_.sweepouter) ++end;
    const SweepTerms terms = sweepTerms(m, a, e, critMass);
    bool swept = false;
    double total = 0.0;
    double restDust = 0.0;
    double restGas = 0.0;
    for (std::size_t i = end; i-- > 0;) {
        const DustBand& band = bands[i];
        if (!(state_.sweepinner < band.outeredge)) continue;
        swept = true;
        const BandSweep share = bandSweep(terms, band);
        restGas = share.gas + restGas;
        restDust = share.dust + restDust;
        total = total + share.total;
    }
    if (!swept) return 0.0;
    dustPart = restDust;
    gasPart = restGas;
    return total;
}

// What is the same for every band of one sweep: the gas the body catches once it is past the
// critical mass, and the part of each band's volume that does not depend on the band.
AccretionDisc::SweepTerms AccretionDisc::sweepTerms(double m, double a, double e, double critMass) const {
    SweepTerms terms;
    terms.catchesGas = m >= critMass;
    if (terms.catchesGas) terms.gasDivisor = 1.0 + std::sqrt(critMass / m) * (kGasDustFactor - 1.0);
    terms.volumeScale = 12.5663706144 * (a * a) * state_.reducedmass;
    terms.e = e;
    terms.width = state_.sweepouter - state_.sweepinner;
    return terms;
}

AccretionDisc::BandSweep AccretionDisc::bandSweep(const SweepTerms& terms, const DustBand& band) const {
    const double dust = band.dustpresent ? state_.dustdensity : 0.0;
    double density;
    double gasDensity;
    if (terms.catchesGas && band.gaspresent) {
        density = kGasDustFactor * dust / terms.gasDivisor;
        gasDensity = density - dust;
    } else {
        density = dust;
        gasDensity = 0.0;
    }

    double beyondOuter = state_.sweepouter - band.outeredge;
    if (beyondOuter < 0.0) beyondOuter = 0.0;
    double belowInner = band.inneredge - state_.sweepinner;
    if (belowInner < 0.0) belowInner = 0.0;
    const double volume = terms.volumeScale * (1.0 - terms.e * (beyondOuter - belowInner) / terms.width) *
                          (terms.width - beyondOuter - belowInner);
    return {volume * density, volume * (density - gasDensity), volume * gasDensity};
}

void AccretionDisc::accreteBody(double& mass, double& dust, double& gas, double a, double e, double critMass,
                 double innerBound, double outerBound) {
    double collected = mass;
    double previous;
    do {
        previous = collected;
        collected = sweepMass(previous, a, e, critMass, dust, gas);
    } while (collected - previous >= 0.0001 * previous);  // also ends on a non-number
    mass = mass + collected;
    clearSweptLanes(state_.sweepinner, state_.sweepouter, mass, critMass, innerBound,
                    outerBound);
}

void AccretionDisc::clearSweptLanes(double min, double max, double mass, double critMass,
                                    double innerBound, double outerBound) {
    cutBands(min, max, mass <= critMass);

    // Neighbours with the same flags are joined, a pair at a time: a joined band is not joined
    // again with the one after it. Dust left is judged by each band before it is joined.
    state_.dustleft = false;
    state_.bands.clear();
    const std::vector<DustBand>& cut = cutBands_;
    for (std::size_t i = 0; i < cut.size(); ++i) {
        DustBand band = cut[i];
        if (band.dustpresent && band.outeredge >= innerBound && band.inneredge <= outerBound)
            state_.dustleft = true;
        if (i + 1 < cut.size() && cut[i + 1].dustpresent == band.dustpresent &&
            cut[i + 1].gaspresent == band.gaspresent) {
            band.outeredge = cut[i + 1].outeredge;
            ++i;
        }
        state_.bands.push_back(band);
    }
}

void AccretionDisc::cutBands(double min, double max, bool keepsGas) {
    std::vector<DustBand>& cut = cutBands_;
    cut.clear();
    for (const DustBand& band : state_.bands) {
        const double inner = band.inneredge;
        const double outer = band.outeredge;
        const DustBand swept{0.0, 0.0, 0, (band.gaspresent && keepsGas) ? 1 : 0};
        const auto piece = [&cut](double from, double to, const DustBand& flags) {
            cut.push_back({from, to, flags.dustpresent, flags.gaspresent});
        };
        if (inner < min && outer > max) {
            piece(inner, min, band);
            piece(min, max, swept);
            piece(max, outer, band);
        } else if (inner < max && outer > max) {
            piece(inner, max, swept);
            piece(max, outer, band);
        } else if (inner < min && outer > min) {
            piece(inner, min, band);
            piece(min, outer, swept);
        } else if (inner >= min && outer <= max) {
            piece(inner, outer, swept);
        } else {
            // Outside the swept range, or touching it only at one edge: untouched.
            cut.push_back(band);
        }
    }
}

namespace {

struct Orbit {
    double a;
    double e;
};

double moonsMass(const BodyNode& planet) {
    double total = 0.0;
    for (const BodyNode* moon = planet.firstmoon; moon != nullptr; moon = moon->next)
        total += moon->mass;
    return total;
}

// The orbit a body of `mass` at `a`, `e` shares with `planet` when the two collide.
Orbit sharedOrbit(double mass, double a, double e, const BodyNode& planet) {
    const double newA = (mass + planet.mass) / (mass / a + planet.mass / planet.sma);
    const double q = (mass * std::sqrt(a) * std::pow(1.0 - e * e, 0.25) +
                      planet.mass * std::sqrt(planet.sma) * std::sqrt(1.0 - planet.ecc * planet.ecc)) /
                     ((mass + planet.mass) * std::sqrt(newA));
    double squared = 1.0 - q * q;
    if (squared < 0.0 || squared >= 1.0) squared = 0.0;
    return {newA, std::sqrt(squared)};
}

// A small body that runs into `planet` becomes its moon, unless the planet's moons already
// weigh a twentieth of it; the one with more dust and gas stays the planet. Returns whether
// the body was captured.
bool capturedAsMoon(BodyNode& planet, double mass, double dust, double gas) {
    const double earthMasses = mass * kEarthMassesPerSolarMass;
    if (!(earthMasses > 0.0001 && earthMasses < 2.5 && moonsMass(planet) < 0.05 * planet.mass)) return false;
    BodyNode* moon = new BodyNode;
    moon->mass = mass;
    moon->dustmass = dust;
    moon->gasmass = gas;
    if (planet.dustmass + planet.gasmass < moon->dustmass + moon->gasmass) {
        std::swap(planet.mass, moon->mass);
        std::swap(planet.dustmass, moon->dustmass);
        std::swap(planet.gasmass, moon->gasmass);
    }
    moon->next = planet.firstmoon;
    planet.firstmoon = moon;
    return true;
}

// Links `body` into the planet list before the first planet that is not closer to the star.
void insertBySma(BodyNode*& head, BodyNode* body) {
    BodyNode** link = &head;
    while (*link != nullptr && (*link)->sma < body->sma) link = &(*link)->next;
    body->next = *link;
    *link = body;
}

}  // namespace

// Moves `planet` outward past every following planet whose sma is below its own.
void AccretionDisc::keepSorted(BodyNode* planet) {
    BodyNode** link = &state_.planets;
    while (*link != planet) link = &(*link)->next;
    BodyNode* after = planet;
    while (after->next != nullptr && after->next->sma < planet->sma) after = after->next;
    if (after == planet) return;
    *link = planet->next;
    planet->next = after->next;
    after->next = planet;
}

double AccretionDisc::reducedMassOfPlanet(BodyNode& planet) {
    if (planet.reducedmassfor != planet.mass) {
        planet.reducedmass = reducedMassOf(planet.mass);
        planet.reducedmassfor = planet.mass;
    }
    return planet.reducedmass;
}

bool AccretionDisc::collides(BodyNode& planet, double a, double e) {
    const double diff = planet.sma - a;
    const double r = state_.reducedmass;
    double d1;
    double d2;
    if (diff > 0.0) {
        d1 = a * (1.0 + e) * (1.0 + r) - a;
        state_.reducedmass = reducedMassOfPlanet(planet);
        d2 = planet.sma - planet.sma * (1.0 - planet.ecc) * (1.0 - state_.reducedmass);
    } else {
        d1 = a - a * (1.0 - e) * (1.0 - r);
        state_.reducedmass = reducedMassOfPlanet(planet);
        d2 = planet.sma * (1.0 + planet.ecc) * (1.0 + state_.reducedmass) - planet.sma;
    }
    return std::fabs(d1) >= std::fabs(diff) || std::fabs(d2) >= std::fabs(diff);
}

void AccretionDisc::placeBody(double a, double e, double mass, double critMass, double dust, double gas,
               double luminosity, double innerBound, double outerBound, bool withMoons) {
    for (BodyNode* p = state_.planets; p != nullptr; p = p->next) {
        if (!collides(*p, a, e)) continue;
        if (withMoons && mass < critMass && capturedAsMoon(*p, mass, dust, gas)) return;

        // Merge: the combined body sweeps its new lane, with the star's luminosity as the gas
        // threshold of that sweep.
        const Orbit orbit = sharedOrbit(mass, a, e, *p);
        double merged = mass + p->mass;
        double sweptDust = 0.0;
        double sweptGas = 0.0;
        accreteBody(merged, sweptDust, sweptGas, orbit.a, orbit.e, luminosity, innerBound, outerBound);
        p->sma = orbit.a;
        p->ecc = orbit.e;
        p->mass = merged;
        p->dustmass += sweptDust + dust;
        p->gasmass += sweptGas + gas;
        if (merged >= critMass) p->gasgiant = 1;
        keepSorted(p);
        return;
    }

    BodyNode* body = new BodyNode;
    body->sma = a;
    body->ecc = e;
    body->mass = mass;
    body->dustmass = dust;
    body->gasmass = gas;
    body->gasgiant = mass >= critMass ? 1 : 0;
    insertBySma(state_.planets, body);
}

BodyNode* AccretionDisc::takePlanets() {
    BodyNode* planets = state_.planets;
    state_.planets = nullptr;
    return planets;
}

BodyNode* AccretionDisc::accrete(double starMass, double luminosity, double innerDust, double outerDust,
                      double outerLimit, double dustCoefficient, bool withMoons) {
    if (innerDust == 0.0) innerDust = 0.004652 * std::sqrt(luminosity / std::pow(0.346, 4.0));
    start(innerDust, outerDust);

    const double innerBound = 0.3 * cubeRoot(starMass);
    const double outerBound = outerLimit == 0.0 ? 50.0 * cubeRoot(starMass) : outerLimit;

    long fruitless = 0;
    while (state_.dustleft) {
        const double a = random_.drawUniform(innerBound, outerBound);
        const int eccentricityDraw = random_.next();
        double e = 0.0;
        if (!dustInReach(a, eccentricityDraw, e)) {
            if (++fruitless >= kMaxFruitlessInjections) break;
            continue;
        }
        fruitless = 0;
        state_.dustdensity = dustCoefficient * std::sqrt(starMass) * std::exp(-5.0 * cubeRoot(a));
        const double critMass = criticalMass(a, e, luminosity);

        double mass = kProtoplanetMass;
        double dust = 0.0;
        double gas = 0.0;
        accreteBody(mass, dust, gas, a, e, critMass, innerBound, outerBound);
        dust += kProtoplanetMass;
        if (mass > kProtoplanetMass)
            placeBody(a, e, mass, critMass, dust, gas, luminosity, innerBound, outerBound,
                      withMoons);
    }

    state_.bands.clear();
    if (withMoons) return accreteMoonDiscs(dustCoefficient, starMass);
    return takePlanets();
}

BodyNode* AccretionDisc::accreteMoonDiscs([[maybe_unused]] double dustCoefficient, double starMass) {
    BodyNode* planets = takePlanets();
    for (BodyNode* p = planets; p != nullptr; p = p->next) {
        if (!(p->mass > kFiveEarthMasses)) continue;
        releaseBodies(p->firstmoon);
        p->firstmoon = nullptr;
        const double outerDust = p->sma * std::pow(p->mass / starMass, 0.4);
        const double outerLimit = 0.25 * p->sma * cubeRoot(p->mass / (3.0 * starMass));
        const double coefficient =
            0.8 + (p->mass * kEarthMassesPerSolarMass - 315.0) * 0.001;
        p->firstmoon = accrete(p->dustmass, kMoonDiscLuminosity, 0.0, outerDust, outerLimit,
                                   coefficient, false);
    }
    state_.planets = nullptr;
    return planets;
}
