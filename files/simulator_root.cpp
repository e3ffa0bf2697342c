#include "files/simulator_root.h"

#include <cstdlib>

namespace fs = std::filesystem;

std::optional<fs::path> defaultSimulatorRoot() {
    if (const char* chosen = std::getenv("STARVANE_ROOT"); chosen != nullptr && *chosen != '\0') return fs::path(chosen);
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return fs::path(home) / "starvane-root";
    return std::nullopt;
}

namespace {

// Copies the files below `from` that `to` lacks; a name the root already has, as a file or as
// anything else, is left alone.
void addMissingFiles(const fs::path& from, const fs::path& to, RootPreparation& result, std::error_code& error) {
    for (fs::recursive_directory_iterator it(from, error), end; !error && it != end; it.increment(error)) {
        const fs::path target = to / fs::relative(it->path(), from, error);
        if (error) return;
        if (fs::exists(fs::symlink_status(target, error))) continue;
        if (it->is_directory(error)) {
            fs::create_directory(target, error);
        } else if (it->is_regular_file(error)) {
            if (fs::copy_file(it->path(), target, fs::copy_options::skip_existing, error)) ++result.filesAdded;
        }
        if (error) return;
    }
}

}  // namespace

RootPreparation prepareSimulatorRoot(const fs::path& root, const fs::path& shippedData) {
    RootPreparation result;
    result.root = root;
    std::error_code error;
    for (const char* folder : {"Config", "Textures", "Starvane/SavedSystems"}) {
        fs::create_directories(root / folder, error);
        if (error) {
            result.problem = "cannot make " + (root / folder).string() + ": " + error.message();
            return result;
        }
    }
    addMissingFiles(shippedData / "Starvane", root / "Starvane", result, error);
    if (error) {
        result.problem = "cannot copy the shipped data into " + (root / "Starvane").string() + ": " + error.message();
        return result;
    }
    result.ready = true;
    return result;
}

RootPreparation prepareDefaultRoot(const fs::path& shippedData) {
    if (const auto root = defaultSimulatorRoot()) return prepareSimulatorRoot(*root, shippedData);
    RootPreparation none;
    none.problem = "no simulator root: give --root, or set STARVANE_ROOT or HOME";
    return none;
}
