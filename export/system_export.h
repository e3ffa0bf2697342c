#pragma once
// Writing a system as the configuration files of the Orbiter simulator: a system file that
// lists the star and every body, a star file, one file per planet and moon, one per asteroid
// (belts become swarms of asteroids), and a marker file for the UMMU add-on that lists the
// habitable bodies. To cache, the files go straight into the simulator's Config folder; to
// folder, into "Starvane/SavedSystems/" with references to a placeholder folder.

#include <filesystem>
#include <optional>
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

// What an export could not write: the folder when it could not be made, else the first file
// that failed; and why, when that is known.
struct ExportFailure {
    std::filesystem::path path;
    std::string reason;
};

struct ExportedSystem {
    std::vector<PlanetRecord> asteroids;  // their count goes to the system's `asteroidtotal`
    std::optional<ExportFailure> failure;
};

// Writes all files of `system` and returns the generated asteroids. The plug-in, when loaded,
// gives the atmosphere colours (stored in the bodies' `colour`). A file that cannot be written
// is reported and does not stop the others, so that the draws are the same either way. The
// asteroids, cloud heights and asteroid orbit angles are drawn from `random`. The marker file
// is left out when the add-on's folder is missing.
ExportedSystem exportSystem(const std::filesystem::path& root, GeneratedSystem& system, const StellarData& star,
                            int maxAsteroids, int minAsteroids, bool toCache, const TexturePlugin* plugin,
                            LcgRandom& random);
