// starvane-cli: the headless face of Starvane, for scripts, checks and people without a display.

#include <iostream>

#include "cli/commands.h"

int main(int argc, char** argv) {
    CLI::App app{"Starvane command line: star systems without the atlas window"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "starvane-cli " STARVANE_VERSION);
    int status = 0;
    addSystemCommand(app, status);
    addClassCommand(app, status);
    addEvolveCommand(app, status);
    addGalaxyCommands(app, status);
    addRouteCommands(app, status);
    addExportCommands(app, status);
    addStatsCommand(app, status);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForAllHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForVersion& version) {
        return app.exit(version);
    } catch (const CLI::ParseError& error) {
        std::cerr << "starvane-cli: " << error.what() << "\n";
        std::cerr << "Run 'starvane-cli --help' for the commands and their options.\n";
        return kUsageError;
    }
    return status;
}
