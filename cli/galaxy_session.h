#pragma once
// A galaxy loaded for the command line: stellar tables, catalogue with custom systems, and the
// density picture, from the simulator root.

#include <filesystem>
#include <memory>
#include <string>

#include "galaxy/galaxy_catalogue.h"
#include "galaxy/stellar_tables.h"

struct GalaxySession {
    std::filesystem::path root;
    StellarTables tables;
    GalaxyCatalogue catalogue;
};

// Loads galaxy `name` below `root`; says on stderr what is missing and returns null when the
// stellar tables or the galaxy's description cannot be read.
std::unique_ptr<GalaxySession> openGalaxy(const std::filesystem::path& root, const std::string& name);

// The catalogue star with exactly this name, or null.
StarRecord* findCatalogueStar(GalaxyCatalogue& catalogue, const std::string& name);
