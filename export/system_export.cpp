#include "export/system_export.h"

#include "export/asteroids.h"
#include "export/config_writers.h"
#include "files/safe_name.h"
#include "files/simulator_paths.h"

namespace {

// Makes the destination folder. Our own folder below the simulator's configuration may be
// new; the configuration folder itself must exist.
void makeFolder(const ExportDestination& destination, bool toCache) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (toCache && fs::is_directory(destination.folder.parent_path().parent_path(), error))
        fs::create_directory(destination.folder.parent_path(), error);
    if (!toCache) fs::create_directories(destination.folder.parent_path(), error);
    fs::create_directory(destination.folder, error);
}

void writeBodyFiles(ExportTarget& target, GeneratedSystem& system, const TexturePlugin* plugin,
                    LcgRandom& random) {
    for (std::size_t i = 0; i < system.planets.size(); ++i) {
        PlanetSlot& planet = system.planets[i];
        if (isBelt(planet)) continue;
        for (PlanetRecord& body : planet.bodies) writeBodyFile(target, i, body, plugin, random);
    }
}

}  // namespace

ExportDestination exportDestination(const std::filesystem::path& root, const std::string& systemName,
                                    bool toCache) {
    const std::string name = safeFileName(systemName);
    ExportDestination destination;
    if (toCache) {
        const std::filesystem::path config = resolveInside(root, "Config").value_or(root / "Config");
        destination.folder = config / "StarvaneSystems" / name;
        destination.reference = "StarvaneSystems/" + name + "/";
        destination.marker = resolveInside(config, "UMMUPermanentBase").value_or(config / "UMMUPermanentBase") /
                             ("SV_" + name + ".cfg");
    } else {
        destination.folder = root / "Starvane" / "SavedSystems" / name;
        destination.reference = "XXXXXXXXX/" + name + "/";
        destination.marker = destination.folder / ("SV_" + name + ".cfg");
    }
    return destination;
}

std::vector<PlanetRecord> exportSystem(const std::filesystem::path& root, GeneratedSystem& system,
                                       const StellarData& star, int maxAsteroids, int minAsteroids,
                                       bool toCache, const TexturePlugin* plugin, LcgRandom& random) {
    const ExportDestination destination = exportDestination(root, system.name, toCache);
    makeFolder(destination, toCache);
    std::vector<PlanetRecord> swarm = generateAsteroids(system, star.name, maxAsteroids, minAsteroids, random);
    system.asteroidtotal = static_cast<std::int32_t>(swarm.size());

    ExportTarget target{destination.folder, destination.reference, safeFileName(system.name), {}, {}};
    writeSystemFile(target, system, swarm);
    writeStarFile(target, star);
    if (plugin != nullptr && plugin->loaded()) plugin->setOption(TEXTURE_OPTION_DETAIL, 0);
    writeBodyFiles(target, system, plugin, random);
    writeMarkerFile(target, destination.marker, system, toCache);
    for (PlanetRecord& asteroid : swarm) writeAsteroidFile(target, asteroid, random);
    return swarm;
}
