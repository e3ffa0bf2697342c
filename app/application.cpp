#include "app/application.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <future>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "app/atlas_actions.h"
#include "app/density_picture.h"
#include "app/frame_capture.h"
#include "app/grid_node.h"
#include "app/window_identity.h"
#include "files/galaxy_files.h"
#include "platform/file_image.h"

namespace {

// Set by the signal handlers, which may touch nothing but flags of this type at namespace scope.
volatile std::sig_atomic_t g_captureRequests = 0;
volatile std::sig_atomic_t g_stopRequested = 0;

void onCaptureSignal(int) { g_captureRequests = g_captureRequests + 1; }
void onStopSignal(int) { g_stopRequested = 1; }

// Reads the stellar tables and then the galaxy, keeping the galaxy's catalogue copy (on the
// worker thread: the pictures come from files, not through the engine).
LoadedData readData(StellarTables& tables, GalaxyCatalogue& catalogue, const std::string& galaxy) {
    LoadedData loaded;
    loaded.tablesRead = tables.load(".", FileImageLoader{});
    if (loaded.tablesRead)
        loadGalaxy(catalogue, ".", galaxy, tables, &loaded.messages, CatalogueCopy::kKeepBinaryCopy);
    return loaded;
}

void say(const std::string& line) { std::cerr << "starvane: " << line << "\n"; }

}  // namespace

int Application::run(const RunOptions& options) {
    atlas_.options = options;
    phases_ = StartupPhases(options.launched);
    std::signal(SIGUSR1, onCaptureSignal);
    std::signal(SIGTERM, onStopSignal);
    std::signal(SIGINT, onStopSignal);
    if (!startUp()) {
        atlas_.window.reset();
        if (atlas_.device != nullptr) atlas_.device->drop();
        return 1;
    }
    mode_ = kGalaxyView;
    galaxy_.enter(kGalaxyView);

    const auto started = std::chrono::steady_clock::now();
    lastTime_ = atlas_.device->getTimer()->getTime();
    while (atlas_.device->run()) {
        const irr::u32 now = atlas_.device->getTimer()->getTime();
        const float dt = static_cast<float>(now - lastTime_) * 0.001f * atlas_.options.pace;
        lastTime_ = now;
        runFrame(dt);
        if (atlas_.stats.frames == 1) phases_.mark("first-frame");
        const int quitAfter = atlas_.options.quitAfterFrames;
        if (g_stopRequested || (quitAfter > 0 && atlas_.stats.frames >= quitAfter)) atlas_.device->closeDevice();
    }
    atlas_.stats.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (atlas_.options.stats) printStats();
    shutDown();
    return 0;
}

void Application::runFrame(float dt) {
    atlas_.receiver.startFrame();
    atlas_.doubleClick.advance(dt);
    const auto frameStart = std::chrono::steady_clock::now();
    atlas_.stats.crossedThisFrame = false;
    irr::video::IVideoDriver* driver = atlas_.driver;
    driver->beginScene(true, true, irr::video::SColor(255, 0, 0, 0));
    handOver(frame(dt));
    const int W = atlas_.W;
    const int H = atlas_.H;
    driver->draw2DRectangle(irr::video::SColor(200, 4, 5, 85), irr::core::rect<irr::s32>(W - 200, H - 60, W, H));
    atlas_.gui->drawAll();
    captureIfAsked();
    driver->endScene();
    atlas_.receiver.endFrame();
    ++atlas_.stats.frames;
    if (atlas_.stats.crossedThisFrame)
        countCrossing(std::chrono::duration<double>(std::chrono::steady_clock::now() - frameStart).count());
}

void Application::captureIfAsked() {
    if (g_captureRequests <= 0 || atlas_.options.captureDir.empty()) return;
    g_captureRequests = g_captureRequests - 1;
    char name[64];
    std::snprintf(name, sizeof name, "/frame-%03d.png", ++captures_);
    captureBackBuffer(atlas_.driver, atlas_.options.captureDir + name);
}

void Application::countCrossing(double seconds) {
    ++atlas_.stats.crossings;
    atlas_.stats.slowestCrossing = std::max(atlas_.stats.slowestCrossing, seconds);
}

ViewMode Application::frame(float dt) {
    switch (mode_) {
    case kMapView: return map_.frame();
    case kSystemView: return system_.frame();
    default: return galaxy_.frame(dt);
    }
}

// The view that was shown tidies up; the next one starts afresh. The system view asked for
// from elsewhere opens through the galaxy view, on the star at its centre.
void Application::handOver(ViewMode next) {
    if (next == mode_) return;
    switch (mode_) {
    case kMapView: map_.leave(); break;
    case kSystemView: system_.leave(); break;
    default: galaxy_.leave(); break;
    }
    mode_ = next == kCentreSystem ? kGalaxyView : next;
    switch (mode_) {
    case kMapView: map_.enter(); break;
    case kSystemView: system_.enter(); break;
    default: galaxy_.enter(next); break;
    }
}

void Application::printStats() const {
    const FrameStats& stats = atlas_.stats;
    std::printf("frames %d seconds %.3f fps %.1f crossings %d slowest-crossing-ms %.1f\n", stats.frames,
                stats.seconds, stats.seconds > 0 ? stats.frames / stats.seconds : 0.0, stats.crossings,
                stats.slowestCrossing * 1000.0);
    std::printf("%s\n", phases_.report().c_str());
    const ResidentMemory memory = residentMemory();
    std::printf("memory-mb resident %.1f peak %.1f\n", memory.residentMb, memory.peakMb);
}

void Application::shutDown() {
    // The window's scene nodes belong to the engine: release them while it still exists.
    if (atlas_.markers != nullptr) atlas_.markers->clear();
    atlas_.window.reset();
    map_.releasePicture();
    atlas_.device->drop();
}

bool Application::startUp() {
    DeferredMessages earlyMessages;
    atlas_.plugin.load(atlas_.options.pluginPath, earlyMessages);
    if (!readConfig(earlyMessages)) return false;
    const StarvaneConfig& config = atlas_.config;
    const std::string galaxyFolder = "Starvane/Galaxy/" + config.galaxy + "/";
    // The tables, the galaxy and its density picture are read on workers while the window
    // opens; nothing else touches them until they are taken.
    auto data = std::async(std::launch::async, readData, std::ref(atlas_.tables), std::ref(atlas_.catalogue),
                           atlas_.config.galaxy);
    DensityPictureReader densityPicture(galaxyFolder + "GrayScale.jpg");
    phases_.mark("config");
    if (!openWindow()) return false;
    phases_.mark("window");
    prepareGui();
    GuiMessages guiMessages(atlas_.gui);
    earlyMessages.showIn(guiMessages);
    phases_.mark("font");
    drawLoadingFrame();
    phases_.mark("loading-frame");
    atlas_.camera.initialise(10.0f, 180.0f, 0.0f);
    styleSkin();
    loadSpriteSheets();
    phases_.mark("sprites");
    atlas_.controls = createControls(atlas_.gui, atlas_.W, atlas_.H, atlas_.pictograms);
    phases_.mark("controls");
    if (!takeData(data.get(), guiMessages)) return false;
    phases_.mark("catalogue-wait");

    map_.choosePicture(galaxyFolder, config.galaxy);
    atlas_.catalogue.densityimage = densityPicture.take();
    phases_.mark("density-wait");
    atlas_.hotspots.loadHotSpots(hotSpotPath(".", config.galaxy, config.hotspotfile));
    showHotSpotLists(atlas_);
    phases_.mark("bookmarks");

    buildWindow();
    phases_.mark("cubes");
    createSceneObjects();
    loadRoute();
    atlas_.doubleClick = DoubleClick();
    phases_.mark("scene");
    return true;
}

bool Application::readConfig(MessageSink& messages) {
    if (!loadStarvaneConfig(".", atlas_.config, &messages)) {
        say("cannot read Starvane/Starvane.cfg in " + std::filesystem::current_path().string());
        return false;
    }
    atlas_.W = atlas_.config.width;
    atlas_.H = atlas_.config.height;
    if (atlas_.W <= 0 || atlas_.H <= 0) {
        say("Starvane/Starvane.cfg gives no window size (lines 2 and 3)");
        return false;
    }
    // The panels and the bottom bar need the smallest size; the largest keeps the screen-sized
    // pictures of the map within reason.
    const int W = std::clamp(atlas_.W, kSmallestWindow.Width, kLargestWindowSide);
    const int H = std::clamp(atlas_.H, kSmallestWindow.Height, kLargestWindowSide);
    if (W != atlas_.W || H != atlas_.H)
        say("the window size " + std::to_string(atlas_.W) + " x " + std::to_string(atlas_.H) +
            " in Starvane/Starvane.cfg is outside " + std::to_string(kSmallestWindow.Width) + " x " +
            std::to_string(kSmallestWindow.Height) + " to " + std::to_string(kLargestWindowSide) + " x " +
            std::to_string(kLargestWindowSide) + "; the window is " + std::to_string(W) + " x " + std::to_string(H));
    atlas_.W = W;
    atlas_.H = H;
    return true;
}

bool Application::openWindow() {
    atlas_.receiver.reset();
    irr::SIrrlichtCreationParameters parameters;
    parameters.DeviceType = irr::EIDT_BEST;
    parameters.DriverType = irr::video::EDT_OPENGL;
    parameters.WindowSize =
        irr::core::dimension2du(static_cast<irr::u32>(atlas_.W), static_cast<irr::u32>(atlas_.H));
    parameters.Bits = 16;
    parameters.ZBufferBits = 16;
    parameters.Fullscreen = false;
    parameters.Stencilbuffer = false;
    parameters.Vsync = false;
    parameters.AntiAlias = 1;
    parameters.WithAlphaChannel = false;
    parameters.Doublebuffer = true;
    parameters.IgnoreInput = false;
    parameters.Stereobuffer = false;
    parameters.HighPrecisionFPU = true;
    parameters.EventReceiver = &atlas_.receiver;
    parameters.LoggingLevel = irr::ELL_WARNING;
    atlas_.device = irr::createDeviceEx(parameters);
    if (atlas_.device == nullptr) {
        say("cannot open the window (is there a display? set DISPLAY or run under xvfb-run)");
        return false;
    }
    nameWindow(atlas_.device);
    atlas_.driver = atlas_.device->getVideoDriver();
    // A cube's markers may be only a few hundred points; uploaded once, they are still cheaper
    // than sent again every frame, which the driver does below 500 points. Only meshes marked
    // for upload (the markers and stalks) go to the graphics card at all.
    atlas_.driver->setMinHardwareBufferVertexCount(0);
    atlas_.scene = atlas_.device->getSceneManager();
    return true;
}

void Application::prepareGui() {
    atlas_.gui = atlas_.device->getGUIEnvironment();
    atlas_.gui->setUserEventReceiver(&atlas_.receiver);
    atlas_.font = atlas_.gui->getFont("Starvane/Data/ESfont.bmp");
    if (atlas_.font == nullptr) atlas_.font = atlas_.gui->getBuiltInFont();
}

void Application::drawLoadingFrame() {
    atlas_.driver->beginScene(true, true, irr::video::SColor(0xff000000));
    atlas_.font->draw(L" Loading Stellar catalogue", irr::core::rect<irr::s32>(10, 5, 100, 40),
                      irr::video::SColor(255, 255, 255, 255));
    atlas_.driver->endScene();
}

bool Application::takeData(LoadedData loaded, MessageSink& messages) {
    loaded.messages.showIn(messages);
    if (!loaded.tablesRead) {
        say("cannot read the stellar tables in Starvane/Data (StellarTable.csv, EvoTracks.dat, HRRef.bmp)");
        return false;
    }
    if (!atlas_.catalogue.stars.empty()) return true;
    const std::string& galaxy = atlas_.config.galaxy;
    say("the galaxy \"" + galaxy + "\" has no stars (Starvane/Galaxy/" + galaxy + "/)");
    return false;
}

void Application::styleSkin() {
    irr::gui::IGUISkin* skin = atlas_.gui->getSkin();
    skin->setFont(atlas_.font);
    skin->setColor(irr::gui::EGDC_3D_FACE, irr::video::SColor(0xff2b2c83));
    skin->setColor(irr::gui::EGDC_3D_SHADOW, irr::video::SColor(0xff2b2c83));
    skin->setColor(irr::gui::EGDC_3D_HIGH_LIGHT, irr::video::SColor(0xff2b2c83));
    skin->setColor(irr::gui::EGDC_3D_LIGHT, irr::video::SColor(0xff2b2c83));
    skin->setColor(irr::gui::EGDC_HIGH_LIGHT, irr::video::SColor(0xffcfb734));
    skin->setColor(irr::gui::EGDC_HIGH_LIGHT_TEXT, irr::video::SColor(0xff04054c));
    skin->setColor(irr::gui::EGDC_BUTTON_TEXT, irr::video::SColor(0xffffffff));
    skin->setColor(irr::gui::EGDC_TOOLTIP, irr::video::SColor(0xff04054c));
    skin->setColor(irr::gui::EGDC_TOOLTIP_BACKGROUND, irr::video::SColor(0xffcfb734));
    skin->setColor(irr::gui::EGDC_SCROLLBAR, irr::video::SColor(0xb3cfb734));
}

// Sprite sheets: their top-left pixel's colour is transparent. They are drawn at their own
// size only, so they need no smaller copies (which the software renderer is slow to make).
void Application::loadSpriteSheets() {
    irr::video::IVideoDriver* driver = atlas_.driver;
    const bool mipMaps = driver->getTextureCreationFlag(irr::video::ETCF_CREATE_MIP_MAPS);
    driver->setTextureCreationFlag(irr::video::ETCF_CREATE_MIP_MAPS, false);
    atlas_.thumbnails = driver->getTexture("Starvane/Data/ThumbNails.bmp");
    atlas_.pictograms = driver->getTexture("Starvane/Data/pictograms.bmp");
    driver->setTextureCreationFlag(irr::video::ETCF_CREATE_MIP_MAPS, mipMaps);
    if (atlas_.thumbnails) driver->makeColorKeyTexture(atlas_.thumbnails, irr::core::position2d<irr::s32>(0, 0));
    if (atlas_.pictograms) driver->makeColorKeyTexture(atlas_.pictograms, irr::core::position2d<irr::s32>(0, 0));
}

// The window around the catalogue's reference cube; the view's switches start on, as their
// check boxes do.
void Application::buildWindow() {
    GalaxyCatalogue& catalogue = atlas_.catalogue;
    atlas_.markers = std::make_unique<SceneMarkers>(atlas_.scene, atlas_.gui->getBuiltInFont());
    atlas_.window = std::make_unique<GalaxyWindow>(catalogue);
    atlas_.window->rebuild(catalogue.referencecube[0], catalogue.referencecube[1], catalogue.referencecube[2]);
    atlas_.markers->showRebuilt(*atlas_.window);
}

void Application::createSceneObjects() {
    irr::scene::ISceneManager* scene = atlas_.scene;
    atlas_.centre = scene->addSphereSceneNode(0.1f, 8, nullptr, -1);
    atlas_.centre->setMaterialFlag(irr::video::EMF_LIGHTING, true);
    atlas_.centre->setMaterialType(irr::video::EMT_TRANSPARENT_ADD_COLOR);
    atlas_.centre->getMaterial(0).EmissiveColor = irr::video::SColor(0, 0, 0, 0);
    atlas_.centre->setIsDebugObject(true);
    createGrid();
    galaxy_.createHoverDisc();

    atlas_.cameraNode =
        scene->addCameraSceneNode(atlas_.centre, irr::core::vector3df(0, 10, 0), irr::core::vector3df(0, 0, 100), -1, true);
    atlas_.cameraNode->bindTargetAndRotation(true);
    atlas_.cameraNode->setIsDebugObject(true);  // never the answer of a pick
    atlas_.cameraNode->setTarget(atlas_.centre->getAbsolutePosition());
    atlas_.camera.update(atlas_.cameraNode, atlas_.receiver.mousex, atlas_.receiver.mousey, true);
}

// The grid of the cube's middle plane.
void Application::createGrid() {
    GridNode* grid = new GridNode(atlas_.scene->getRootSceneNode(), atlas_.scene);
    grid->drop();  // the scene keeps it
}

void Application::loadRoute() {
    atlas_.route.load("Starvane/Data/DefaultJumpData.csv", atlas_.catalogue.stars.front().get());
    showRouteList(atlas_);
    if (atlas_.config.routes == 1) refreshRouteMarks(atlas_);
}
