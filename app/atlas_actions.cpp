#include "app/atlas_actions.h"

#include <algorithm>
#include <string>
#include <vector>

#include "galaxy/class_filter.h"

void applyFilter(AtlasContext& atlas) {
    const GuiControls& controls = atlas.controls;
    const auto classChoice = static_cast<ClassChoice>(std::max(0, controls.classlist->getSelected()));
    const auto luminosityChoice = static_cast<LuminosityChoice>(std::max(0, controls.luminositylist->getSelected()));
    // "show only connected systems": the stars one jump away, and the route itself.
    const bool connectedOnly = atlas.config.routes == 1 && controls.connectedonly->isChecked();
    const JumpNetwork& route = atlas.route;
    atlas.markers->setFilter([=, &route](const StarRecord& star) {
        return passesClassFilter(*star.physical, classChoice, luminosityChoice) &&
               (!connectedOnly || star.connected || route.onRoute(star.id));
    });
}

void refreshRouteMarks(AtlasContext& atlas) {
    if (atlas.config.routes != 1) return;
    if (const StarRecord* last = atlas.route.lastWaypoint()) {
        atlas.route.markConnected(*atlas.window, *last);
        atlas.markers->recolourStalks();
    }
    if (atlas.controls.connectedonly != nullptr && atlas.controls.connectedonly->isChecked()) applyFilter(atlas);
}

void showRouteList(AtlasContext& atlas) { showRows(atlas.controls.waypointlist, atlas.route.rows(), -1); }

void showHotSpotLists(AtlasContext& atlas) {
    // The selected folder stays selected; the bookmark list starts with nothing selected.
    const GuiControls& controls = atlas.controls;
    const int folder = controls.folderlist->getSelected();
    const std::vector<std::string> folders = atlas.hotspots.folderRows();
    showRows(controls.folderlist, folders,
             folder >= 0 && !folders.empty() ? std::min(folder, static_cast<int>(folders.size()) - 1) : -1);
    showRows(controls.hotspotlist, atlas.hotspots.hotSpotRows(controls.folderlist->getSelected()), -1);
}

void moveCentreTo(AtlasContext& atlas, const irr::core::vector3df& position) {
    atlas.centre->setPosition(position);
    atlas.centre->updateAbsolutePosition();
    atlas.camera.zoom(atlas.cameraNode, atlas.receiver.wheel);
}

void rebuildWindowAt(AtlasContext& atlas, int x, int y, int z) {
    atlas.window->rebuild(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
    atlas.markers->showRebuilt(*atlas.window);
    applyFilter(atlas);
    refreshRouteMarks(atlas);
}

std::string routeTo(AtlasContext& atlas, const StarRecord& target) {
    JumpNetwork& route = atlas.route;
    std::string outcome;
    if (beyondCorridorSearch(atlas.catalogue, *route.lastWaypoint(), target)) {
        outcome = target.physical->name + " is outside the galaxy or too far for a route.";
    } else if (!route.findRoute(target, *atlas.window)) {
        outcome = "No route found to " + target.physical->name + ".";
    } else {
        outcome = "Route found: " + std::to_string(route.waypoints().size() - 1) + " jumps.";
        showRouteList(atlas);
    }
    refreshRouteMarks(atlas);
    return outcome;
}
