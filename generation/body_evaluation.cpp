#include "generation/body_evaluation.h"

#include <cmath>
#include <limits>

#include "generation/atmosphere.h"
#include "generation/climate.h"
#include "generation/lcg_random.h"
#include "generation/physical_constants.h"
#include "generation/planet_physics.h"

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

void resetForEvaluation(BodyNode& body, int number, GeneratorStar& star) {
    body.medsurftemp = 0.0;
    body.greenhouserise = 0.0;
    body.hightemp = 0.0;
    body.lowtemp = 0.0;
    body.maxtemp = 0.0;
    body.mintemp = 0.0;
    body.planetnumber = number;
    body.star = &star;
    body.resonant = 0;
    body.atmcompounds.clear();
    body.gascount = 0;
}

// Keeps the moons that are neither too light nor too heavy and, around a heavy planet, not
// inside the Roche distance; evaluates them at the planet's distance from the star and gives
// the moons of lighter planets random orbits.
void handleMoons(BodyNode& planet, GeneratorStar& star, LcgRandom& random) {
    int kept = 0;
    BodyNode** link = &planet.firstmoon;
    while (*link != nullptr) {
        BodyNode* moon = *link;
        const double earthMasses = moon->mass * kEarthMassesPerSolarMass;
        if (!(earthMasses > 0.0005 && earthMasses < 1.0)) {
            *link = moon->next;
            releaseBody(moon);
            continue;
        }
        ++kept;
        moon->moonsma = moon->sma;
        moon->moonecc = moon->ecc;
        moon->sma = planet.sma;
        moon->ecc = planet.ecc;
        evaluateBody(*moon, kept, star, kBodyAndMoons, true, random);

        const double roche = moon->radius * std::pow(2.0 * planet.mass / moon->mass, 1.0 / 3.0) *
                             kAuPerKm;
        if (planet.mass > kFiveEarthMasses) {
            if (moon->moonsma < roche) {
                *link = moon->next;
                releaseBody(moon);
                --kept;
                continue;
            }
        } else {
            moon->moonsma = random.drawUniform(
                roche, std::pow(planet.mass / (3.0 * star.mass), 1.0 / 3.0) * planet.sma / 6.0);
            moon->moonecc = random.drawEccentricity();
        }
        link = &moon->next;
    }
}

void setGravity(BodyNode& body) {
    body.surfaccel = surfaceAcceleration(body.mass, body.radius);
    body.surfgrav = surfaceGravity(body.surfaccel);
}

// A small body loses part of its hydrogen and helium over the star's age.
void loseLightGases(BodyNode& body, const GeneratorStar& star) {
    const double hydrogen = body.gasmass * 0.85;
    const double helium = (body.gasmass - hydrogen) * 0.999;
    const double hydrogenLife = gasLife(2.0, body);
    const double heliumLife = gasLife(4.0, body);
    if (hydrogenLife < star.age) {
        const double loss = (1.0 - 1.0 / std::exp(star.age / hydrogenLife)) * hydrogen;
        body.gasmass -= loss;
        body.mass -= loss;
        setGravity(body);
    }
    if (heliumLife < star.age) {
        const double loss = (1.0 - 1.0 / std::exp(star.age / heliumLife)) * helium;
        body.gasmass -= loss;
        body.mass -= loss;
        setGravity(body);
    }
}

void finishGiant(BodyNode& body, const GeneratorStar& star, LcgRandom& random) {
    body.greenhouse = 0;
    body.volinventory = kInfinity;
    body.surfpressure = kInfinity;
    body.boilpoint = kInfinity;
    body.medsurftemp = kInfinity;
    body.greenhouserise = 0.0;
    body.albedo = random.drawAround(0.5, 0.1);
    body.hydrofraction = 1.0;
    body.cloudfraction = 1.0;
    body.icefraction = 0.0;
    body.minmolweight = minMolecularWeight(body);
    body.surfgrav = kInfinity;
    body.esttemp = estimatedTemp(star.ecosphereradius, body.sma, body.albedo);
    body.estterrtemp = estimatedTemp(star.ecosphereradius, body.sma, 0.3);
    if (body.type == jovian) body.type = sudarskyClass(body.esttemp);
}

PlanetType surfaceType(BodyNode& body, bool isMoon) {
    const double earthMasses = body.mass * kEarthMassesPerSolarMass;
    if (body.surfpressure < 1.0) return (!isMoon && earthMasses < 0.001) ? asteroids : rock;
    if (body.surfpressure > 6000.0 && body.minmolweight <= 2.0) {
        body.atmcompounds.clear();
        body.gascount = 0;
        return gasdwarf;
    }
    if (std::trunc(body.period * 24.0) == std::trunc(body.day) || body.resonant) return oneface;
    if (body.hydrofraction >= 0.95) return oceanic;
    if (body.icefraction >= 0.95) return ice;
    if (body.hydrofraction > 0.05) return terrestrial;
    if (body.maxtemp > body.boilpoint) return venusian;
    if (body.gasmass / body.mass > 0.0001) {
        body.icefraction = 1.0;
        return ice;
    }
    if (body.surfpressure <= 250.0) return martian;
    if (body.medsurftemp < kFreezingPoint) return ice;
    return unknown;
}

}  // namespace

void evaluateBody(BodyNode& body, int number, GeneratorStar& star, int moonMode, bool isMoon,
                  LcgRandom& random) {
    resetForEvaluation(body, number, star);

    if (moonMode > kBodyOnly && !isMoon && body.firstmoon != nullptr) handleMoons(body, star, random);
    if (moonMode >= kMoonsOnly) return;

    const double ecosphere = star.ecosphereradius;
    const OrbitZone zone = orbitZone(star.luminosity, body.sma);
    body.orbitzone = zone;
    body.period = orbitalPeriod(body.sma, body.mass, star.mass);
    body.axtilt = axialTilt(body.sma, random);
    body.exotemp = exosphereTemp(body.sma, ecosphere);
    body.rmsvelocity = rmsVelocity(kNitrogenWeight, body.exotemp);
    body.coreradius = kothariRadius(body.dustmass, zone);
    body.density = empiricalDensity(body.mass, body.sma, ecosphere);
    body.radius = volumeRadius(body.mass, body.density);
    setGravity(body);
    body.minmolweight = minMolecularWeight(body);

    // Only this evaluation's test makes a giant: a planet re-evaluated after its star lost mass
    // may still carry the giant type of its old orbit.
    const double earthMasses = body.mass * kEarthMassesPerSolarMass;
    const bool giant =
        earthMasses > 1.0 && body.gasmass / body.mass > 0.1 && body.minmolweight <= 4.0;
    if (giant) {
        body.type = earthMasses < 10.0 ? gasdwarf : earthMasses < 100.0 ? icegiant : jovian;
    } else {
        body.radius = kothariRadius(body.mass, zone);
        body.density = volumeDensity(body.mass, body.radius);
        setGravity(body);
        if (body.gasmass / body.mass > 1e-06) loseLightGases(body, star);
    }

    setDayLength(body);
    body.escvelocity = escapeVelocity(body.mass, body.radius);

    if (giant) {
        finishGiant(body, star, random);
        return;
    }

    body.esttemp = estimatedTemp(ecosphere, body.sma, 0.3);
    body.estterrtemp = body.esttemp;
    body.surfgrav = surfaceGravity(body.surfaccel);
    body.minmolweight = minMolecularWeight(body);
    body.greenhouse = runawayGreenhouse(ecosphere, body.sma) ? 1 : 0;
    body.volinventory =
        volatileInventory(body.mass, body.escvelocity, body.rmsvelocity, star.mass,
                          zone, body.greenhouse != 0, body.gasmass / body.mass > 1e-06);
    body.surfpressure = surfacePressure(body.volinventory, body.radius, body.surfgrav);
    body.boilpoint = boilingPoint(body.surfpressure);
    iterateClimate(body);
    composeAtmosphere(star, body);
    body.type = surfaceType(body, isMoon);
}
