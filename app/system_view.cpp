#include "app/system_view.h"

#include <algorithm>
#include <cmath>

#include "app/atlas_actions.h"
#include "app/info_text.h"
#include "app/sprite_layout.h"
#include "export/system_save.h"

namespace {

using irr::core::rect;
using irr::s32;

// Layout of the scrolling panel, in panel pixels before scrolling.
constexpr int kStripTop = 10;
constexpr int kStripHeight = 200;
constexpr int kTitleTop = 220;
constexpr int kTablesTop = 270;
constexpr int kBodyTableHeight = 500;
constexpr int kStarTableHeight = 235;
constexpr int kBodyButtonBase = 10000;

rect<s32> shifted(const rect<s32>& area, int scroll) {
    return rect<s32>(area.UpperLeftCorner.X, area.UpperLeftCorner.Y - scroll, area.LowerRightCorner.X,
                     area.LowerRightCorner.Y - scroll);
}

irr::core::rect<s32> sheetRect(const SheetRect& r) { return rect<s32>(r.left, r.top, r.right, r.bottom); }

}  // namespace

ViewMode SystemView::frame() {
    showBottomButtons();
    scroll_ -= static_cast<int>(atlas_.receiver.wheel * 50.0f);
    if (scroll_ < 0) scroll_ = 0;

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
    removeBodyButtons();
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
    if (!message_.empty())
        atlas_.font->draw(widen(message_).c_str(), rect<s32>(10, H - 58, (W - 200) / 2 - 400, H - 2),
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
    case kSetWaypoint: return setWaypoint();
    case kSetAsTarget: routeToCurrentStar(); break;
    case kMapButton: request_ = kMapView; break;
    case kGalaxyButton: request_ = kGalaxyView; break;
    case kNextSystem: systemStep_ = 1; break;
    case kPreviousSystem: systemStep_ = -1; break;
    default:
        if (id >= kBodyButtonBase) selectBody(id);
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
    planetIndex_ = (id - kBodyButtonBase) / 100;
    moonIndex_ = (id - kBodyButtonBase) % 100;
    clampIndices();
    refreshSystem_ = true;
    scroll_ = std::max(0, kTablesTop - 100);
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
    JumpNetwork& route = atlas_.route;
    if (star == nullptr || route.lastWaypoint() == nullptr) return;
    if (beyondCorridorSearch(atlas_.catalogue, *route.lastWaypoint(), *star)) {
        message_ = star->physical->name + " is outside the galaxy or too far for a route.";
    } else if (!route.findRoute(*star, *atlas_.window)) {
        message_ = "No route found to " + star->physical->name + ".";
    } else {
        message_ = "Route found: " + std::to_string(route.waypoints().size() - 1) + " jumps.";
        showRouteList(atlas_);
    }
    refreshRouteMarks(atlas_);
}

// The next or previous star of the cube with a generated system, among those shown.
void SystemView::stepSystem(int step) {
    removeBodyButtons();
    scroll_ = 0;
    planetIndex_ = 0;
    moonIndex_ = 0;
    entering_ = true;
    SceneMarkers& markers = *atlas_.markers;
    const StarRecord* current = atlas_.currentStarRecord();
    irr::scene::ISceneNode* marker = current != nullptr ? markers.markerOf(*current) : nullptr;
    if (marker == nullptr) return;
    const int cubeIndex = marker->getID() / 1000;
    if (cubeIndex < 0 || cubeIndex >= GalaxyWindow::kCubeCount) return;
    const GalaxyCube& cube = atlas_.window->cube(cubeIndex);
    const int start = marker->getID() % 1000;
    const int found = nextQualifyingIndex(static_cast<int>(cube.stars.size()), start, step, [&](int index) {
        const StarRecord* candidate = cube.stars[static_cast<std::size_t>(index)];
        const irr::scene::ISceneNode* node = markers.markerOf(*candidate);
        return candidate->systemready && node != nullptr && node->isVisible();
    });
    StarRecord* chosen = cube.stars[static_cast<std::size_t>(found)];
    if (chosen == current || markers.markerOf(*chosen) == nullptr) return;
    atlas_.currentStar = chosen->id;
    moveCentreTo(atlas_, markers.markerOf(*chosen)->getPosition());
}

void SystemView::drawProgress(const std::string& text) {
    atlas_.driver->draw2DRectangle(irr::video::SColor(0xff000000), rect<s32>(0, 0, 200, 50));
    atlas_.font->draw(widen(text).c_str(), rect<s32>(10, 5, 100, 40), irr::video::SColor(255, 255, 255, 255));
}

void SystemView::saveCurrentSystem(bool toCache) {
    StarRecord* star = atlas_.currentStarRecord();
    if (star == nullptr) return;
    irr::video::IVideoDriver* driver = atlas_.driver;
    SaveHooks hooks;
    bool sceneEnded = false;
    hooks.status = [this, driver, &sceneEnded](const std::string& text) {
        drawProgress(text);
        driver->endScene();
        sceneEnded = true;
    };
    hooks.progress = [this, driver](int done, int total, int level, double fraction) {
        driver->beginScene(true, true, irr::video::SColor(0));
        drawProgress(progressText(done, total, level, fraction));
        driver->endScene();
    };
    std::vector<std::string> leftAlone;
    hooks.notice = [&leftAlone](const std::string& text) { leftAlone.push_back(text); };
    const SaveResult result =
        toCache ? saveToCache(".", *star, atlas_.config, &atlas_.plugin, hooks, atlas_.catalogue.systemRandom)
                : saveToFolder(".", *star, atlas_.config, &atlas_.plugin, hooks, atlas_.catalogue.systemRandom);
    // The frame goes on after the export's own frames.
    if (sceneEnded) driver->beginScene(true, true, irr::video::SColor(255, 0, 0, 0));
    const std::string name = star->system ? star->system->name : star->physical->name;
    message_ = saveResultText(result, name);
    if (result.outcome == SaveOutcome::saved && !atlas_.plugin.loaded())
        message_ += " (no texture plug-in: no textures)";
    if (!leftAlone.empty())
        message_ += " " + leftAlone.front() +
                    (leftAlone.size() > 1 ? " (and " + std::to_string(leftAlone.size() - 1) + " more)" : "");
}

void SystemView::showSystem() {
    StarRecord* star = atlas_.currentStarRecord();
    if (star == nullptr || !star->physical) return;
    if (entering_ || refreshSystem_) {
        refreshSystem_ = false;
        fillStarTable(*star);
        const GeneratedSystem* system = star->system.get();
        const bool hasPlanets = system != nullptr && system->planetcount > 0;
        if (systemList_ == nullptr)
            systemList_ = atlas_.gui->addTable(rect<s32>(0, 0, 10, 10), atlas_.controls.systempanel, -1, true);
        systemList_->setVisible(hasPlanets);
        atlas_.controls.bodytable->setVisible(hasPlanets);
        atlas_.controls.systemtitle->setVisible(hasPlanets);
        if (hasPlanets) {
            fillSystemList(*system);
            showBody();
        }
        buildBodyButtons();
    }
    layoutTables();
    layoutBodyButtons();
}

void SystemView::fillStarTable(const StarRecord& star) {
    const auto starRows = starTableRows(*star.physical);
    for (irr::u32 row = 0; row < 9; ++row)
        atlas_.controls.startable->setCellText(row, 1, widen(starRows[row]).c_str());
}

void SystemView::fillSystemList(const GeneratedSystem& system) {
    systemList_->clear();
    const wchar_t* captions[] = {L"#", L"#", L"TYPE", L"S-M AXIS", L"MASS", L"RADIUS"};
    const int widths[] = {28, 28, 140, 100, 85, 75};
    for (int c = 0; c < 6; ++c) {
        systemList_->addColumn(captions[c]);
        systemList_->setColumnWidth(static_cast<irr::u32>(c), static_cast<irr::u32>(widths[c]));
    }
    irr::u32 next = 0;
    for (const SystemListRow& row : systemListRows(system)) {
        const irr::u32 index = systemList_->addRow(next++);
        for (int c = 0; c < 6; ++c) systemList_->setCellText(index, static_cast<irr::u32>(c), widen(row[c]).c_str());
    }
}

void SystemView::showBody() {
    const GeneratedSystem& system = *atlas_.currentStarRecord()->system;
    const PlanetSlot& slot = system.planets[static_cast<std::size_t>(planetIndex_)];
    const PlanetRecord& body = slot.bodies[static_cast<std::size_t>(moonIndex_)];
    atlas_.controls.systemtitle->setText(widen(body.name).c_str());
    const auto rows = bodyTableRows(body);
    for (irr::u32 row = 0; row < 24; ++row) {
        atlas_.controls.bodytable->setCellText(row, 1, widen(rows[row].first).c_str());
        atlas_.controls.bodytable->setCellText(row, 2, widen(rows[row].second).c_str());
    }
}

// The title with its buttons, the body table on the left, the star table and the system list
// on the right; all scroll together.
void SystemView::layoutTables() {
    GuiControls& c = atlas_.controls;
    const int W = atlas_.W;
    const int m = static_cast<int>(static_cast<double>(W) * 0.03);
    const int e = static_cast<int>(static_cast<double>(W) - static_cast<double>(W) * 0.03);
    const int bodyRight = m + (e - m) * 3 / 5;
    const int rightLeft = bodyRight + 20;
    c.systemtitle->setRelativePosition(shifted(rect<s32>(m, kTitleTop, m + 300, kTitleTop + 40), scroll_));
    c.previousplanet->setRelativePosition(shifted(rect<s32>(m + 310, kTitleTop, m + 390, kTitleTop + 40), scroll_));
    c.nextplanet->setRelativePosition(shifted(rect<s32>(m + 400, kTitleTop, m + 480, kTitleTop + 40), scroll_));
    c.previousmoon->setRelativePosition(shifted(rect<s32>(m + 500, kTitleTop, m + 580, kTitleTop + 40), scroll_));
    c.nextmoon->setRelativePosition(shifted(rect<s32>(m + 590, kTitleTop, m + 670, kTitleTop + 40), scroll_));
    c.backtotop->setRelativePosition(shifted(rect<s32>(e - 40, kTitleTop, e, kTitleTop + 40), scroll_));
    c.bodytable->setRelativePosition(shifted(rect<s32>(m, kTablesTop, bodyRight, kTablesTop + kBodyTableHeight), scroll_));
    const int column = (bodyRight - m) / 3;
    c.bodytable->setColumnWidth(0, static_cast<irr::u32>(column));
    c.bodytable->setColumnWidth(1, static_cast<irr::u32>(column));
    c.bodytable->setColumnWidth(2, static_cast<irr::u32>(column - 1));
    c.startable->setRelativePosition(shifted(rect<s32>(rightLeft, kTablesTop, e, kTablesTop + kStarTableHeight), scroll_));
    c.startable->setColumnWidth(0, static_cast<irr::u32>((e - rightLeft) / 2));
    c.startable->setColumnWidth(1, static_cast<irr::u32>((e - rightLeft) / 2));
    if (systemList_ != nullptr) {
        const int rows = static_cast<int>(systemList_->getRowCount());
        const int listTop = kTablesTop + kStarTableHeight + 10;
        systemList_->setRelativePosition(
            shifted(rect<s32>(rightLeft, listTop, e, listTop + std::max(100, 30 + rows * 19)), scroll_));
    }
}

// The thumbnails: planets along the strip, their moons below them.
void SystemView::layoutBodyButtons() {
    const StarRecord* star = atlas_.currentStarRecord();
    GeneratedSystem* system = star != nullptr ? star->system.get() : nullptr;
    if (system == nullptr || system->planetcount == 0 || bodyButtons_.empty()) return;
    const int W = atlas_.W;
    const int m = static_cast<int>(static_cast<double>(W) * 0.03);
    const int width = static_cast<int>(static_cast<double>(W) - static_cast<double>(W) * 0.03) - m;
    const int count = system->planetcount;
    const int slotWidth = static_cast<int>(std::trunc(width * 0.97 / (count + 1)));
    const int size = std::min(slotWidth - 10, 80);
    const double largest = largestPlanetRadius(*system);
    std::size_t button = 0;
    for (int p = 0; p < count; ++p) {
        const PlanetSlot& slot = system->planets[static_cast<std::size_t>(p)];
        const int centreX = m + (p + 1) * slotWidth;
        int y = kStripTop;
        for (std::size_t j = 0; j < slot.bodies.size() && button < bodyButtons_.size(); ++j, ++button) {
            const int edge = std::max(4, bodyEdge(slot.bodies[j], size, largest));
            irr::gui::IGUIButton* element = bodyButtons_[button];
            const int top = j == 0 ? kStripTop + (size - edge) / 2 : y;
            element->setRelativePosition(shifted(rect<s32>(centreX - edge / 2, top, centreX - edge / 2 + edge, top + edge), scroll_));
            element->setVisible(top + edge < kStripTop + kStripHeight);
            y = (j == 0 ? kStripTop + size + 4 : top + edge + 4);
            element->setDrawBorder(p == planetIndex_ && static_cast<int>(j) == moonIndex_);
        }
    }
}

void SystemView::buildBodyButtons() {
    removeBodyButtons();
    const StarRecord* star = atlas_.currentStarRecord();
    const GeneratedSystem* system = star != nullptr ? star->system.get() : nullptr;
    if (system == nullptr || atlas_.thumbnails == nullptr) return;
    for (std::size_t p = 0; p < system->planets.size(); ++p) {
        const PlanetSlot& slot = system->planets[p];
        for (std::size_t j = 0; j < slot.bodies.size(); ++j) {
            const s32 id = kBodyButtonBase + 100 * static_cast<s32>(p) + static_cast<s32>(j);
            irr::gui::IGUIButton* button = atlas_.gui->addButton(rect<s32>(0, 0, 10, 10), atlas_.controls.systempanel,
                                                                 id, nullptr, widen(slot.bodies[j].name).c_str());
            button->setImage(atlas_.thumbnails, sheetRect(bodyThumbnail(slot.bodies[j].type)));
            button->setScaleImage(true);
            button->setUseAlphaChannel(true);
            button->setDrawBorder(false);
            bodyButtons_.push_back(button);
        }
    }
}

void SystemView::removeBodyButtons() {
    for (irr::gui::IGUIButton* button : bodyButtons_) button->remove();
    bodyButtons_.clear();
}
