// starvane-cli route and hotspots: the jump network and the bookmarks from the shell.

#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/json_output.h"
#include "cli/commands.h"
#include "cli/data_root.h"
#include "cli/galaxy_session.h"
#include "files/hotspot_store.h"
#include "galaxy/jump_network.h"

namespace {

struct RouteOptions {
    std::string from;
    std::string to;
    std::optional<std::string> root;
    std::string galaxy = "MilkyWay";
    bool json = false;
};

// Categories of a star as "i" or "i/j" when it belongs to several.
std::string categoriesOf(const JumpNetwork& network, const StarRecord& star) {
    std::string text;
    for (int i = 0; i < network.categorycount; ++i)
        if (network.inCategory(star.physical->mass, i)) text += (text.empty() ? "" : "/") + std::to_string(i);
    return text.empty() ? "-" : text;
}

void printRouteJson(const RouteOptions& options, const JumpNetwork& network, const StarRecord& from,
                    const StarRecord& to, double seconds) {
    nlohmann::ordered_json j;
    j["from"] = options.from;
    j["to"] = options.to;
    j["distance"] = starDistance(from, to);
    j["seconds"] = seconds;
    nlohmann::ordered_json points = nlohmann::ordered_json::array();
    for (const StarRecord& star : network.waypoints()) {
        nlohmann::ordered_json p;
        p["name"] = star.physical->name;
        p["mass"] = star.physical->mass;
        p["cube"] = {star.cube.x, star.cube.y, star.cube.z};
        p["offset"] = offsetJson(star.offset);
        points.push_back(std::move(p));
    }
    j["waypoints"] = std::move(points);
    printJson(std::cout, std::move(j));
}

void printRouteTable(const RouteOptions& options, const JumpNetwork& network, const StarRecord& from,
                     const StarRecord& to, double seconds) {
    std::printf("Route from %s to %s, %.2f pc, %zu jumps, found in %.3f s\n", options.from.c_str(),
                options.to.c_str(), starDistance(from, to), network.waypoints().size() - 1, seconds);
    const StarRecord* previous = nullptr;
    for (const StarRecord& star : network.waypoints()) {
        if (previous == nullptr) {
            std::printf("  %-28s %7.3f M  start\n", star.physical->name.c_str(), star.physical->mass);
        } else {
            std::printf("  %-28s %7.3f M  jump %7.2f pc  categories %s -> %s\n", star.physical->name.c_str(),
                        star.physical->mass, starDistance(*previous, star),
                        categoriesOf(network, *previous).c_str(), categoriesOf(network, star).c_str());
        }
        previous = &star;
    }
}

int runRoute(const RouteOptions& options) {
    auto session = openGalaxy(chooseDataRoot(options.root), options.galaxy);
    if (!session) return 1;
    StarRecord* from = findCatalogueStar(session->catalogue, options.from);
    StarRecord* to = findCatalogueStar(session->catalogue, options.to);
    if (from == nullptr || to == nullptr) {
        std::cerr << "starvane-cli route: no star named \"" << (from == nullptr ? options.from : options.to)
                  << "\" in the catalogue\n";
        return 1;
    }
    GalaxyWindow window(session->catalogue);
    window.rebuild(static_cast<float>(from->cube.x), static_cast<float>(from->cube.y),
                   static_cast<float>(from->cube.z));
    JumpNetwork network;
    if (!network.load(session->root / "Starvane" / "Data" / "DefaultJumpData.csv", from)) {
        std::cerr << "starvane-cli route: cannot read Starvane/Data/DefaultJumpData.csv\n";
        return 1;
    }
    const auto started = std::chrono::steady_clock::now();
    const bool found = network.findRoute(*to, window);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!found) {
        std::cerr << "starvane-cli route: no route from " << options.from << " to " << options.to
                  << " (" << starDistance(*from, *to) << " pc)";
        if (beyondCorridorSearch(session->catalogue, *from, *to))
            std::cerr << ": " << options.to << " is outside the galaxy or too far for the corridor search";
        std::cerr << "\n";
        return 1;
    }

    if (options.json)
        printRouteJson(options, network, *from, *to, seconds);
    else
        printRouteTable(options, network, *from, *to, seconds);
    return 0;
}

struct HotSpotOptions {
    std::string file = "Default";
    std::optional<std::string> root;
    std::string galaxy = "MilkyWay";
    bool json = false;
};

int runHotSpots(const HotSpotOptions& options) {
    const std::filesystem::path root = chooseDataRoot(options.root);
    const std::filesystem::path path = hotSpotPath(root, options.galaxy, options.file);
    std::filesystem::path file = path;
    file += ".spt";
    if (!std::filesystem::exists(file)) {
        std::cerr << "starvane-cli hotspots: no bookmark file " << file.string() << "\n";
        return 1;
    }
    HotSpotStore store;
    store.loadHotSpots(path);
    if (options.json) {
        nlohmann::ordered_json j = nlohmann::ordered_json::array();
        for (const HotSpotFolder& folder : store.folders) {
            nlohmann::ordered_json f;
            f["name"] = folder.name;
            nlohmann::ordered_json spots = nlohmann::ordered_json::array();
            for (const HotSpot& spot : folder.hotspots)
                spots.push_back({{"name", spot.name}, {"cube", {spot.x, spot.y, spot.z}}});
            f["hotspots"] = std::move(spots);
            j.push_back(std::move(f));
        }
        printJson(std::cout, std::move(j));
        return 0;
    }
    for (const HotSpotFolder& folder : store.folders) {
        std::cout << folder.name << "\n";
        for (const HotSpot& spot : folder.hotspots)
            std::cout << "  " << spot.name << " (" << spot.x << " / " << spot.y << " / " << spot.z << ")\n";
    }
    return 0;
}

}  // namespace

void addRouteCommands(CLI::App& app, int& status) {
    auto route = std::make_shared<RouteOptions>();
    CLI::App* routeCommand = app.add_subcommand("route", "Find a chain of jumps between two catalogue stars");
    routeCommand->add_option("from", route->from, "Exact name of the start star")->required();
    routeCommand->add_option("to", route->to, "Exact name of the target star")->required();
    routeCommand->add_option("--root", route->root, "Simulator root holding Starvane/ (default: the working folder)");
    routeCommand->add_option("--galaxy", route->galaxy, "Galaxy folder name (default MilkyWay)");
    routeCommand->add_flag("--json", route->json, "Print one JSON object");
    routeCommand->callback([route, &status] { status = runRoute(*route); });

    auto hotspots = std::make_shared<HotSpotOptions>();
    CLI::App* hotspotCommand = app.add_subcommand("hotspots", "Print the folders and bookmarks of a bookmark file");
    hotspotCommand->add_option("file", hotspots->file, "Bookmark file name without .spt (default Default)");
    hotspotCommand->add_option("--root", hotspots->root, "Simulator root holding Starvane/ (default: the working folder)");
    hotspotCommand->add_option("--galaxy", hotspots->galaxy, "Galaxy folder name (default MilkyWay)");
    hotspotCommand->add_flag("--json", hotspots->json, "Print one JSON array");
    hotspotCommand->callback([hotspots, &status] { status = runHotSpots(*hotspots); });
}
