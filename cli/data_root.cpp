#include "cli/data_root.h"

#include <iostream>

#include "files/simulator_root.h"
#include "platform/file_image.h"
#include "platform/install_layout.h"

namespace fs = std::filesystem;

fs::path chooseDataRoot(const std::optional<std::string>& root) {
    if (root) return *root;
    std::error_code error;
    if (fs::exists("Starvane/Data/StellarTable.csv", error)) return ".";
    if (const InstallLayout installed = installedLayout(); !installed.data.empty()) return installed.data;
    return STARVANE_DEFAULT_ROOT;
}

std::optional<fs::path> chooseSimulatorRoot(const std::optional<std::string>& root, const char* command) {
    std::error_code error;
    const fs::path chosen = root ? fs::path(*root) : fs::path(".");
    const InstallLayout installed = installedLayout();
    if (root || fs::is_directory("Starvane", error) || installed.data.empty()) {
        if (fs::is_directory(chosen / "Starvane", error)) return chosen;
        std::cerr << "starvane-cli " << command
                  << ": run it in the simulator root (the folder holding Starvane/) or give --root\n";
        return std::nullopt;
    }
    const RootPreparation prepared = prepareDefaultRoot(installed.data);
    if (!prepared.ready) {
        std::cerr << "starvane-cli " << command << ": " << prepared.problem << "\n";
        return std::nullopt;
    }
    std::cerr << "starvane-cli " << command << ": working in the simulator root " << prepared.root.string() << "\n";
    return prepared.root;
}

fs::path pluginPath(const fs::path& root) {
    const InstallLayout installed = installedLayout();
    return installed.plugin.empty() ? root / "texgen.so" : installed.plugin;
}

bool loadStellarTables(const fs::path& root, StellarTables& tables) {
    if (tables.load(root, FileImageLoader{})) return true;
    std::cerr << "starvane-cli: cannot read the stellar tables in "
              << (root / "Starvane" / "Data").string()
              << " (StellarTable.csv, EvoTracks.dat, HRRef.bmp)\n";
    return false;
}
