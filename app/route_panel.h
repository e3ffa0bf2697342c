#pragma once
// The galaxy view's route panel on the left edge: the waypoint list, adding and removing
// waypoints, finding a route, and the jump to a chosen waypoint.

#include <string>
#include <utility>

#include "app/atlas_context.h"

class RoutePanel {
public:
    explicit RoutePanel(AtlasContext& atlas) : atlas_(atlas) {}

    // Opens at the left edge (with routes switched on) and closes when the pointer leaves it.
    void showAndHide();
    // The panel's background and the last command's outcome.
    void drawBackground();

    // `centred` (the star at the centre of the view, if any) joins the route when it is one
    // jump from its end.
    void addWaypoint(const StarRecord* centred);
    void removeWaypoint();
    // A route from the last waypoint to `target`.
    void findRoute(const StarRecord* target);
    // Moves the centre to the waypoint selected in the list.
    void activateSelected();

private:
    // What the last command did, or why it did nothing, shown under the buttons.
    void tell(std::string text) { status_ = std::move(text); }

    AtlasContext& atlas_;
    std::string status_;
};
