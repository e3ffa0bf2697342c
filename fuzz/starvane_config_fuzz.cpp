// Any text read as the configuration "Starvane/Starvane.cfg" must load without a crash, with
// asteroid counts a belt may have, and the asteroids drawn with them must stay within bounds.

#include <cstddef>
#include <cstdint>
#include <string>

#include "export/asteroids.h"
#include "text/format_limits.h"
#include "files/starvane_config.h"
#include "generation/lcg_random.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string problem;
    const StarvaneConfig config = readStarvaneConfig(std::string(reinterpret_cast<const char*>(data), size), &problem);
    if (config.maxasteroids > kMostAsteroidsPerBelt || config.minasteroids > kMostAsteroidsPerBelt) __builtin_trap();
    GeneratedSystem system;
    PlanetSlot belt;
    belt.bodies.resize(1);
    belt.bodies[0].type = asteroids;
    belt.bodies[0].name = "Belt";
    system.planets.assign(3, belt);
    system.planetcount = 3;
    LcgRandom random;
    random.seed(1);
    const std::size_t count =
        generateAsteroids(system, "Star", config.maxasteroids, config.minasteroids, random).size();
    if (count > 3u * static_cast<std::size_t>(kMostAsteroidsPerBelt)) __builtin_trap();
    return 0;
}
