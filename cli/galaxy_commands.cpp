// starvane-cli cube, star and save: the galaxy model from the shell.

#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/json_output.h"
#include "cli/picture_output.h"
#include "cli/body_json.h"
#include "cli/commands.h"
#include "cli/data_root.h"
#include "cli/galaxy_session.h"
#include "cli/stellar_json.h"
#include "cli/system_table.h"
#include "files/saved_system_file.h"
#include "galaxy/cube_population.h"
#include "galaxy/galaxy_window.h"
#include "galaxy/population_model.h"

namespace {

constexpr const char* kDefaultGalaxy = "MilkyWay";

struct GalaxyOptions {
    std::optional<std::string> root;
    std::string galaxy = kDefaultGalaxy;
    bool json = false;
};

void addGalaxyOptions(CLI::App* command, GalaxyOptions& options) {
    command->add_option("--root", options.root, "Simulator root holding Starvane/ (default: the working folder)");
    command->add_option("--galaxy", options.galaxy, "Galaxy folder name (default MilkyWay)");
    command->add_flag("--json", options.json, "Print one JSON object");
}

nlohmann::ordered_json starToJson(const StarRecord& star) {
    nlohmann::ordered_json j = stellarDataToJson(*star.physical);
    j["cube"] = {star.cube.x, star.cube.y, star.cube.z};
    j["offset"] = offsetJson(star.offset);
    j["ecliptic"] = {star.ecliptic[0], star.ecliptic[1], star.ecliptic[2]};
    j["alias"] = star.alias;
    j["classified"] = star.classified != 0;
    j["custom"] = star.id.isCatalogue();
    j["systemfromfile"] = star.systemfromfile != 0;
    j["systemready"] = star.systemready != 0;
    j["jumpnode"] = false;  // the command line shows no route
    j["connected"] = star.connected != 0;
    if (star.system) j["system"] = systemToJson(*star.system);
    return j;
}

void printStarLine(std::ostream& out, const StarRecord& star) {
    const StellarData& d = *star.physical;
    char line[256];
    std::snprintf(line, sizeof line, "%-28s %-5s %-4s %9.4g M %10.4g L %8.0f K %8.4g Myr  (%.2f, %.2f, %.2f)%s\n",
                  d.name.c_str(), (d.spectralclass + std::to_string(d.subtype)).c_str(),
                  d.lumclass.c_str(), d.mass, d.luminosity, d.surftemp, d.age,
                  static_cast<double>(star.offset[0]), static_cast<double>(star.offset[2]),
                  static_cast<double>(star.offset[1]), star.id.isCatalogue() ? "  catalogue" : "");
    out << line;
}

struct CubeOptions : GalaxyOptions {
    int x = 0, y = 0, z = 0;
    bool systems = false;
};

int runCube(const CubeOptions& options) {
    auto session = openGalaxy(chooseDataRoot(options.root), options.galaxy);
    if (!session) return 1;
    GalaxyCatalogue& catalogue = session->catalogue;
    GalaxyCube cube;
    const int brightness = densityBrightness(catalogue.densityimage.get(), options.x, options.y);
    populateCube(catalogue, cube, options.x, options.y, options.z, brightness, false);
    if (options.systems) generateSystems(cube, options.x, options.y, options.z, catalogue.systemseed, catalogue.starRandom,
                                     catalogue.systemRandom);

    if (options.json) {
        nlohmann::ordered_json j;
        j["cube"] = {options.x, options.y, options.z};
        j["brightness"] = brightness;
        j["count"] = cube.count;
        nlohmann::ordered_json stars = nlohmann::ordered_json::array();
        for (const StarRecord* star : cube.stars) stars.push_back(starToJson(*star));
        j["stars"] = std::move(stars);
        printJson(std::cout, std::move(j));
    } else {
        std::cout << "Cube (" << options.x << ", " << options.y << ", " << options.z << "): "
                  << cube.count << " stars, density brightness " << brightness << "\n";
        for (const StarRecord* star : cube.stars) {
            printStarLine(std::cout, *star);
            if (options.systems && star->system) printSystemTable(std::cout, *star->system);
        }
    }
    return 0;
}

struct StarOptions : GalaxyOptions {
    std::string name;
    std::string svg;  // where the picture of the system goes, if anywhere
};

// Builds the window around the named star so that it has its system. Null when not found.
StarRecord* openStar(GalaxySession& session, GalaxyWindow& window, const std::string& name) {
    StarRecord* star = findCatalogueStar(session.catalogue, name);
    if (star == nullptr) {
        std::cerr << "starvane-cli: no star named \"" << name << "\" in the catalogue\n";
        return nullptr;
    }
    window.rebuild(static_cast<float>(star->cube.x), static_cast<float>(star->cube.y),
                   static_cast<float>(star->cube.z));
    return star;
}

int runStar(const StarOptions& options) {
    auto session = openGalaxy(chooseDataRoot(options.root), options.galaxy);
    if (!session) return 1;
    GalaxyWindow window(session->catalogue);
    StarRecord* star = openStar(*session, window, options.name);
    if (star == nullptr) return 1;
    if (options.json) {
        printJson(std::cout, starToJson(*star));
    } else {
        std::cout << "Cube        (" << star->cube.x << ", " << star->cube.y << ", " << star->cube.z << ")\n";
        printStellarData(std::cout, *star->physical);
        if (star->system) printSystemTable(std::cout, *star->system);
    }
    if (!options.svg.empty() && star->system && !writeSystemPicture(options.svg, *star->system, *star->physical, "star"))
        return 1;
    return 0;
}

int runSave(const StarOptions& options) {
    const auto root = chooseSimulatorRoot(options.root, "save");
    if (!root) return 1;
    auto session = openGalaxy(*root, options.galaxy);
    if (!session) return 1;
    GalaxyWindow window(session->catalogue);
    StarRecord* star = openStar(*session, window, options.name);
    if (star == nullptr) return 1;
    if (!saveSystemFile(session->root, *star, false)) {
        std::cerr << "starvane-cli save: could not write the system of " << options.name
                  << " below " << (session->root / "Starvane" / "SavedSystems").string() << "\n";
        return 1;
    }
    std::cout << "Saved " << savedSystemPath(session->root, *star, false).string() << "\n";
    return 0;
}

}  // namespace

void addGalaxyCommands(CLI::App& app, int& status) {
    auto cube = std::make_shared<CubeOptions>();
    CLI::App* cubeCommand = app.add_subcommand("cube", "List the stars of a cube as the galaxy model fills it");
    cubeCommand->add_option("x", cube->x, "Cube index x")->required();
    cubeCommand->add_option("y", cube->y, "Cube index y")->required();
    cubeCommand->add_option("z", cube->z, "Cube index z (height)")->required();
    cubeCommand->add_flag("--systems", cube->systems, "Also generate and print the planetary systems");
    addGalaxyOptions(cubeCommand, *cube);
    cubeCommand->callback([cube, &status] { status = runCube(*cube); });

    auto star = std::make_shared<StarOptions>();
    CLI::App* starCommand = app.add_subcommand("star", "Print a catalogue star and its planetary system");
    starCommand->add_option("name", star->name, "Exact name of the star")->required();
    addGalaxyOptions(starCommand, *star);
    starCommand->add_option("--svg", star->svg, "Also draw the system as an SVG picture into this file");
    starCommand->callback([star, &status] { status = runStar(*star); });

    auto save = std::make_shared<StarOptions>();
    CLI::App* saveCommand = app.add_subcommand("save", "Save a catalogue star's system to Starvane/SavedSystems");
    saveCommand->add_option("name", save->name, "Exact name of the star")->required();
    addGalaxyOptions(saveCommand, *save);
    saveCommand->callback([save, &status] { status = runSave(*save); });
}
