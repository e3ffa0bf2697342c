// starvane: the galaxy atlas. Runs in the simulator root: --root DIR, else the working folder
// when it holds Starvane/, else (for an installed copy) the user's own root, prepared from the
// shipped data on first run.

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "app/application.h"
#include "files/simulator_root.h"
#include "platform/install_layout.h"

namespace {

namespace fs = std::filesystem;

// The folder to run in; nothing (after saying why) when there is none to be had.
std::optional<fs::path> chooseRoot(const std::string& given, const InstallLayout& installed) {
    std::error_code error;
    if (!given.empty()) return fs::path(given);
    if (fs::is_directory("Starvane", error) || installed.data.empty()) return fs::path(".");
    const RootPreparation prepared = prepareDefaultRoot(installed.data);
    if (!prepared.ready) {
        std::cerr << "starvane: " << prepared.problem << "\n";
        return std::nullopt;
    }
    if (prepared.filesAdded > 0)
        std::cout << "starvane: the simulator root is " << prepared.root.string() << " (" << prepared.filesAdded
                  << " shipped files added; point STARVANE_ROOT at an Orbiter installation to export into it)\n";
    return prepared.root;
}

}  // namespace

int main(int argc, char** argv) {
    const auto launched = std::chrono::steady_clock::now();
    CLI::App cli{"Starvane: galaxy atlas and planetary-system generator for Orbiter"};
    cli.set_version_flag("--version", "starvane " STARVANE_VERSION);
    std::string root;
    RunOptions options;
    options.launched = launched;
    cli.add_option("--root", root,
                   "Simulator root holding Starvane/ (default: the working folder when it holds one, else "
                   "$STARVANE_ROOT or ~/starvane-root)");
    cli.add_option("--capture-dir", options.captureDir, "Folder for frame pictures taken on SIGUSR1");
    cli.add_option("--quit-after", options.quitAfterFrames, "Stop after this many frames");
    cli.add_flag("--stats", options.stats, "Print the frame rate and cube-crossing times at the end");
    cli.add_option("--pace", options.pace, "Run the views' clock this many times faster (flying crosses more cubes)")
        ->check(CLI::Range(0.1f, 100.0f));
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return cli.exit(error);
    }
    const InstallLayout installed = installedLayout();
    const auto chosen = chooseRoot(root, installed);
    if (!chosen) return 1;
    std::error_code failure;
    fs::current_path(*chosen, failure);
    if (failure) {
        std::cerr << "starvane: cannot enter " << chosen->string() << ": " << failure.message() << "\n";
        return 1;
    }
    if (!installed.plugin.empty()) options.pluginPath = installed.plugin.string();
    if (std::getenv("DISPLAY") == nullptr) {
        std::cerr << "starvane: no display (set DISPLAY, or run it under xvfb-run)\n";
        return 1;
    }
    Application application;
    return application.run(options);
}
