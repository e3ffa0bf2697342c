// Any text read as the configuration "Starvane/Starvane.cfg" must load without a crash, with
// asteroid counts a belt may have, and the asteroids drawn with them must stay within bounds.

#include "export/asteroids.h"
#include "files/starvane_config.h"
#include "fuzz/fuzz_text.h"
#include "generation/lcg_random.h"
#include "text/format_limits.h"

void fuzzText(std::string text) {
    std::string problem;
    const StarvaneConfig config = readStarvaneConfig(text, &problem);
    require(config.maxasteroids <= kMostAsteroidsPerBelt && config.minasteroids <= kMostAsteroidsPerBelt);
    GeneratedSystem system;
    PlanetSlot belt;
    belt.bodies.resize(1);
    belt.bodies[0].type = asteroids;
    belt.bodies[0].name = "Belt";
    system.planets.assign(3, belt);
    system.planetcount = 3;
    LcgRandom random;
    random.seed(1);
    const auto drawn = generateAsteroids(system, "Star", config.maxasteroids, config.minasteroids, random);
    require(drawn.size() <= 3u * static_cast<std::size_t>(kMostAsteroidsPerBelt));
}
