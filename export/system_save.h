#pragma once
// The whole save of a star's system, as the command panel runs it: to cache (registered in
// the cache list, saved copy, configuration files straight into the simulator, textures) or
// to folder (saved-system file, configuration files and textures in "Starvane/SavedSystems/").

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "export/scenario_writer.h"
#include "export/system_export.h"
#include "export/texture_export.h"
#include "files/starvane_config.h"
#include "galaxy/star_record.h"
#include "generation/lcg_random.h"

enum class SaveOutcome {
    saved,
    alreadyCached,     // the cache list holds the system already: nothing was written
    readFromFile,      // the star's system came from a custom file: not exported to cache
    noSystem,          // the star has no system to save
    writeFailed,       // the saved-system file could not be written
    notRegistered,     // the cache list could not be written: nothing was exported
    exportFailed,      // a configuration file could not be written: no textures, not listed as cached
    cancelled,         // stopped on request between two bodies' textures; to cache, nothing is kept
};

struct SaveResult {
    SaveResult(SaveOutcome kind, std::optional<ExportFailure> unwritten = std::nullopt)
        : outcome(kind), failure(std::move(unwritten)) {}

    SaveOutcome outcome;
    std::optional<ExportFailure> failure;  // with exportFailed: what could not be written
    ScenarioOutcome scenario;              // of an export whose files were all written
};

struct SaveHooks {
    // Shown once between the configuration files and the textures.
    std::function<void(const std::string&)> status;
    TextureProgressDisplay progress;
    // A file of a system evicted from the cache that was left alone (it leads outside the
    // simulator's folders).
    std::function<void(const std::string&)> notice;
    // The name of each body before its textures are made.
    std::function<void(const std::string&)> body;
    // Asked before each body's textures: true stops the save there.
    std::function<bool()> cancelled;
};

// Both saves write the system's scenario dated exportMoment().

// Saves to the simulator's cache. `plugin` may be unloaded (no textures then) or null (no
// atmosphere colours either). The export's draws continue the sequence of `random`.
SaveResult saveToCache(const std::filesystem::path& root, StarRecord& star, const StarvaneConfig& config,
                       const TexturePlugin* plugin, const SaveHooks& hooks, LcgRandom& random);

// Saves to "Starvane/SavedSystems/".
SaveResult saveToFolder(const std::filesystem::path& root, StarRecord& star, const StarvaneConfig& config,
                        const TexturePlugin* plugin, const SaveHooks& hooks, LcgRandom& random);

// What a person is told about a save.
std::string saveResultText(const SaveResult& result, const std::string& systemName);

// The status line shown before the texture export.
constexpr const char* kTextureExportStatus = "initialising texture export";
