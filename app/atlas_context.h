#pragma once
// What the atlas's views share: the engine, the loaded data, the galaxy window with its
// scene, the route, the bookmarks, the controls and the star being looked at. The program
// owns one and hands it to each view.

#include <chrono>
#include <memory>
#include <string>

#include <irrlicht/irrlicht.h>

#include "app/gui_controls.h"
#include "app/input_event_receiver.h"
#include "app/orbit_camera.h"
#include "app/scene_markers.h"
#include "app/view_logic.h"
#include "export/texture_plugin.h"
#include "files/hotspot_store.h"
#include "files/starvane_config.h"
#include "galaxy/galaxy_window.h"
#include "galaxy/jump_network.h"
#include "galaxy/stellar_tables.h"

// The views, and what a view's frame asks to show next. The system view shows one star;
// asked for from anywhere but the galaxy view (kCentreSystem), it is reached through the
// galaxy view, which opens it on the star at its centre, if any.
enum ViewMode : int { kGalaxyView = 0, kMapView = 1, kSystemView = 2, kCentreSystem = 3 };

// How the program runs: where its plug-in is, and the test hooks (pictures of chosen frames,
// a clean stop from outside).
struct RunOptions {
    std::string pluginPath = "./texgen.so";  // the texture plug-in
    std::string captureDir;  // where frame pictures go on request (SIGUSR1)
    int quitAfterFrames = 0; // stop after this many frames (0: run until the window closes)
    bool stats = false;      // print frame rate and cube-crossing times when the program ends
    float pace = 1.0f;       // the views' clock runs this many times faster (to measure many crossings)
    std::chrono::steady_clock::time_point launched = std::chrono::steady_clock::now();  // start-up counts from here
};

// What the frame loop measured, for the performance report.
struct FrameStats {
    int frames = 0;
    double seconds = 0.0;
    int crossings = 0;
    double slowestCrossing = 0.0;  // seconds of the slowest frame with a cube crossing
    bool crossedThisFrame = false;  // set by the galaxy view when the window moved a cube on
};

struct AtlasContext {
    // Engine.
    irr::IrrlichtDevice* device = nullptr;
    irr::video::IVideoDriver* driver = nullptr;
    irr::scene::ISceneManager* scene = nullptr;
    irr::gui::IGUIEnvironment* gui = nullptr;
    irr::gui::IGUIFont* font = nullptr;
    irr::video::ITexture* thumbnails = nullptr;
    irr::video::ITexture* pictograms = nullptr;
    int W = 0;
    int H = 0;

    // Loaded data and the program's state.
    InputEventReceiver receiver;
    StarvaneConfig config;
    TexturePlugin plugin;
    StellarTables tables;
    GalaxyCatalogue catalogue;
    std::unique_ptr<SceneMarkers> markers;
    std::unique_ptr<GalaxyWindow> window;
    JumpNetwork route;
    HotSpotStore hotspots;
    GuiControls controls;
    StarId currentStar;
    DoubleClick doubleClick;

    // The centre point the camera orbits, and the camera.
    irr::scene::ISceneNode* centre = nullptr;
    irr::scene::ICameraSceneNode* cameraNode = nullptr;
    OrbitCameraController camera;

    RunOptions options;
    FrameStats stats;

    StarRecord* currentStarRecord() const { return window != nullptr ? window->find(currentStar) : nullptr; }
    // The mouse is over the corner with the view buttons.
    bool overCornerButtons() const { return receiver.mousex > W - 200 && receiver.mousey > H - 60; }
};
