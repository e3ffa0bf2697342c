#pragma once
// Where the command line finds the Starvane data folder: the simulator root given with
// --root, else the working folder when it holds one, else the default data the program ships.

#include <filesystem>
#include <optional>
#include <string>

#include "galaxy/stellar_tables.h"

// The root chosen for an optional --root value.
std::filesystem::path chooseDataRoot(const std::optional<std::string>& root);

// Loads the stellar tables below `root`; on failure says what is missing on stderr.
bool loadStellarTables(const std::filesystem::path& root, StellarTables& tables);
