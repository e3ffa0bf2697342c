// The single entry point that turns a star and a seed into its planetary system: seeding,
// accretion, the adaptation to a star that has lost mass, the evaluation of every body, and
// the copy into the star's GeneratedSystem with random orbit orientations.

#include <cmath>
#include <ctime>
#include <string>

#include "generation/stellar_data.h"
#include "generation/accretion.h"
#include "generation/body_evaluation.h"
#include "generation/lcg_random.h"
#include "generation/physical_constants.h"
#include "generation/planet_physics.h"

namespace {

constexpr double kDustCoefficient = 0.002;
constexpr double kSolarRadiusKm = 695500.0;

bool hasNoPlanets(const std::string& typeName) {
    return typeName == "Neutron Star" || typeName == "Black Hole" || typeName == "White Dwarf" ||
           typeName == "VI";
}

bool isSudarsky(PlanetType type) { return type >= sudarskyi && type <= sudarskyv; }

// Evaluates every planet. When the star has lost mass since its planets formed, each orbit
// widens; a planet whose new periapsis lies inside the star is swallowed.
BodyNode* evaluatePlanets(BodyNode* planets, GeneratorStar& star, const StellarData& stellar,
                          LcgRandom& random) {
    const double initialMass = stellar.initialmass;
    const double currentMass = stellar.mass;
    const double currentLuminosity = stellar.luminosity;
    const double initialEcosphere = std::sqrt(star.luminosity);

    int number = 0;
    BodyNode** link = &planets;
    while (*link != nullptr) {
        BodyNode* planet = *link;
        ++number;
        if (currentMass == initialMass) {
            evaluateBody(*planet, number, star, kBodyAndMoons, false, random);
            link = &planet->next;
            continue;
        }

        const double newSma = planet->sma * initialMass / currentMass;
        const double newEcc = planet->ecc * random.drawUniform(1.0, 3.0);
        if (stellar.radius * kSolarRadiusKm >= newSma * kKmPerAu * (1.0 - newEcc)) {
            *link = planet->next;
            releaseBody(planet);
            star.luminosity = currentLuminosity;
            continue;
        }

        evaluateBody(*planet, number, star, kBodyOnly, false, random);
        planet->sma = newSma;
        planet->ecc = newEcc;
        star.luminosity = currentLuminosity;
        star.ecosphereradius = std::sqrt(currentLuminosity);
        if (isSudarsky(planet->type)) {
            const double temperature = estimatedTemp(star.ecosphereradius, newSma, planet->albedo);
            planet->type = sudarskyClass(temperature);
            const double ratio = std::sqrt(currentLuminosity) / newSma;
            planet->exotemp = 1273.0 * (ratio * ratio);
            if (planet->firstmoon != nullptr)
                evaluateBody(*planet, number, star, kMoonsOnly, false, random);
        } else {
            evaluateBody(*planet, number, star, kBodyAndMoons, false, random);
        }
        star.luminosity = currentLuminosity;
        star.ecosphereradius = initialEcosphere;
        link = &planet->next;
    }
    return planets;
}

void drawOrientation(PlanetRecord& record, LcgRandom& random) {
    const double u = 100.0 * random.next() / 32767.0;
    const double n = random.next();
    if (u < 95.0)
        record.inclination = 0.087 * n / 32767.0;
    else if (u < 99.9)
        record.inclination = 0.175 * n / 32767.0;
    else
        record.inclination = 0.52 * n / 32767.0;
    record.longascnode = 6.283 * random.next() / 32767.0;
    record.longperihelion = 6.283 * random.next() / 32767.0;
    record.meanlongitude = 6.283 * random.next() / 32767.0;
}

void fillSystem(GeneratedSystem& system, const BodyNode* planets, LcgRandom& random) {
    system.planetcount = countBodies(planets);
    system.planets.assign(static_cast<std::size_t>(system.planetcount), PlanetSlot{});
    int index = 0;
    for (const BodyNode* planet = planets; planet != nullptr; planet = planet->next, ++index) {
        PlanetSlot& slot = system.planets[static_cast<std::size_t>(index)];
        slot.mooncount = countBodies(planet->firstmoon);
        slot.bodies.resize(static_cast<std::size_t>(slot.mooncount) + 1);

        PlanetRecord& record = slot.bodies[0];
        record = *planet;
        record.name = planetLetter(index);
        drawOrientation(record, random);

        int moonNumber = 0;
        for (const BodyNode* moon = planet->firstmoon; moon != nullptr; moon = moon->next) {
            ++moonNumber;
            PlanetRecord& moonRecord = slot.bodies[static_cast<std::size_t>(moonNumber)];
            moonRecord = *moon;
            moonRecord.sma = moon->moonsma;
            moonRecord.ecc = moon->moonecc;
            moonRecord.name = moonName(record.name, moonNumber);
            drawOrientation(moonRecord, random);
        }
    }
}

}  // namespace

void GeneratedSystem::generateFor(double seed, const StellarData& stellar) {
    LcgRandom random;
    generateFor(seed, stellar, random);
}

void GeneratedSystem::generateFor(double seed, const StellarData& stellar, LcgRandom& random) {
    clearPlanets();
    // The export and the cache list name a system after its star, also when it has no planets.
    name = stellar.name;
    if (hasNoPlanets(stellar.typename_)) return;
    // A star without mass has no disc to accrete from.
    if (!(stellar.initialmass > 0.0) || !std::isfinite(stellar.initialmass)) return;

    std::uint32_t word = low32Bits(seed);  // the integer part modulo 2^32
    if (word == 0) {
        random.seed(static_cast<std::uint32_t>(std::time(nullptr)));
        word = static_cast<std::uint32_t>(random.next());
    }
    random.seed(word);

    GeneratorStar star;
    star.mass = stellar.initialmass;
    star.luminosity = std::pow(star.mass, 3.5);
    star.ecosphereradius = std::sqrt(star.luminosity);
    star.life = 1e10 * star.mass / star.luminosity;
    star.name = name.c_str();

    AccretionDisc disc(random);
    BodyNode* bodies = disc.accrete(star.mass, star.luminosity, 0.0,
                                    200.0 * std::pow(star.mass, 1.0 / 3.0), 0.0, kDustCoefficient,
                                    true);
    star.age = random.drawUniform(1e9, std::fmin(6e9, star.life));

    bodies = evaluatePlanets(bodies, star, stellar, random);
    fillSystem(*this, bodies, random);
    releaseBodies(bodies);
}
