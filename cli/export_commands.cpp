// starvane-cli export and export-json: the save path of the atlas without its window.

#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/data_root.h"
#include "cli/galaxy_session.h"
#include "cli/system_from_json.h"
#include "export/system_save.h"
#include "text/format_limits.h"
#include "text/text_lines.h"
#include "galaxy/galaxy_window.h"
#include "generation/lcg_random.h"
#include "platform/message_sink.h"

namespace {

struct ExportOptions {
    std::string name;  // star name, or the JSON file
    bool cache = false;
    bool folder = false;
    bool noTextures = false;
    std::optional<std::string> root;
    std::string galaxy = "MilkyWay";
    std::optional<unsigned> randSeed;
};

// A progress bar on the terminal, redrawn in place.
void showProgress(int done, int total, int level, double fraction) {
    const int width = 30;
    const double overall = total > 0 ? (done - 1 + fraction) / total : 1.0;
    const int filled = static_cast<int>(overall * width + 0.5);
    std::fprintf(stderr, "\r[%-*s] %s   ", width, std::string(static_cast<std::size_t>(std::max(0, std::min(width, filled))), '#').c_str(),
                 progressText(done, total, level, fraction).c_str());
    std::fflush(stderr);
}

// Loads the texture plug-in unless textures are off.
std::unique_ptr<TexturePlugin> loadPlugin(const std::filesystem::path& root, bool noTextures) {
    if (noTextures) return nullptr;
    auto plugin = std::make_unique<TexturePlugin>();
    StderrMessages messages;
    const std::string path = pluginPath(root).string();
    plugin->load(path, messages);
    if (!plugin->loaded()) std::cerr << "starvane-cli: no texture plug-in " << path << "; exporting without textures\n";
    return plugin;
}

int finish(const SaveResult& result, const std::string& systemName) {
    std::fprintf(stderr, "\n");
    if (result.outcome == SaveOutcome::saved) {
        std::cout << saveResultText(result, systemName) << "\n";
        return 0;
    }
    std::cerr << "starvane-cli: " << saveResultText(result, systemName) << "\n";
    return 1;
}

int runSave(const std::filesystem::path& root, StarRecord& star, const ExportOptions& options, LcgRandom& random) {
    StarvaneConfig config;
    StderrWarnings warnings("starvane-cli");
    if (!loadStarvaneConfig(root, config, &warnings))
        std::cerr << "starvane-cli: no Starvane/Starvane.cfg; using zero texture levels and no asteroids\n";
    const std::unique_ptr<TexturePlugin> plugin = loadPlugin(root, options.noTextures);
    SaveHooks hooks;
    hooks.status = [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); };
    hooks.progress = showProgress;
    hooks.notice = [](const std::string& text) { std::fprintf(stderr, "starvane-cli: %s\n", text.c_str()); };
    const SaveResult result = options.cache ? saveToCache(root, star, config, plugin.get(), hooks, random)
                                            : saveToFolder(root, star, config, plugin.get(), hooks, random);
    return finish(result, star.system ? star.system->name : star.physical->name);
}

int runExport(const ExportOptions& options) {
    const auto root = chooseSimulatorRoot(options.root, "export");
    if (!root) return 1;
    auto session = openGalaxy(*root, options.galaxy);
    if (!session) return 1;
    StarRecord* star = findCatalogueStar(session->catalogue, options.name);
    if (star == nullptr) {
        std::cerr << "starvane-cli export: no star named \"" << options.name << "\" in the catalogue\n";
        return 1;
    }
    GalaxyWindow window(session->catalogue);
    window.rebuild(static_cast<float>(star->cube.x), static_cast<float>(star->cube.y),
                   static_cast<float>(star->cube.z));
    // Without a seed the export continues from where the window's last generation left off.
    LcgRandom& random = session->catalogue.systemRandom;
    if (options.randSeed) random.seed(*options.randSeed);
    return runSave(*root, *star, options, random);
}

int runExportJson(const ExportOptions& options) {
    std::string text;
    if (const auto refusal = readBoundedFile(options.name, kMostSystemJsonBytes, text)) {
        std::cerr << "starvane-cli export-json: " << options.name << " " << *refusal << "\n";
        return kUsageError;
    }
    StarRecord star;
    if (auto problem = readSystemJson(text, star)) {
        std::cerr << "starvane-cli export-json: " << options.name << ": " << *problem << "\n";
        return kUsageError;
    }
    const auto root = chooseSimulatorRoot(options.root, "export-json");
    if (!root) return 1;
    // Nothing was generated before: without a seed the export starts from the generator's
    // initial state.
    LcgRandom random;
    if (options.randSeed) random.seed(*options.randSeed);
    return runSave(*root, star, options, random);
}

void addDestination(CLI::App* command, ExportOptions& options) {
    auto* cache = command->add_flag("--cache", options.cache, "Export into the simulator (registered in the cache list)");
    auto* folder = command->add_flag("--folder", options.folder, "Export into Starvane/SavedSystems/");
    cache->excludes(folder);
    folder->excludes(cache);
    command->add_flag("--no-textures", options.noTextures, "Do not use the texture plug-in at all");
    command->add_option("--root", options.root, "Simulator root holding Starvane/ (default: the working folder)");
    command->add_option("--rand-seed", options.randSeed, "Seed the export's generator first (asteroids, cloud heights)");
}

}  // namespace

void addExportCommands(CLI::App& app, int& status) {
    auto exportOptions = std::make_shared<ExportOptions>();
    CLI::App* exportCommand = app.add_subcommand("export", "Save a catalogue star's system to cache or folder");
    exportCommand->add_option("name", exportOptions->name, "Exact name of the star")->required();
    exportCommand->add_option("--galaxy", exportOptions->galaxy, "Galaxy folder name (default MilkyWay)");
    addDestination(exportCommand, *exportOptions);
    exportCommand->callback([exportOptions, &status] {
        if (exportOptions->cache == exportOptions->folder) {
            std::cerr << "starvane-cli export: give one of --cache or --folder\n";
            status = kUsageError;
            return;
        }
        status = runExport(*exportOptions);
    });

    auto jsonOptions = std::make_shared<ExportOptions>();
    CLI::App* jsonCommand = app.add_subcommand("export-json", "Export a system given as JSON to cache or folder");
    jsonCommand->add_option("file", jsonOptions->name, "The system as `system --json` prints it, with a \"star\" object")
        ->required();
    addDestination(jsonCommand, *jsonOptions);
    jsonCommand->callback([jsonOptions, &status] {
        if (jsonOptions->cache == jsonOptions->folder) {
            std::cerr << "starvane-cli export-json: give one of --cache or --folder\n";
            status = kUsageError;
            return;
        }
        status = runExportJson(*jsonOptions);
    });
}
