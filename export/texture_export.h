#pragma once
// The texture export: asks the texture plug-in for the textures of every planet, moon and
// asteroid of an exported system, keeps the list of texture files of a system exported to
// cache (so that it can be removed again), and reports progress.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "export/texture_plugin.h"
#include "files/starvane_config.h"
#include "generation/generated_system.h"

// How a body type is textured: surface style (0 for none), whether it gets a cloud texture
// (1 yes, 0 no, -1 leave the flag as it is), and its level bound (1 lower, -1 upper, 0 none).
struct SurfaceStyle {
    int style = 0;
    int cloudtexture = -1;
    int bound = 0;
};
SurfaceStyle surfaceStyle(const PlanetRecord& body);

// Cloud class 2 to 6 from the surface pressure; `textureSwitch` 1 gives bodies with almost no
// air class 5 instead of 6.
int cloudClass(double surfpressure, int textureSwitch);

// Texture level of a planet or moon from its radius (km) and the configured levels, radii and
// bounds.
int textureLevel(const PlanetRecord& body, const StarvaneConfig& config);

// Shows the progress of a texture export: bodies done, total, level and fraction of the body.
using TextureProgressDisplay = std::function<void(int done, int total, int level, double fraction)>;

// The progress line: done + "/" + total + ": Lvl" + level + " " + percent + "%".
std::string progressText(int done, int total, int level, double fraction);

// Told the name of each planet, moon or asteroid before its textures are made, and asked then
// whether to stop (true: no further textures). Either may be empty.
struct TextureSteps {
    std::function<void(const std::string&)> starting;
    std::function<bool()> stop;
};

// Exports the textures of `system` and of the asteroids `swarm` (the export's asteroid list,
// which the call consumes). To cache, the texture files are listed in the system's
// "Textures.log". Returns false when `steps` stopped it before every body had its textures;
// the files of the bodies done are whole.
bool exportTextures(const std::filesystem::path& root, GeneratedSystem& system,
                    std::vector<PlanetRecord>&& swarm, const StarvaneConfig& config, bool toCache,
                    const TexturePlugin& plugin, TextureProgressDisplay display, const TextureSteps& steps = {});
