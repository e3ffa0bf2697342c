#pragma once
// The atlas program: start-up in its fixed order, then one frame loop that shows one of the
// three views (galaxy, map, system) and hands over between them as each frame asks.
// Commands are read once per frame from the event receiver's record; long operations run
// inside the frame.

#include <string>
#include <utility>
#include <vector>

#include <irrlicht/irrlicht.h>

#include "app/atlas_context.h"
#include "app/galaxy_view.h"
#include "app/map_view.h"
#include "app/startup_phases.h"
#include "app/system_view.h"
#include "platform/message_sink.h"

// Messages that arrive before the window exists are shown once it does.
class DeferredMessages : public MessageSink {
public:
    void showMessage(const std::string& title, const std::string& text) override {
        pending_.push_back({title, text});
    }
    void showIn(MessageSink& sink) {
        for (const auto& [title, text] : pending_) sink.showMessage(title, text);
        pending_.clear();
    }

private:
    std::vector<std::pair<std::string, std::string>> pending_;
};

// What the start-up reads beside opening the window: whether the stellar tables could be
// read (the galaxy is read only then), and what reading the galaxy had to say.
struct LoadedData {
    bool tablesRead = false;
    DeferredMessages messages;
};

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
    bool takeData(LoadedData loaded, MessageSink& messages);
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
