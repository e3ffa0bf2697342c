// Starvane/Starvane.cfg, any text: asteroid counts a belt may have, and asteroids drawn within bounds.

#include "export/asteroids.h"
#include "files/starvane_config.h"
#include "fuzz/fuzz_text.h"
#include "generation/lcg_random.h"
#include "text/format_limits.h"

void fuzzText(std::string text) {
    std::string problem;
    const StarvaneConfig config = readStarvaneConfig(text, &problem);
    require(config.maxasteroids <= kMostAsteroidsPerBelt && config.minasteroids <= kMostAsteroidsPerBelt);
    const PlanetSlot belt{{PlanetRecord{.type = asteroids, .name = "Belt"}}, 0};
    const GeneratedSystem system{.planets = {belt, belt, belt}, .planetcount = 3};
    LcgRandom random;
    random.seed(1);
    const auto drawn = generateAsteroids(system, "Star", config.maxasteroids, config.minasteroids, random);
    require(drawn.size() <= 3u * static_cast<std::size_t>(kMostAsteroidsPerBelt));
}
