#pragma once
// The subcommands of starvane-cli. Each registers itself on the application and leaves its
// exit status in `status` when it runs.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

// Exit status for bad arguments.
constexpr int kUsageError = 2;

void addSystemCommand(CLI::App& app, int& status);
void addClassCommand(CLI::App& app, int& status);
void addEvolveCommand(CLI::App& app, int& status);
void addGalaxyCommands(CLI::App& app, int& status);
void addRouteCommands(CLI::App& app, int& status);
void addExportCommands(CLI::App& app, int& status);
void addStatsCommand(CLI::App& app, int& status);
