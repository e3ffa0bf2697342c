#pragma once
// The simulator root an installed copy works in when it is given none: $STARVANE_ROOT, else
// ~/starvane-root. It is prepared from the shipped data file by file, never over a file the
// user already has, so what was saved or edited there stays.

#include <filesystem>
#include <optional>
#include <string>

// $STARVANE_ROOT when set, else $HOME/starvane-root; nothing when neither is known.
std::optional<std::filesystem::path> defaultSimulatorRoot();

struct RootPreparation {
    std::filesystem::path root;
    bool ready = false;   // the root holds Starvane/ and the simulator folders
    int filesAdded = 0;   // shipped files copied in this time
    std::string problem;  // why it is not ready
};

// Makes `root` a simulator root: Config/, Textures/, Starvane/SavedSystems/, and every file of
// `shippedData`/Starvane that the root does not have yet.
RootPreparation prepareSimulatorRoot(const std::filesystem::path& root, const std::filesystem::path& shippedData);

// The same for the user's own root, defaultSimulatorRoot(); not ready when there is none.
RootPreparation prepareDefaultRoot(const std::filesystem::path& shippedData);
