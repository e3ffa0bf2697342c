#pragma once
// Loading a galaxy folder "Starvane/Galaxy/<name>/": its custom systems, its description file
// with the galaxy's parameters, and its catalogue of real stars. Custom systems take the place
// of the catalogue stars they name in their alias, or are added as extra stars.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "files/star_catalogue_lines.h"
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

// The lines of a star catalogue text: after blank lines, the declared count, then that many
// star lines (fewer when the text ends first).
std::vector<CatalogueLine> parseCatalogueLines(std::string_view text);

// Makes the catalogue's table of the catalogue lines, naming the stars named "NIL" by their
// place and placing the custom systems.
void placeCatalogueLines(GalaxyCatalogue& catalogue, const std::vector<CatalogueLine>& lines);

// Reads the star catalogue text into the catalogue's table, placing the custom systems.
void readStarCatalogue(GalaxyCatalogue& catalogue, const std::string& text);

// Whether loading a galaxy keeps a binary copy of the parsed star catalogue beside its text
// (the atlas does, to start sooner; the command line leaves the folder as it is).
enum class CatalogueCopy { kTextOnly, kKeepBinaryCopy };

// Loads galaxy `name` below the simulator root: custom systems, description and catalogue,
// then builds the catalogue's index by cube.
void loadGalaxy(GalaxyCatalogue& catalogue, const std::filesystem::path& root,
                const std::string& name, const StellarTables& tables, MessageSink* messages = nullptr,
                CatalogueCopy copy = CatalogueCopy::kTextOnly);

// The galaxy's folder below the simulator root.
std::filesystem::path galaxyFolder(const std::filesystem::path& root, const std::string& name);

// The radius of the central region, in cubes, that no galaxy file sets.
constexpr double kCentreRadius = 100.0;
