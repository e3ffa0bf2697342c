#pragma once
// The writers of an export's configuration files, one per kind of file: the system file that
// lists the star and every body, the star file, a planet's or moon's file, an asteroid's file,
// and the marker file that lists the habitable bodies for the UMMU add-on.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "export/config_file.h"
#include "export/texture_plugin.h"
#include "galaxy/star_record.h"
#include "generation/generated_system.h"
#include "generation/lcg_random.h"

// One export on its way: where its files go, how they refer to each other, and the first file
// that could not be written. A file that fails does not stop the others.
struct ExportTarget {
    std::filesystem::path folder;  // where the files go
    std::string reference;         // prefix of the references in the system file
    std::string systemName;        // the system's name made safe for file names
    ExportNumbers numbers;
    std::optional<std::filesystem::path> unwritten;

    // Writes `text` to `path`; remembers the path when it is the first that fails.
    void save(const std::filesystem::path& path, const std::string& text);
};

void writeSystemFile(ExportTarget& target, const GeneratedSystem& system, const std::vector<PlanetRecord>& swarm);

void writeStarFile(ExportTarget& target, const StellarData& star);

// A planet or moon as its file states it: its name (the "Name =" value) and its size (m) and
// mass (kg) read back from the written digits. Not finite where the file leaves the key out.
struct WrittenBody {
    std::string name;
    double size = 0.0;
    double mass = 0.0;
};
WrittenBody writtenBody(const std::string& systemName, const PlanetRecord& body);

// The file of a planet or moon of the planet in slot `slot`. A body with air asks `plugin`
// for its sky colour and draws its cloud height from `random`.
void writeBodyFile(ExportTarget& target, std::size_t slot, PlanetRecord& body, const TexturePlugin* plugin,
                   LcgRandom& random);

// The file of an asteroid, whose orbit angles are drawn from `random` (perihelion first) and
// kept in the record.
void writeAsteroidFile(ExportTarget& target, PlanetRecord& asteroid, LcgRandom& random);

// The marker file at `path`, with the header of an export to cache or to folder. It is written
// only where its folder exists: the add-on's folder is the add-on's to make.
void writeMarkerFile(ExportTarget& target, const std::filesystem::path& path, const GeneratedSystem& system,
                     bool toCache);
