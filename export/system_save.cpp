#include "export/system_save.h"

#include "export/system_export.h"
#include "files/cache_list.h"
#include "files/saved_system_file.h"

namespace {

// What became of an export: a file that could not be written, or textures stopped on request.
struct ExportEnd {
    std::optional<ExportFailure> failure;
    bool stopped = false;
};

// Writes the configuration files and then, when they are all written, the scenario and the
// textures.
ExportEnd exportAndTexture(const std::filesystem::path& root, StarRecord& star, const StarvaneConfig& config,
                           const TexturePlugin* plugin, const SaveHooks& hooks, bool toCache, LcgRandom& random,
                           ScenarioOutcome& scenario) {
    ExportedSystem exported = exportSystem(root, *star.system, *star.physical, config.maxasteroids,
                                           config.minasteroids, toCache, plugin, random);
    // Textures of a system whose files are missing could never be found or removed again.
    if (exported.failure) return {exported.failure};
    scenario = saveScenario(root, *star.system, *star.physical, toCache, exportMoment());
    if (hooks.status) hooks.status(kTextureExportStatus);
    if (plugin == nullptr) return {};
    const bool finished = exportTextures(root, *star.system, std::move(exported.asteroids), config, toCache, *plugin,
                                         hooks.progress, {hooks.body, hooks.cancelled});
    return {std::nullopt, !finished};
}

// Which scenario starts the saved system, or why there is none.
std::string scenarioSentence(const ScenarioOutcome& scenario) {
    if (!scenario.label.empty()) return " Fly there: scenario " + scenario.label + ".";
    if (!scenario.problem.empty()) return " No scenario: " + scenario.problem + ".";
    return "";
}

}  // namespace

SaveResult saveToCache(const std::filesystem::path& root, StarRecord& star, const StarvaneConfig& config,
                       const TexturePlugin* plugin, const SaveHooks& hooks, LcgRandom& random) {
    if (!star.path.empty()) return {SaveOutcome::readFromFile};
    if (!star.system || !star.physical) return {SaveOutcome::noSystem};
    switch (addToCache(root, star.system->name, config.cachecapacity, hooks.notice)) {
    case CacheAddition::added: break;
    case CacheAddition::listedAlready: return {SaveOutcome::alreadyCached};
    case CacheAddition::listNotWritten: return {SaveOutcome::notRegistered};
    }
    // The copy in Config/EPP is for an add-on that may not be installed; without its folder
    // the copy is simply not made.
    saveSystemFile(root, star, true);
    SaveResult result(SaveOutcome::saved);
    ExportEnd end = exportAndTexture(root, star, config, plugin, hooks, true, random, result.scenario);
    // A name left in the list would refuse every retry as cached already.
    if (end.failure || end.stopped) removeFromCache(root, star.system->name);
    if (end.failure) return {SaveOutcome::exportFailed, std::move(end.failure)};
    if (end.stopped) {
        // A system with some of its textures would pass for a whole one in the simulator.
        removeExportedSystem(root, star.system->name, hooks.notice);
        return {SaveOutcome::cancelled};
    }
    return result;
}

SaveResult saveToFolder(const std::filesystem::path& root, StarRecord& star, const StarvaneConfig& config,
                        const TexturePlugin* plugin, const SaveHooks& hooks, LcgRandom& random) {
    if (!star.system || !star.physical) return {SaveOutcome::noSystem};
    SaveResult result(saveSystemFile(root, star, false) ? SaveOutcome::saved : SaveOutcome::writeFailed);
    ExportEnd end = exportAndTexture(root, star, config, plugin, hooks, false, random, result.scenario);
    if (end.failure) return {SaveOutcome::exportFailed, std::move(end.failure)};
    if (end.stopped) return {SaveOutcome::cancelled};
    return result;
}

std::string saveResultText(const SaveResult& result, const std::string& systemName) {
    switch (result.outcome) {
    case SaveOutcome::saved: return "Saved " + systemName + "." + scenarioSentence(result.scenario);
    case SaveOutcome::alreadyCached: return systemName + " is in the cache already.";
    case SaveOutcome::readFromFile:
        return systemName + " was read from a custom system file and is not exported to the cache.";
    case SaveOutcome::noSystem: return "This star has no planetary system to save.";
    case SaveOutcome::writeFailed: return "Could not write the saved-system file of " + systemName + ".";
    case SaveOutcome::notRegistered:
        return "Could not write the cache list Starvane/Cache.txt, so " + systemName + " was not exported.";
    case SaveOutcome::cancelled:
        return "Saving " + systemName + " stopped before all its textures were made.";
    case SaveOutcome::exportFailed: {
        const ExportFailure failure = result.failure.value_or(ExportFailure{});
        return "Could not write " + failure.path.string() + (failure.reason.empty() ? "" : ": " + failure.reason) +
               ", so " + systemName + " was not exported.";
    }
    }
    return "";
}
