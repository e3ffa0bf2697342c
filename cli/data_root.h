#pragma once
// Where the command line finds its folders. Reading needs only the Starvane data folder: the
// simulator root given with --root, else the working folder when it holds one, else the data
// an installed copy ships, else the data of the source tree it was built from. Writing needs a
// simulator root: --root, else the working folder when it holds Starvane/, else, for an
// installed copy, the user's own root ($STARVANE_ROOT or ~/starvane-root), prepared from the
// shipped data on first use.

#include <filesystem>
#include <optional>
#include <string>

#include "galaxy/stellar_tables.h"

// The root chosen for an optional --root value.
std::filesystem::path chooseDataRoot(const std::optional<std::string>& root);

// The simulator root `command` writes into; says on stderr which one when it had to choose,
// or why there is none.
std::optional<std::filesystem::path> chooseSimulatorRoot(const std::optional<std::string>& root, const char* command);

// The texture plug-in: the one an installed copy ships, else "texgen.so" in `root`.
std::filesystem::path pluginPath(const std::filesystem::path& root);

// Loads the stellar tables below `root`; on failure says what is missing on stderr.
bool loadStellarTables(const std::filesystem::path& root, StellarTables& tables);
