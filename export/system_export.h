#pragma once
// Writing a system as the configuration files of the Orbiter simulator: a system file that
// lists the star and every body, a star file, one file per planet and moon, one per asteroid
// (belts become swarms of asteroids), and a marker file for the UMMU add-on that lists the
// habitable bodies. To cache, the files go straight into the simulator's Config folder; to
// folder, into "Starvane/SavedSystems/" with references to a placeholder folder.

#include <filesystem>
#include <string>
#include <vector>

#include "export/texture_plugin.h"
#include "galaxy/star_record.h"
#include "generation/lcg_random.h"

struct ExportDestination {
    std::filesystem::path folder;  // where the files go (D)
    std::string reference;         // prefix of the references in the system file (R)
    std::filesystem::path marker;  // the marker file
};

// The folders and references of an export of system `systemName` below the simulator root.
ExportDestination exportDestination(const std::filesystem::path& root, const std::string& systemName,
                                    bool toCache);

// Writes all files of `system` and returns the generated asteroids (their count goes to the
// system's `asteroidtotal`). The plug-in, when loaded, gives the atmosphere colours (stored in
// the bodies' `colour`). Files that cannot be written are skipped. The asteroids, cloud heights
// and asteroid orbit angles are drawn from `random`.
std::vector<PlanetRecord> exportSystem(const std::filesystem::path& root, GeneratedSystem& system,
                                       const StellarData& star, int maxAsteroids, int minAsteroids,
                                       bool toCache, const TexturePlugin* plugin, LcgRandom& random);
