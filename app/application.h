#pragma once
// The atlas program: start-up in its fixed order, then one frame loop whose states are the
// three views (galaxy, map, system). Commands are read once per frame from the event
// receiver's record; long operations run inside the frame.

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <irrlicht/irrlicht.h>

#include "app/gui_controls.h"
#include "app/input_event_receiver.h"
#include "app/irrlicht_adapters.h"
#include "app/orbit_camera.h"
#include "app/scene_markers.h"
#include "app/view_logic.h"
#include "export/texture_plugin.h"
#include "files/hotspot_store.h"
#include "files/starvane_config.h"
#include "galaxy/galaxy_window.h"
#include "galaxy/jump_network.h"
#include "galaxy/stellar_tables.h"

enum ViewMode : int { kGalaxyView = 0, kMapView = 1, kSystemView = 2 };

// One name-search result: a generated star of the window (at its node's position) or a
// catalogue star (at its place in its own cube).
struct SearchResult {
    std::string name;
    StarId star;
    irr::core::vector3df position;
    bool inWindow = false;
};

// Test hooks: pictures of chosen frames and a clean stop from outside.
struct RunOptions {
    std::string captureDir;  // where frame pictures go on request (SIGUSR1)
    int quitAfterFrames = 0; // stop after this many frames (0: run until the window closes)
    bool stats = false;      // print frame rate and cube-crossing times when the program ends
};

// What the frame loop measured, for the performance report.
struct FrameStats {
    int frames = 0;
    double seconds = 0.0;
    int crossings = 0;
    double slowestCrossing = 0.0;  // seconds of the slowest frame with a cube crossing
};

class Application {
public:
    // Runs the program in the simulator root (the working folder). Returns the exit status.
    int run(const RunOptions& options);

private:
    // Start-up.
    bool startUp();
    void drawLoadingFrame();
    void createSceneObjects();

    // The loop.
    void frame(float dt);
    void galaxyViewFrame(float dt);
    void mapViewFrame();
    void systemViewFrame();

    // Galaxy view pieces.
    irr::scene::ISceneNode* pick(int x, int y) const;
    StarRecord* starOfNode(const irr::scene::ISceneNode* node) const;
    StarRecord* currentStar() const { return window_ != nullptr ? window_->find(currentStar_) : nullptr; }
    void panelShowAndHide();
    void galaxyCommands();
    void applyFilter();
    void toggleStalks();
    void toggleLabels();
    void toggleSurroundings();
    void refreshRouteMarks();
    void showRouteList();
    void showHotSpotLists();
    void moveCentreTo(const irr::core::vector3df& position);
    void rebuildWindowAt(int x, int y, int z);
    void crossCubes();
    void runSearch();
    void activateSearchResult();
    void activateWaypoint();
    void drawRouteLines();
    bool doubleClickConfirmed() { return doubleClick_.activate(); }
    void drawSystemPictogram(const StarRecord& star);

    // System view pieces.
    void systemCommands();
    void showSystem();
    void showBody();
    void layoutSystemPanel();
    void buildBodyButtons();
    void removeBodyButtons();
    void leaveSystemView();
    void stepSystem(int step);
    void saveCurrentSystem(bool toCache);
    void routeToCurrentStar();
    void drawProgress(const std::string& text);

    // Map view pieces.
    void refreshMap();
    irr::core::position2d<irr::s32> mapToScreen(int mx, int my) const;
    void mapCommands();

    // Engine.
    irr::IrrlichtDevice* device_ = nullptr;
    irr::video::IVideoDriver* driver_ = nullptr;
    irr::scene::ISceneManager* scene_ = nullptr;
    irr::gui::IGUIEnvironment* gui_ = nullptr;
    irr::gui::IGUIFont* font_ = nullptr;
    irr::video::ITexture* thumbnails_ = nullptr;
    irr::video::ITexture* pictograms_ = nullptr;
    irr::video::ITexture* galaxyTexture_ = nullptr;

    // Program state.
    InputEventReceiver receiver_;
    OrbitCameraController camera_;
    StarvaneConfig config_;
    TexturePlugin plugin_;
    StellarTables tables_;
    GalaxyCatalogue catalogue_;
    std::unique_ptr<SceneMarkers> markers_;
    std::unique_ptr<GalaxyWindow> window_;
    JumpNetwork route_;
    HotSpotStore hotspots_;
    GuiControls controls_;

    // Scene objects.
    irr::scene::ISceneNode* centre_ = nullptr;
    irr::scene::ICameraSceneNode* cameraNode_ = nullptr;
    irr::scene::ISceneNode* hoverDisc_ = nullptr;

    // Loop state.
    ViewMode view_ = kGalaxyView;
    int pendingRequest_ = 0;
    bool viewEntry_ = true;
    StarId currentStar_;
    DoubleClick doubleClick_;
    irr::u32 lastTime_ = 0;
    bool cornerHover_ = false;
    irr::scene::ISceneNode* hovered_ = nullptr;

    // System view state.
    int planetIndex_ = 0;
    int moonIndex_ = 0;
    int scroll_ = 0;
    bool refreshSystem_ = false;
    CommandMemory systemCommandMemory_;
    int systemStep_ = 0;
    irr::gui::IGUITable* systemList_ = nullptr;
    std::vector<irr::gui::IGUIButton*> bodyButtons_;  // the thumbnails of the shown system
    std::string systemMessage_;

    // Map view state.
    irr::video::IImage* galaxyPicture_ = nullptr;
    MapProjection map_;
    int mapHeight_ = 0;
    irr::core::position2d<irr::s32> crosshair_{0, 0};
    int crosshairMapX_ = 0;
    int crosshairMapY_ = 0;
    bool mapChanged_ = true;
    int lastMouseY_ = 0;

    // Search state.
    std::wstring searchSeen_;
    std::vector<SearchResult> results_;

    RunOptions options_;
    FrameStats stats_;
    bool crossedThisFrame_ = false;
    int W = 0;
    int H = 0;
};
