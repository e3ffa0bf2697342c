#pragma once
// Dust-disc accretion: protoplanets are injected one at a time at random distances into a
// disc of dust and gas around the star; each sweeps up what lies within its reach until it
// stops growing, its lane is cleared, and it becomes a planet, merges with a planet whose
// reach it overlaps, or is captured as a moon. Injection goes on until no dust is left in the
// planet-forming zone. Heavier planets then get moons from small discs of their own.
//
// Each generation makes its own disc, which draws from the generator it is given, so discs of
// different systems can be accreted side by side.

#include <vector>

#include "generation/body_node.h"
#include "generation/reach_bound.h"

class LcgRandom;

struct AccretionState {
    std::vector<DustBand> bands;  // innermost first
    BodyNode* planets = nullptr;  // sorted by increasing sma
    double cloudecc = 0.2;        // eccentricity of the disc's particles
    double dustdensity = 0.0;     // dust density at the current injection distance
    double reducedmass = 0.0;     // the most recently computed reduced mass
    double sweepinner = 0.0;      // reach of the body in the most recent sweep, AU
    double sweepouter = 0.0;
    bool dustleft = false;        // some band still holds dust in the planet-forming zone
};

class AccretionDisc {
public:
    explicit AccretionDisc(LcgRandom& random) : random_(random) {}
    ~AccretionDisc();
    AccretionDisc(const AccretionDisc&) = delete;
    AccretionDisc& operator=(const AccretionDisc&) = delete;

    // Accretes the planets of a star of `starMass` and `luminosity`. `innerDust` 0 computes the
    // inner edge of the disc from the luminosity; `outerLimit` 0 is the farthest planet-forming
    // distance. With `withMoons`, planets heavier than 5 Earth masses get moons accreted from
    // their own discs, and small bodies may be captured as moons while planets merge.
    // The caller owns the returned list.
    BodyNode* accrete(double starMass, double luminosity, double innerDust, double outerDust,
                      double outerLimit, double dustCoefficient, bool withMoons);

    // Gives every planet of the current list heavier than 5 Earth masses a moon list accreted
    // from a disc of its own, then hands the planet list over to the caller.
    BodyNode* accreteMoonDiscs(double dustCoefficient, double starMass);

    // Stages of accretion, exposed so that they can be checked one by one.
    void start(double innerDust, double outerDust);
    double reachInner(double a, double e, double m) const;
    double reachOuter(double a, double e, double m) const;
    bool hasDust(double inner, double outer) const;
    double sweepMass(double m, double a, double e, double critMass, double& dustPart,
                     double& gasPart);
    void accreteBody(double& mass, double& dust, double& gas, double a, double e, double critMass,
                     double innerBound, double outerBound);
    void clearSweptLanes(double min, double max, double mass, double critMass, double innerBound,
                         double outerBound);
    void placeBody(double a, double e, double mass, double critMass, double dust, double gas,
                   double luminosity, double innerBound, double outerBound, bool withMoons);

    // Hands the current planet list to the caller and empties the disc.
    BodyNode* takePlanets();

    // The bands, planets and running values, for the stage checks.
    AccretionState& state() { return state_; }

private:
    // What one band in a body's reach gives it: all matter, dust and gas.
    struct BandSweep {
        double total;
        double dust;
        double gas;
    };
    struct SweepTerms {
        bool catchesGas = false;
        double gasDivisor = 1.0;
        double volumeScale = 0.0;
        double e = 0.0;
        double width = 0.0;
    };
    SweepTerms sweepTerms(double m, double a, double e, double critMass) const;
    BandSweep bandSweep(const SweepTerms& terms, const DustBand& band) const;

    // Cuts the bands at the edges of a swept range [min, max] into cutBands_, the swept
    // pieces without dust, and without gas unless `keepsGas` and they had it.
    void cutBands(double min, double max, bool keepsGas);
    // Whether a protoplanet at `a`, whose eccentricity comes from the draw `eccentricityDraw`,
    // reaches dust; `e` is set to that eccentricity when it does.
    bool dustInReach(double a, int eccentricityDraw, double& e) const;
    void keepSorted(BodyNode* planet);
    // Whether a body at `a`, `e` and `planet` reach each other's orbits; leaves the planet's
    // reduced mass as the most recent one.
    bool collides(BodyNode& planet, double a, double e);
    // The planet's reduced mass, worked out again only when its mass has changed.
    static double reducedMassOfPlanet(BodyNode& planet);

    LcgRandom& random_;
    AccretionState state_;
    ReachBound reachBound_;
    // The bands cut at the edges of a swept range, kept between calls to save allocations.
    std::vector<DustBand> cutBands_;
};

double criticalMass(double a, double e, double luminosity);
