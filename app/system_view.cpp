#include "app/system_view.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/atlas_actions.h"
#include "app/info_text.h"
#include "app/save_screen.h"
#include "export/system_picture.h"
#include "export/system_save.h"
#include "files/atomic_file.h"
#include "files/saved_system_file.h"

namespace {

using irr::core::rect;
using irr::s32;

// The --stats line of one save, printed as it ends so that a driver can wait for it: its wall
// time and the bodies whose textures it began.
void reportSave(std::chrono::steady_clock::time_point started, int bodies) {
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    std::printf("save-ms %.0f bodies %d\n", ms, bodies);
    std::fflush(stdout);
}

}  // namespace

ViewMode SystemView::frame() {
    showBottomButtons();
    // The wheel scrolls the panel, or the rows of a table that has more than it shows.
    if (!panel_.wheelToTable())
        scroll_ = std::clamp(scroll_ - static_cast<int>(atlas_.receiver.wheel * 50.0f), 0, SystemPanel::kScrolledUp);

    const bool entering = entering_;
    if (entering) {
        planetIndex_ = 0;
        moonIndex_ = 0;
        message_.clear();
    }
    const ViewMode next = commands();
    if (next != kSystemView) return next;
    showSystem();
    if (entering) showOnEntry();

    if (atlas_.receiver.keyDown(irr::KEY_ESCAPE) || request_ != kSystemView)
        return request_ == kGalaxyView ? kGalaxyView : kMapView;
    drawBottomBar();
    if (systemStep_ != 0) {
        const int step = systemStep_;
        systemStep_ = 0;
        stepSystem(step);
    }
    return kSystemView;
}

void SystemView::leave() {
    panel_.removeBodyButtons();
    GuiControls& controls = atlas_.controls;
    controls.systempanel->setVisible(false);
    for (irr::gui::IGUIButton* button : {controls.setwaypoint, controls.setastarget, controls.savetocache,
                                         controls.savetofolder, controls.previoussystem, controls.nextsystem})
        button->setVisible(false);
    scroll_ = 0;
    planetIndex_ = 0;
    moonIndex_ = 0;
}

// A star one jump from the route's end can be the next waypoint; any other, the target.
void SystemView::showBottomButtons() {
    const StarRecord* star = atlas_.currentStarRecord();
    if (atlas_.config.routes != 1 || star == nullptr || atlas_.route.onRoute(star->id)) return;
    atlas_.controls.setwaypoint->setVisible(star->connected);
    atlas_.controls.setastarget->setVisible(!star->connected);
}

void SystemView::showOnEntry() {
    GuiControls& controls = atlas_.controls;
    entering_ = false;
    controls.systempanel->setVisible(true);
    atlas_.gui->getRootGUIElement()->bringToFront(controls.systempanel);
    for (irr::gui::IGUIButton* button :
         {controls.savetocache, controls.savetofolder, controls.previoussystem, controls.nextsystem})
        button->setVisible(true);
    if (atlas_.config.routes == 1) {
        for (irr::gui::IGUIButton* button : {controls.setwaypoint, controls.setastarget}) {
            button->setVisible(true);
            button->setEnabled(true);
        }
    }
    request_ = kSystemView;
}

void SystemView::drawBottomBar() {
    const int W = atlas_.W;
    const int H = atlas_.H;
    irr::video::IVideoDriver* driver = atlas_.driver;
    driver->draw2DRectangle(irr::video::SColor(0xff040555), rect<s32>(0, H - 60, W, H));
    driver->draw2DRectangle(irr::video::SColor(0xff000000), rect<s32>(0, H - 65, W, H - 60));
    driver->draw2DRectangle(irr::video::SColor(0xff000000), rect<s32>(W - 202, H - 60, W - 200, H));
    const rect<s32> place = barMessagePlace(W, H);
    if (!message_.empty())
        atlas_.font->draw(wrapped(atlas_.font, message_, place.getWidth(), kBarMessageLines).c_str(), place,
                          irr::video::SColor(255, 255, 255, 255), false, true);
}

ViewMode SystemView::commands() {
    InputEventReceiver& input = atlas_.receiver;
    if (!input.buttonclicked) {
        commandMemory_.idle();
        return kSystemView;
    }
    input.buttonclicked = 0;
    const s32 id = input.callerid;
    if (!commandMemory_.accept(id)) return kSystemView;
    if (bodyStepCommand(id)) return kSystemView;
    switch (id) {
    case kBackToTop: scroll_ = 0; break;
    case kSaveToCache: saveCurrentSystem(true); break;
    case kSaveToFolder: saveCurrentSystem(false); break;
    case kSavePicture: saveCurrentPicture(); break;
    case kSetWaypoint: return setWaypoint();
    case kSetAsTarget: routeToCurrentStar(); break;
    case kMapButton: request_ = kMapView; break;
    case kGalaxyButton: request_ = kGalaxyView; break;
    case kNextSystem: systemStep_ = 1; break;
    case kPreviousSystem: systemStep_ = -1; break;
    default:
        if (id >= SystemPanel::kBodyButtonBase) selectBody(id);
        break;
    }
    return kSystemView;
}

// The planet and moon buttons step through the bodies.
bool SystemView::bodyStepCommand(int id) {
    switch (id) {
    case kNextPlanet: ++planetIndex_; break;
    case kPreviousPlanet: --planetIndex_; break;
    case kNextMoon: ++moonIndex_; break;
    case kPreviousMoon: --moonIndex_; break;
    default: return false;
    }
    clampIndices();
    refreshSystem_ = true;
    return true;
}

// A thumbnail shows its body's table.
void SystemView::selectBody(int id) {
    planetIndex_ = (id - SystemPanel::kBodyButtonBase) / 100;
    moonIndex_ = (id - SystemPanel::kBodyButtonBase) % 100;
    clampIndices();
    refreshSystem_ = true;
    scroll_ = SystemPanel::kScrolledUp;
}

void SystemView::clampIndices() {
    const StarRecord* star = atlas_.currentStarRecord();
    const GeneratedSystem* system = star != nullptr ? star->system.get() : nullptr;
    if (system == nullptr || system->planetcount == 0) return;
    planetIndex_ = std::clamp(planetIndex_, 0, system->planetcount - 1);
    moonIndex_ = std::clamp(moonIndex_, 0, system->planets[static_cast<std::size_t>(planetIndex_)].mooncount);
}

// The star joins the route; the galaxy view shows it, and then its system again.
ViewMode SystemView::setWaypoint() {
    if (const StarRecord* star = atlas_.currentStarRecord()) {
        atlas_.route.addWaypoint(*star);
        showRouteList(atlas_);
    }
    refreshRouteMarks(atlas_);
    return request_ == kSystemView ? kCentreSystem : kGalaxyView;
}

void SystemView::routeToCurrentStar() {
    const StarRecord* star = atlas_.currentStarRecord();
    if (star == nullptr || atlas_.route.lastWaypoint() == nullptr) return;
    message_ = routeTo(atlas_, *star);
}

// The next or previous star of the cube with a generated system, among those shown.
void SystemView::stepSystem(int step) {
    panel_.removeBodyButtons();
    scroll_ = 0;
    planetIndex_ = 0;
    moonIndex_ = 0;
    entering_ = true;
    const SceneMarkers& markers = *atlas_.markers;
    const StarRecord* current = atlas_.currentStarRecord();
    std::size_t start = 0;
    const GalaxyCube* cube = current != nullptr ? markers.cubeOf(current->id, start) : nullptr;
    if (cube == nullptr) return;
    const int found = nextQualifyingIndex(static_cast<int>(cube->stars.size()), static_cast<int>(start), step, [&](int index) {
        const StarRecord* candidate = cube->stars[static_cast<std::size_t>(index)];
        return candidate->systemready && markers.visible(candidate->id);
    });
    StarRecord* chosen = cube->stars[static_cast<std::size_t>(found)];
    const std::optional<irr::core::vector3df> place = markers.positionOf(chosen->id);
    if (chosen == current || !place) return;
    atlas_.currentStar = chosen->id;
    moveCentreTo(atlas_, *place);
}

// The save draws its own frames: the view dimmed under its progress bar. A window closed
// meanwhile stops it at the next body, and the program ends when the frame is over.
void SystemView::saveCurrentSystem(bool toCache) {
    StarRecord* star = atlas_.currentStarRecord();
    if (star == nullptr) return;
    const auto started = std::chrono::steady_clock::now();
    const std::string name = star->system ? star->system->name : star->physical->name;
    SaveScreen screen(atlas_, name, [this] {
        drawBottomBar();
        atlas_.gui->drawAll();
    });
    SaveHooks hooks = screen.hooks();
    std::vector<std::string> leftAlone;
    hooks.notice = [&leftAlone](const std::string& text) { leftAlone.push_back(text); };
    int bodies = 0;
    hooks.body = [&bodies, shown = hooks.body](const std::string& body) {
        ++bodies;
        if (shown) shown(body);
    };
    const SaveResult result =
        toCache ? saveToCache(".", *star, atlas_.config, &atlas_.plugin, hooks, atlas_.catalogue.systemRandom)
                : saveToFolder(".", *star, atlas_.config, &atlas_.plugin, hooks, atlas_.catalogue.systemRandom);
    if (atlas_.options.stats) reportSave(started, bodies);
    screen.resumeFrame();
    atlas_.receiver.buttonclicked = 0;  // a click while saving is no command
    message_ = saveResultText(result, name);
    if (result.outcome == SaveOutcome::saved && !atlas_.plugin.loaded())
        message_ += " (no texture plug-in: no textures)";
    if (!leftAlone.empty())
        message_ += " " + leftAlone.front() +
                    (leftAlone.size() > 1 ? " (and " + std::to_string(leftAlone.size() - 1) + " more)" : "");
}

// The picture goes where "Save to folder" puts the saved-system file, as <system name>.svg.
void SystemView::saveCurrentPicture() {
    const StarRecord* star = atlas_.currentStarRecord();
    if (star == nullptr || !star->system || !star->physical) return;
    const std::filesystem::path path = savedSystemPath(".", *star, false).replace_extension(".svg");
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    const bool written = !error && writeFileAtomically(path, systemPictureSvg(*star->system, *star->physical));
    message_ = (written ? "Saved the picture " : "Could not write the picture ") + path.lexically_normal().string() + ".";
}

// The panel filled afresh on entry or after a change of body, and placed every frame.
void SystemView::showSystem() {
    const StarRecord* star = atlas_.currentStarRecord();
    if (star == nullptr || !star->physical) return;
    const BodyChoice body{planetIndex_, moonIndex_};
    if (entering_ || refreshSystem_) {
        refreshSystem_ = false;
        panel_.fill(*star, body);
    }
    panel_.layout(*star, scroll_, body);
}
