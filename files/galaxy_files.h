#pragma once
// Loading a galaxy folder "Starvane/Galaxy/<name>/": its custom systems, its description file
// with the galaxy's parameters, and its catalogue of real stars. Custom systems take the place
// of the catalogue stars they name in their alias, or are added as extra stars.

#include <filesystem>
#include <string>

#include "galaxy/galaxy_catalogue.h"
#include "galaxy/stellar_tables.h"
#include "platform/message_sink.h"

// Reads every "*.svs" file of "<galaxyFolder>/Custom Systems/", in name order, into the
// catalogue's custom-star table; what a file had cut or refused is told to `messages`.
void loadCustomSystems(GalaxyCatalogue& catalogue, const std::filesystem::path& galaxyFolder,
                       MessageSink* messages = nullptr);

// Reads the description file's parameters into the catalogue and seeds the galaxy's random
// source with the star seed.
void readGalaxyDescription(GalaxyCatalogue& catalogue, const std::string& text);

// Reads the star catalogue text into the catalogue's table, placing the custom systems.
void readStarCatalogue(GalaxyCatalogue& catalogue, const std::string& text);

// Loads galaxy `name` below the simulator root: custom systems, description and catalogue,
// then builds the catalogue's index by cube.
void loadGalaxy(GalaxyCatalogue& catalogue, const std::filesystem::path& root,
                const std::string& name, const StellarTables& tables, MessageSink* messages = nullptr);

// The galaxy's folder below the simulator root.
std::filesystem::path galaxyFolder(const std::filesystem::path& root, const std::string& name);

// The radius of the central region, in cubes, that no galaxy file sets.
constexpr double kCentreRadius = 100.0;
