#include "export/system_export.h"

#include "export/asteroids.h"
#include "export/config_writers.h"
#include "files/safe_name.h"
#include "files/simulator_paths.h"

namespace {

// Makes the destination folder. Our own folder below the simulator's configuration may be
// new; the configuration folder itself must exist. Says what is missing when the folder is not
// there afterwards.
std::optional<ExportFailure> makeFolder(const ExportDestination& destination, bool toCache) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path config = destination.folder.parent_path().parent_path();
    const bool configFound = fs::is_directory(config, error);
    if (toCache && configFound) fs::create_directory(destination.folder.parent_path(), error);
    if (!toCache) fs::create_directories(destination.folder.parent_path(), error);
    fs::create_directory(destination.folder, error);
    if (fs::is_directory(destination.folder, error)) return std::nullopt;
    if (toCache && !configFound) return ExportFailure{destination.folder, "the simulator's Config folder is missing"};
    return ExportFailure{destination.folder, "the folder could not be made"};
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

ExportedSystem exportSystem(const std::filesystem::path& root, GeneratedSystem& system, const StellarData& star,
                            int maxAsteroids, int minAsteroids, bool toCache, const TexturePlugin* plugin,
                            LcgRandom& random) {
    const ExportDestination destination = exportDestination(root, system.name, toCache);
    ExportedSystem exported;
    exported.failure = makeFolder(destination, toCache);
    exported.asteroids = generateAsteroids(system, star.name, maxAsteroids, minAsteroids, random);
    system.asteroidtotal = static_cast<std::int32_t>(exported.asteroids.size());

    ExportTarget target{destination.folder, destination.reference, safeFileName(system.name), {}, {}};
    writeSystemFile(target, system, exported.asteroids);
    writeStarFile(target, star);
    if (plugin != nullptr && plugin->loaded()) plugin->setOption(TEXTURE_OPTION_DETAIL, 0);
    writeBodyFiles(target, system, plugin, random);
    writeMarkerFile(target, destination.marker, system, toCache);
    for (PlanetRecord& asteroid : exported.asteroids) writeAsteroidFile(target, asteroid, random);
    if (!exported.failure && target.unwritten) exported.failure = ExportFailure{*target.unwritten, ""};
    return exported;
}
