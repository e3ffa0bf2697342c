#pragma once
// The system view: the star's table, the list of its planets and moons, the table of the
// selected body with its name above, and a strip of clickable body thumbnails; the bottom bar
// saves the system to cache or folder, sets waypoints and targets, and steps to the next or
// previous system of the cube.

#include <string>

#include <irrlicht/irrlicht.h>

#include "app/atlas_context.h"
#include "app/system_panel.h"
#include "app/view_logic.h"

class SystemView {
public:
    explicit SystemView(AtlasContext& atlas) : atlas_(atlas) {}

    // The system shown is that of the context's current star.
    void enter() { entering_ = true; }
    ViewMode frame();
    void leave();

private:
    void showBottomButtons();
    void showOnEntry();
    void drawBottomBar();
    ViewMode commands();
    bool bodyStepCommand(int id);
    void selectBody(int id);
    void clampIndices();
    ViewMode setWaypoint();
    void routeToCurrentStar();
    void stepSystem(int step);
    void saveCurrentSystem(bool toCache);
    void saveCurrentPicture();

    void showSystem();

    AtlasContext& atlas_;
    bool entering_ = false;
    ViewMode request_ = kSystemView;  // where the view goes when asked to leave
    int planetIndex_ = 0;
    int moonIndex_ = 0;
    int scroll_ = 0;
    bool refreshSystem_ = false;
    CommandMemory commandMemory_;
    int systemStep_ = 0;
    SystemPanel panel_{atlas_};
    std::string message_;
};
