#include "export/asteroids.h"

#include <algorithm>
#include <cmath>

#include "text/format_limits.h"
#include "files/safe_name.h"
#include "generation/lcg_random.h"

namespace {

// The next draw as a real number from 0 to 1.
double unit(LcgRandom& random) { return random.next() / 32767.0; }

struct Composition {
    double base;
    double spread;
};

// Carbonaceous, stony and metallic asteroids; the first are the commonest.
constexpr Composition kCompositions[] = {{2.2, 0.4}, {3.2, 1.17}, {7.3, 0.4}};

int compositionClass(double r) { return r < 0.75 ? 0 : r < 0.92 ? 1 : 2; }

}  // namespace

bool isBelt(const PlanetSlot& planet) {
    return !planet.bodies.empty() && planet.bodies[0].type == asteroids;
}

std::vector<PlanetRecord> generateAsteroids(const GeneratedSystem& system, const std::string& starName,
                                            int maxCount, int minCount, LcgRandom& random) {
    std::vector<PlanetRecord> swarm;
    minCount = std::clamp(minCount, 0, kMostAsteroidsPerBelt);
    maxCount = std::clamp(maxCount, minCount, kMostAsteroidsPerBelt);
    int number = 0;
    for (const PlanetSlot& planet : system.planets) {
        if (!isBelt(planet)) continue;
        const PlanetRecord& belt = planet.bodies[0];
        const long span = static_cast<long>(maxCount) - minCount + 1;
        const int drawn = minCount + static_cast<int>(random.next() % span);
        // Each asteroid becomes a file: however many belts, the system gets no more than this.
        const int count = std::min(drawn, kMostAsteroids - number);
        for (int i = 0; i < count; ++i) {
            PlanetRecord asteroid;
            asteroid.type = asteroids;
            asteroid.sma = belt.sma + 0.1 * unit(random);
            asteroid.mass = belt.mass * (unit(random) * 0.0001 + 0.000001);
            const Composition& composition = kCompositions[compositionClass(unit(random))];
            asteroid.density = (composition.base + composition.spread * unit(random)) * 1000.0;
            asteroid.radius = 0.001 * std::cbrt(asteroid.mass * 1.989e30 / asteroid.density * 0.3183098861827565);
            asteroid.surfpressure = 0.0;
            asteroid.axtilt = 1.57 * unit(random);
            asteroid.ecc = belt.ecc;
            asteroid.day = 100.0 + 700.0 * unit(random);
            asteroid.inclination = belt.inclination;
            asteroid.longascnode = belt.longascnode;
            // The running number stays whole however long the names before it are, so that
            // every asteroid keeps its own files.
            asteroid.name = safeFileName(starName + " " + belt.name) + "#" + std::to_string(++number);
            swarm.push_back(std::move(asteroid));
        }
    }
    return swarm;
}
