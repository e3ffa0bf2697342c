#include "app/application.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>

#include "app/frame_capture.h"
#include "files/galaxy_files.h"

namespace {

// Set by the signal handlers, which may touch nothing but flags of this type at namespace scope.
volatile std::sig_atomic_t g_captureRequests = 0;
volatile std::sig_atomic_t g_stopRequested = 0;

void onCaptureSignal(int) { g_captureRequests = g_captureRequests + 1; }
void onStopSignal(int) { g_stopRequested = 1; }

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

void say(const std::string& line) { std::cerr << "starvane: " << line << "\n"; }

}  // namespace

int Application::run(const RunOptions& options) {
    options_ = options;
    std::signal(SIGUSR1, onCaptureSignal);
    std::signal(SIGTERM, onStopSignal);
    std::signal(SIGINT, onStopSignal);
    if (!startUp()) {
        window_.reset();
        if (device_ != nullptr) device_->drop();
        return 1;
    }

    int frames = 0;
    int captures = 0;
    const auto started = std::chrono::steady_clock::now();
    lastTime_ = device_->getTimer()->getTime();
    while (device_->run()) {
        const irr::u32 now = device_->getTimer()->getTime();
        const float dt = static_cast<float>(now - lastTime_) * 0.001f;
        lastTime_ = now;
        receiver_.startFrame();
        cornerHover_ = receiver_.mousex > W - 200 && receiver_.mousey > H - 60;
        doubleClick_.advance(dt);
        const auto frameStart = std::chrono::steady_clock::now();
        crossedThisFrame_ = false;
        driver_->beginScene(true, true, irr::video::SColor(255, 0, 0, 0));
        frame(dt);
        driver_->draw2DRectangle(irr::video::SColor(200, 4, 5, 85), irr::core::rect<irr::s32>(W - 200, H - 60, W, H));
        gui_->drawAll();
        if (g_captureRequests > 0 && !options_.captureDir.empty()) {
            g_captureRequests = g_captureRequests - 1;
            char name[64];
            std::snprintf(name, sizeof name, "/frame-%03d.png", ++captures);
            captureBackBuffer(driver_, options_.captureDir + name);
        }
        driver_->endScene();
        receiver_.endFrame();
        ++frames;
        if (crossedThisFrame_) {
            const double spent = std::chrono::duration<double>(std::chrono::steady_clock::now() - frameStart).count();
            ++stats_.crossings;
            stats_.slowestCrossing = std::max(stats_.slowestCrossing, spent);
        }
        if (g_stopRequested || (options_.quitAfterFrames > 0 && frames >= options_.quitAfterFrames))
            device_->closeDevice();
    }
    stats_.frames = frames;
    stats_.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (options_.stats)
        std::printf("frames %d seconds %.3f fps %.1f crossings %d slowest-crossing-ms %.1f\n", stats_.frames,
                    stats_.seconds, stats_.seconds > 0 ? stats_.frames / stats_.seconds : 0.0, stats_.crossings,
                    stats_.slowestCrossing * 1000.0);
    // The window's scene nodes belong to the engine: release them while it still exists.
    if (markers_ != nullptr) markers_->clear();
    window_.reset();
    if (galaxyPicture_ != nullptr) galaxyPicture_->drop();
    device_->drop();
    return 0;
}

bool Application::startUp() {
    DeferredMessages earlyMessages;
    plugin_.load("./texgen.so", earlyMessages);

    if (!loadStarvaneConfig(".", config_, &earlyMessages)) {
        say("cannot read Starvane/Starvane.cfg in " + std::filesystem::current_path().string());
        return false;
    }
    W = config_.width;
    H = config_.height;
    if (W <= 0 || H <= 0) {
        say("Starvane/Starvane.cfg gives no window size (lines 2 and 3)");
        return false;
    }
    receiver_.reset();

    irr::SIrrlichtCreationParameters parameters;
    parameters.DeviceType = irr::EIDT_BEST;
    parameters.DriverType = irr::video::EDT_OPENGL;
    parameters.WindowSize = irr::core::dimension2du(static_cast<irr::u32>(W), static_cast<irr::u32>(H));
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
    parameters.EventReceiver = &receiver_;
    parameters.LoggingLevel = irr::ELL_WARNING;
    device_ = irr::createDeviceEx(parameters);
    if (device_ == nullptr) {
        say("cannot open the window (is there a display? set DISPLAY or run under xvfb-run)");
        return false;
    }
    driver_ = device_->getVideoDriver();
    scene_ = device_->getSceneManager();

    if (!tables_.load(".", EngineImageLoader(driver_))) {
        say("cannot read the stellar tables in Starvane/Data (StellarTable.csv, EvoTracks.dat, HRRef.bmp)");
        return false;
    }

    gui_ = device_->getGUIEnvironment();
    gui_->setUserEventReceiver(&receiver_);
    font_ = gui_->getFont("Starvane/Data/ESfont.bmp");
    if (font_ == nullptr) font_ = gui_->getBuiltInFont();
    GuiMessages guiMessages(gui_);
    earlyMessages.showIn(guiMessages);

    drawLoadingFrame();
    loadGalaxy(catalogue_, ".", config_.galaxy, tables_, &guiMessages);
    if (catalogue_.stars.empty()) {
        say("the galaxy \"" + config_.galaxy + "\" has no stars (Starvane/Galaxy/" + config_.galaxy + "/)");
        return false;
    }
    camera_.initialise(10.0f, 180.0f, 0.0f);

    irr::gui::IGUISkin* skin = gui_->getSkin();
    skin->setFont(font_);
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

    // Sprite sheets: their top-left pixel's colour is transparent.
    thumbnails_ = driver_->getTexture("Starvane/Data/ThumbNails.bmp");
    pictograms_ = driver_->getTexture("Starvane/Data/pictograms.bmp");
    if (thumbnails_) driver_->makeColorKeyTexture(thumbnails_, irr::core::position2d<irr::s32>(0, 0));
    if (pictograms_) driver_->makeColorKeyTexture(pictograms_, irr::core::position2d<irr::s32>(0, 0));
    controls_ = createControls(gui_, W, H, pictograms_);

    const std::string galaxyFolder = "Starvane/Galaxy/" + config_.galaxy + "/";
    irr::video::IImage* picture = driver_->createImageFromFile((galaxyFolder + config_.galaxy + ".jpg").c_str());
    if (picture != nullptr) {
        irr::video::IImage* screen = driver_->createImage(
            picture->getColorFormat(), irr::core::dimension2du(static_cast<irr::u32>(W), static_cast<irr::u32>(H)));
        picture->copyTo(screen, irr::core::position2d<irr::s32>(0, 0),
                        irr::core::rect<irr::s32>(0, 0, W, H));
        galaxyTexture_ = driver_->addTexture("GalTex", screen);
        screen->drop();
        galaxyPicture_ = picture;  // kept for the map view
        map_.pictureWidth = static_cast<int>(picture->getDimension().Width);
        map_.pictureHeight = static_cast<int>(picture->getDimension().Height);
        map_.W = W;
        map_.H = H;
        map_.centreX = map_.pictureWidth / 2;
        map_.centreY = map_.pictureHeight / 2;
        map_.zoom = map_.widestZoom();
    }
    catalogue_.densityimage = EngineImageLoader(driver_).load(galaxyFolder + "GrayScale.jpg");

    hotspots_.loadHotSpots(hotSpotPath(".", config_.galaxy, config_.hotspotfile));
    showHotSpotLists();

    // The view's switches start on, as their check boxes do.
    markers_ = std::make_unique<SceneMarkers>(scene_, gui_->getBuiltInFont());
    window_ = std::make_unique<GalaxyWindow>(catalogue_);
    window_->rebuild(catalogue_.referencecube[0], catalogue_.referencecube[1], catalogue_.referencecube[2]);
    markers_->showRebuilt(*window_);

    createSceneObjects();

    route_.load("Starvane/Data/DefaultJumpData.csv", catalogue_.stars.front().get());
    showRouteList();
    if (config_.routes == 1) refreshRouteMarks();
    view_ = kGalaxyView;
    pendingRequest_ = 0;
    viewEntry_ = true;
    doubleClick_ = DoubleClick();
    return true;
}

void Application::drawLoadingFrame() {
    driver_->beginScene(true, true, irr::video::SColor(0xff000000));
    font_->draw(L" Loading Stellar catalogue", irr::core::rect<irr::s32>(10, 5, 100, 40),
                irr::video::SColor(255, 255, 255, 255));
    driver_->endScene();
}

void Application::createSceneObjects() {
    centre_ = scene_->addSphereSceneNode(0.1f, 8, nullptr, -1);
    centre_->setMaterialFlag(irr::video::EMF_LIGHTING, true);
    centre_->setMaterialType(irr::video::EMT_TRANSPARENT_ADD_COLOR);
    centre_->getMaterial(0).EmissiveColor = irr::video::SColor(0, 0, 0, 0);
    centre_->setIsDebugObject(true);

    // The grid of the cube's middle plane.
    for (int i = -5; i <= 5; ++i) {
        irr::scene::ISceneNode* alongZ = scene_->addCubeSceneNode(1.0f, nullptr, -100 * (i + 5),
                                                                  irr::core::vector3df(static_cast<float>(i), 0, 0),
                                                                  irr::core::vector3df(0, 0, 0),
                                                                  irr::core::vector3df(0.01f, 0.01f, 10.0f));
        irr::scene::ISceneNode* alongX = scene_->addCubeSceneNode(1.0f, nullptr, -200 * (i + 5),
                                                                  irr::core::vector3df(0, 0, static_cast<float>(i)),
                                                                  irr::core::vector3df(0, 0, 0),
                                                                  irr::core::vector3df(10.0f, 0.01f, 0.01f));
        for (irr::scene::ISceneNode* line : {alongZ, alongX}) {
            line->setIsDebugObject(true);
            line->setMaterialFlag(irr::video::EMF_LIGHTING, true);
            line->getMaterial(0).EmissiveColor = irr::video::SColor(0x0000ff00);
        }
    }

    hoverDisc_ = scene_->addSphereSceneNode(0.15f, 16, nullptr, -1);
    hoverDisc_->setScale(irr::core::vector3df(1.0f, 0.001f, 1.0f));
    hoverDisc_->setMaterialFlag(irr::video::EMF_LIGHTING, true);
    hoverDisc_->getMaterial(0).EmissiveColor = irr::video::SColor(0xc800ffff);
    hoverDisc_->setVisible(false);
    hoverDisc_->setIsDebugObject(true);

    cameraNode_ = scene_->addCameraSceneNode(centre_, irr::core::vector3df(0, 10, 0), irr::core::vector3df(0, 0, 100), -1,
                                             true);
    cameraNode_->bindTargetAndRotation(true);
    cameraNode_->setIsDebugObject(true);  // never the answer of a pick
    cameraNode_->setTarget(centre_->getAbsolutePosition());
    camera_.update(cameraNode_, receiver_.mousex, receiver_.mousey, true);
}

void Application::frame(float dt) {
    switch (view_) {
    case kGalaxyView: galaxyViewFrame(dt); break;
    case kMapView: mapViewFrame(); break;
    case kSystemView: systemViewFrame(); break;
    }
}
