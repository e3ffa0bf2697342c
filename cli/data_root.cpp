#include "cli/data_root.h"

#include <iostream>

#include "platform/file_image.h"

std::filesystem::path chooseDataRoot(const std::optional<std::string>& root) {
    if (root) return *root;
    std::error_code error;
    if (std::filesystem::exists("Starvane/Data/StellarTable.csv", error)) return ".";
    return STARVANE_DEFAULT_ROOT;
}

bool loadStellarTables(const std::filesystem::path& root, StellarTables& tables) {
    if (tables.load(root, FileImageLoader{})) return true;
    std::cerr << "starvane-cli: cannot read the stellar tables in "
              << (root / "Starvane" / "Data").string()
              << " (StellarTable.csv, EvoTracks.dat, HRRef.bmp)\n";
    return false;
}
