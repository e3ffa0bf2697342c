#pragma once
// What more than one view does to the shared galaxy window, its scene and its panels.

#include <string>

#include <irrlicht/irrlicht.h>

#include "app/atlas_context.h"

// Shows only the window's stars that pass the class filter (and, with "show only connected
// systems", those one jump away and the route's own).
void applyFilter(AtlasContext& atlas);
// Marks the stars one jump from the route's last waypoint and colours the stalks to match.
void refreshRouteMarks(AtlasContext& atlas);
// Looks for a route from the route's last waypoint to `target` (which is not that waypoint),
// shows what it found, and says what became of it.
std::string routeTo(AtlasContext& atlas, const StarRecord& target);
// Fills the waypoint list from the route, with none of its entries selected.
void showRouteList(AtlasContext& atlas);
// Fills the bookmark panel's folder and bookmark lists from the store.
void showHotSpotLists(AtlasContext& atlas);
// Puts the centre point (and the camera around it) at `position` in window coordinates.
void moveCentreTo(AtlasContext& atlas, const irr::core::vector3df& position);
// Builds the window afresh around cube (x, y, z) and shows it.
void rebuildWindowAt(AtlasContext& atlas, int x, int y, int z);
