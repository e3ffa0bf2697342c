#pragma once
// The atlas program: start-up in its fixed order, then one frame loop that shows one of the
// three views (galaxy, map, system) and hands over between them as each frame asks.
// Commands are read once per frame from the event receiver's record; long operations run
// inside the frame.

#include <irrlicht/irrlicht.h>

#include "app/atlas_context.h"
#include "app/galaxy_view.h"
#include "app/map_view.h"
#include "app/startup_phases.h"
#include "app/system_view.h"
#include "platform/message_sink.h"

class Application {
public:
    // Runs the program in the simulator root (the working folder). Returns the exit status.
    int run(const RunOptions& options);

private:
    // Start-up.
    bool startUp();
    bool readConfig(MessageSink& messages);
    bool openWindow();
    void prepareGui();
    void drawLoadingFrame();
    bool loadStars(MessageSink& messages);
    void styleSkin();
    void loadSpriteSheets();
    void buildWindow();
    void createSceneObjects();
    void createGrid();
    void loadRoute();

    // The loop.
    void runFrame(float dt);
    void captureIfAsked();
    void countCrossing(double seconds);
    ViewMode frame(float dt);
    void handOver(ViewMode next);
    void printStats() const;
    void shutDown();

    AtlasContext atlas_;
    GalaxyView galaxy_{atlas_};
    MapView map_{atlas_};
    SystemView system_{atlas_};
    ViewMode mode_ = kGalaxyView;
    irr::u32 lastTime_ = 0;
    int captures_ = 0;
    StartupPhases phases_{StartupPhases::Clock::now()};
};
