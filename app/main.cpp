// starvane: the galaxy atlas. Runs in the simulator root (the working folder, or --root DIR).

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "app/application.h"

int main(int argc, char** argv) {
    CLI::App cli{"Starvane: galaxy atlas and planetary-system generator for Orbiter"};
    std::string root;
    RunOptions options;
    cli.add_option("--root", root, "Simulator root holding Starvane/ (default: the working folder)");
    cli.add_option("--capture-dir", options.captureDir, "Folder for frame pictures taken on SIGUSR1");
    cli.add_option("--quit-after", options.quitAfterFrames, "Stop after this many frames");
    cli.add_flag("--stats", options.stats, "Print the frame rate and cube-crossing times at the end");
    try {
        cli.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return cli.exit(error);
    }
    if (!root.empty()) {
        std::error_code failure;
        std::filesystem::current_path(root, failure);
        if (failure) {
            std::cerr << "starvane: cannot enter " << root << ": " << failure.message() << "\n";
            return 1;
        }
    }
    if (std::getenv("DISPLAY") == nullptr) {
        std::cerr << "starvane: no display (set DISPLAY, or run it under xvfb-run)\n";
        return 1;
    }
    Application application;
    return application.run(options);
}
