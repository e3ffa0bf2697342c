#include "export/texture_export.h"

#include <cmath>
#include <fstream>
#include <limits>

#include "export/asteroids.h"
#include "export/habitability.h"
#include "files/safe_name.h"
#include "files/simulator_paths.h"

namespace {

// The progress of one texture export: bodies begun, bodies in all, and where it is shown.
struct ExportProgress {
    int done = 0;
    int total = 0;
    TextureProgressDisplay display;

    void report(int level, double fraction) const {
        if (display) display(done, total, level, fraction);
    }
};

int bodyCount(const GeneratedSystem& system) {
    int count = 0;
    for (const PlanetSlot& planet : system.planets) count += static_cast<int>(planet.bodies.size());
    return count;
}

int whole(double value) {
    if (!std::isfinite(value)) return 0;
    if (value >= 2147483647.0) return 2147483647;
    if (value <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(std::trunc(value));
}

// One texture export: the plug-in, the configured levels, the plug-in's output folder, the
// list of the files made (open only for an export to cache) and the progress shown.
struct TextureRun {
    const TexturePlugin& plugin;
    const StarvaneConfig& config;
    std::string folder;
    std::ofstream textureList;
    ExportProgress progress;
    std::function<void(int, double)> reportProgress;
};

// The folder the plug-in writes below its output folder; names use "\" as the simulator does.
std::string pluginFolder(const std::filesystem::path& root, const std::string& systemName, bool toCache) {
    const std::string rootText = root.string() == "." ? std::string() : root.string() + "/";
    return rootText + (toCache ? std::string(".\\") : ".\\Starvane/SavedSystems/" + systemName);
}

void openTextureList(std::ofstream& list, const std::filesystem::path& root, const std::string& systemName) {
    const auto listPath = resolveInside(root, "config/StarvaneSystems/" + systemName + "/Textures.log");
    if (listPath) list.open(*listPath, std::ios::binary | std::ios::trunc);
}

// Textures one planet or moon named `baseName` in its files. Returns false at a belt, whose
// own record and moons get no textures.
bool textureBody(TextureRun& run, const std::string& baseName, const PlanetSlot& planet, PlanetRecord& body) {
    TextureRequest request{};
    request.basename = baseName.c_str();
    if (body.type == asteroids && &body == &planet.bodies[0]) {
        body.cloudtexture = 0;
        run.plugin.clearGen(request);
        return false;
    }
    const SurfaceStyle style = surfaceStyle(body);
    if (style.style == 0) return true;
    if (style.cloudtexture >= 0) body.cloudtexture = static_cast<std::uint8_t>(style.cloudtexture);

    if (run.textureList.is_open())
        run.textureList << baseName << ".tex\n" << baseName << "_cloud.tex\n" << baseName << "M.bmp\n";
    request.radius = whole(body.radius * 1000.0);
    request.style = style.style;
    request.cloudclass = cloudClass(body.surfpressure, run.config.textureswitch);
    request.atmosphereclass = atmosphereClass(body);
    request.temperature = whole(body.medsurftemp - 273.15);
    request.cloudcover = style.cloudtexture == 0 ? 0.0 : body.cloudfraction;
    request.watercover = body.hydrofraction * 0.7;
    request.icecover = body.icefraction;
    request.pressure = body.surfpressure * 0.001;
    ++run.progress.done;
    run.plugin.exportToOrbiter(request, textureLevel(body, run.config), TEXTURE_MODE_BODY, run.folder,
                               run.reportProgress);
    run.plugin.clearGen(request);
    return true;
}

void textureAsteroid(TextureRun& run, const PlanetRecord& asteroid) {
    TextureRequest request{};
    request.basename = asteroid.name.c_str();
    request.radius = whole(asteroid.radius * 1000.0);
    request.style = 2;
    request.cloudclass = 6;
    request.atmosphereclass = 1;
    ++run.progress.done;
    run.plugin.exportToOrbiter(request, run.config.asteroidlevel, TEXTURE_MODE_ASTEROID, run.folder,
                               run.reportProgress);
    run.plugin.clearGen(request);
    if (run.textureList.is_open()) run.textureList << asteroid.name << ".tex\n" << asteroid.name << "M.bmp\n";
}

}  // namespace

SurfaceStyle surfaceStyle(const PlanetRecord& body) {
    switch (body.type) {
    case rock: return {2, 1, 0};
    case venusian: return {4, -1, 0};
    case terrestrial: return {10, 1, 1};
    case martian: return {13, 1, 0};
    case oceanic: return {12, 1, 1};
    case ice: return {1, 1, 0};
    case icegiant:
    case gasdwarf:
    case sudarskyi:
    case sudarskyii:
    case sudarskyiii:
    case sudarskyiv:
    case sudarskyv: return {3, 0, -1};
    case oneface: {
        int style = 2;
        if (body.icefraction > body.hydrofraction && body.icefraction > 0.1)
            style = 1;
        else if (body.hydrofraction >= body.icefraction && body.hydrofraction > 0.1)
            style = body.hydrofraction > 0.8 ? 12 : 10;
        return {style, 1, 0};
    }
    default: return {0, -1, 0};  // unknown and jovian have no texture; belts are handled apart
    }
}

int cloudClass(double p, int textureSwitch) {
    if (p < 0.1) return textureSwitch == 1 ? 5 : 6;
    if (p < 150.0) return 5;
    if (p < 600.0) return 4;
    if (p < 2000.0) return 3;
    if (p < 10000.0) return 2;
    return 5;
}

int textureLevel(const PlanetRecord& body, const StarvaneConfig& config) {
    const double r = body.radius;
    int level;
    if (r >= config.largeradius)
        level = config.largelevel;
    else if (r <= config.smallradius)
        level = config.smalllevel;
    else
        level = whole(config.smalllevel + (r - config.smallradius) * (config.largelevel - config.smalllevel - 1) /
                                              (config.largeradius - config.smallradius) +
                      0.5);
    const SurfaceStyle style = surfaceStyle(body);
    if (style.bound < 0 && level > config.upperbound) level = config.upperbound;
    if (style.bound > 0 && level < config.lowerbound) level = config.lowerbound;
    return level;
}

std::string progressText(int done, int total, int level, double fraction) {
    return std::to_string(done) + "/" + std::to_string(total) + ": Lvl" + std::to_string(level) + " " +
           std::to_string(whole(fraction * 100.0)) + "%";
}

bool exportTextures(const std::filesystem::path& root, GeneratedSystem& system,
                    std::vector<PlanetRecord>&& swarm, const StarvaneConfig& config, bool toCache,
                    const TexturePlugin& plugin, TextureProgressDisplay display, const TextureSteps& steps) {
    const std::vector<PlanetRecord> asteroidList = std::move(swarm);
    if (!plugin.loaded()) return true;
    const std::string systemName = safeFileName(system.name);
    plugin.setOption(TEXTURE_OPTION_DETAIL, config.pluginoption1);
    plugin.setOption(TEXTURE_OPTION_COMPRESSION, config.pluginoption3);

    TextureRun run{plugin, config, pluginFolder(root, systemName, toCache), {}, {}, {}};
    if (toCache) openTextureList(run.textureList, root, systemName);
    run.progress = {0, bodyCount(system) + static_cast<int>(asteroidList.size()), std::move(display)};
    run.reportProgress = [&run](int level, double fraction) { run.progress.report(level, fraction); };
    // Stops between bodies, where every file made is whole.
    auto next = [&steps](const std::string& name) {
        if (steps.stop && steps.stop()) return false;
        if (steps.starting) steps.starting(name);
        return true;
    };

    for (PlanetSlot& planet : system.planets)
        for (PlanetRecord& body : planet.bodies) {
            if (!next(body.name)) return false;
            if (!textureBody(run, systemName + " " + safeFileName(body.name), planet, body))
                break;  // a belt's own moons are not exported either
        }
    for (const PlanetRecord& asteroid : asteroidList) {
        if (!next(asteroid.name)) return false;
        textureAsteroid(run, asteroid);
    }
    return true;
}
