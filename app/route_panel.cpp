#include "app/route_panel.h"

#include "app/atlas_actions.h"

// Until the pointer first moves over the window its place is unknown, and the panel stays shut.
void RoutePanel::showAndHide() {
    const int mouseX = atlas_.receiver.mousex;
    irr::gui::IGUIElement* routes = atlas_.controls.routepanel;
    if (atlas_.receiver.pointerseen && mouseX < 20 && !routes->isVisible() && atlas_.config.routes == 1) {
        atlas_.gui->setFocus(routes);
        routes->setVisible(true);
    } else if (mouseX > 220 && routes->isVisible()) {
        atlas_.gui->setFocus(routes);
        routes->setVisible(false);
    }
}

void RoutePanel::drawBackground() {
    if (!atlas_.controls.routepanel->isVisible()) return;
    atlas_.driver->draw2DRectangle(irr::video::SColor(0xc804054c), irr::core::rect<irr::s32>(0, 0, 200, atlas_.H));
    const irr::core::rect<irr::s32> place(20, 550, 190, atlas_.H - 70);
    if (!status_.empty())
        atlas_.font->draw(wrapped(atlas_.font, status_, place.getWidth(), 4).c_str(), place,
                          irr::video::SColor(255, 255, 255, 255), false, false, &place);
}

namespace {

std::string nameOf(const StarRecord& star) { return star.physical ? star.physical->name : std::string("the star"); }

}  // namespace

void RoutePanel::addWaypoint(const StarRecord* centred) {
    const bool shown = centred != nullptr && atlas_.markers->positionOf(centred->id);
    const std::size_t before = atlas_.route.waypoints().size();
    if (shown) atlas_.route.addConnectedWaypoint(*centred);
    if (atlas_.route.waypoints().size() != before) showRouteList(atlas_);
    refreshRouteMarks(atlas_);
    const StarRecord* last = atlas_.route.lastWaypoint();
    if (!shown)
        tell("No star at the centre of the view to add.");
    else if (atlas_.route.waypoints().size() != before)
        tell(nameOf(*centred) + " is waypoint " + std::to_string(atlas_.route.waypoints().size() - 1) + ".");
    else if (atlas_.route.onRoute(centred->id))
        tell(nameOf(*centred) + " is on the route already.");
    else
        tell(nameOf(*centred) + " is not one jump from " + (last ? nameOf(*last) : std::string("the route's end")) +
             ": not added.");
}

void RoutePanel::removeWaypoint() {
    if (atlas_.route.waypoints().size() > 1) {
        atlas_.route.removeWaypoint();
        showRouteList(atlas_);
        tell("");
    } else {
        tell("Only the start is left.");
    }
    refreshRouteMarks(atlas_);
}

void RoutePanel::findRoute(const StarRecord* target) {
    const StarRecord* last = atlas_.route.lastWaypoint();
    if (target == nullptr)
        tell("No star at the centre of the view to find a route to.");
    else if (last == nullptr)
        tell("The route has no start to find a route from.");
    else if (target->id == last->id)
        tell(nameOf(*target) + " is the route's end already.");
    else
        tell(routeTo(atlas_, *target));
}

void RoutePanel::activateSelected() {
    const int selected = atlas_.controls.waypointlist->getSelected();
    if (selected < 0 || selected >= static_cast<int>(atlas_.route.waypoints().size())) return;
    const StarRecord& star = atlas_.route.waypoints()[static_cast<std::size_t>(selected)];
    if (const std::optional<irr::core::vector3df> place = atlas_.markers->positionOf(star.id)) {
        moveCentreTo(atlas_, *place);
        return;
    }
    const irr::core::vector3df position(star.offset[0], star.offset[1], star.offset[2]);
    rebuildWindowAt(atlas_, star.cube.x, star.cube.y, star.cube.z);
    moveCentreTo(atlas_, position);
}
