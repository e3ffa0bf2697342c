// The system view: the star's table, the list of its planets and moons, the table of the
// selected body with its name above, and a strip of clickable body thumbnails; the bottom bar
// saves the system to cache or folder, sets waypoints and targets, and steps to the next or
// previous system of the cube.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/application.h"
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

void Application::systemViewFrame() {
    const StarRecord* star = currentStar();
    if (config_.routes == 1 && star != nullptr && !route_.onRoute(star->id)) {
        if (star->connected) {
            controls_.setwaypoint->setVisible(true);
            controls_.setastarget->setVisible(false);
        } else {
            controls_.setwaypoint->setVisible(false);
            controls_.setastarget->setVisible(true);
        }
    }
    scroll_ -= static_cast<int>(receiver_.wheel * 50.0f);
    if (scroll_ < 0) scroll_ = 0;

    const bool entering = viewEntry_;
    if (entering) {
        planetIndex_ = 0;
        moonIndex_ = 0;
        systemMessage_.clear();
    }
    systemCommands();
    if (view_ != kSystemView) return;  // a command left the view
    showSystem();
    if (entering) {
        viewEntry_ = false;
        controls_.systempanel->setVisible(true);
        gui_->getRootGUIElement()->bringToFront(controls_.systempanel);
        for (irr::gui::IGUIButton* button :
             {controls_.savetocache, controls_.savetofolder, controls_.previoussystem, controls_.nextsystem})
            button->setVisible(true);
        if (config_.routes == 1) {
            for (irr::gui::IGUIButton* button : {controls_.setwaypoint, controls_.setastarget}) {
                button->setVisible(true);
                button->setEnabled(true);
            }
        }
        pendingRequest_ = 2;
    }

    if (receiver_.keyDown(irr::KEY_ESCAPE) || pendingRequest_ != 2) {
        leaveSystemView();
        return;
    }

    driver_->draw2DRectangle(irr::video::SColor(0xff040555), rect<s32>(0, H - 60, W, H));
    driver_->draw2DRectangle(irr::video::SColor(0xff000000), rect<s32>(0, H - 65, W, H - 60));
    driver_->draw2DRectangle(irr::video::SColor(0xff000000), rect<s32>(W - 202, H - 60, W - 200, H));
    if (!systemMessage_.empty())
        font_->draw(widen(systemMessage_).c_str(), rect<s32>(10, H - 58, (W - 200) / 2 - 400, H - 2),
                    irr::video::SColor(255, 255, 255, 255), false, true);

    if (systemStep_ != 0) {
        const int step = systemStep_;
        systemStep_ = 0;
        stepSystem(step);
    }
}

void Application::systemCommands() {
    if (!receiver_.buttonclicked) {
        systemCommandMemory_.idle();
        return;
    }
    receiver_.buttonclicked = 0;
    const s32 id = receiver_.callerid;
    if (!systemCommandMemory_.accept(id)) return;
    StarRecord* star = currentStar();
    GeneratedSystem* system = star != nullptr ? star->system.get() : nullptr;

    auto clampIndices = [&]() {
        if (system == nullptr || system->planetcount == 0) return;
        planetIndex_ = std::clamp(planetIndex_, 0, system->planetcount - 1);
        moonIndex_ = std::clamp(moonIndex_, 0, system->planets[static_cast<std::size_t>(planetIndex_)].mooncount);
    };
    switch (id) {
    case kNextPlanet: ++planetIndex_; break;
    case kPreviousPlanet: --planetIndex_; break;
    case kNextMoon: ++moonIndex_; break;
    case kPreviousMoon: --moonIndex_; break;
    case kBackToTop: scroll_ = 0; return;
    case kSaveToCache: saveCurrentSystem(true); return;
    case kSaveToFolder: saveCurrentSystem(false); return;
    case kSetWaypoint:
        if (star != nullptr) {
            route_.addWaypoint(*star);
            showRouteList();
        }
        refreshRouteMarks();
        leaveSystemView();
        view_ = kGalaxyView;
        refreshRouteMarks();
        return;
    case kSetAsTarget: routeToCurrentStar(); return;
    case kMapButton: pendingRequest_ = 1; return;
    case kGalaxyButton: pendingRequest_ = 0; return;
    case kNextSystem: systemStep_ = 1; return;
    case kPreviousSystem: systemStep_ = -1; return;
    default:
        if (id >= kBodyButtonBase) {
            planetIndex_ = (id - kBodyButtonBase) / 100;
            moonIndex_ = (id - kBodyButtonBase) % 100;
            clampIndices();
            refreshSystem_ = true;
            scroll_ = std::max(0, kTablesTop - 100);
        }
        return;
    }
    clampIndices();
    refreshSystem_ = true;
}

void Application::routeToCurrentStar() {
    const StarRecord* star = currentStar();
    if (star == nullptr || route_.lastWaypoint() == nullptr) return;
    if (beyondCorridorSearch(catalogue_, *route_.lastWaypoint(), *star)) {
        systemMessage_ = star->physical->name + " is outside the galaxy or too far for a route.";
    } else if (!route_.findRoute(*star, *window_)) {
        systemMessage_ = "No route found to " + star->physical->name + ".";
    } else {
        systemMessage_ = "Route found: " + std::to_string(route_.waypoints().size() - 1) + " jumps.";
        showRouteList();
    }
    refreshRouteMarks();
}

void Application::showSystem() {
    StarRecord* star = currentStar();
    if (star == nullptr || !star->physical) return;
    GeneratedSystem* system = star->system.get();
    if (viewEntry_ || refreshSystem_) {
        refreshSystem_ = false;
        const auto starRows = starTableRows(*star->physical);
        for (irr::u32 row = 0; row < 9; ++row)
            controls_.startable->setCellText(row, 1, widen(starRows[row]).c_str());
        const bool hasPlanets = system != nullptr && system->planetcount > 0;
        if (systemList_ == nullptr) systemList_ = gui_->addTable(rect<s32>(0, 0, 10, 10), controls_.systempanel, -1, true);
        systemList_->setVisible(hasPlanets);
        controls_.bodytable->setVisible(hasPlanets);
        controls_.systemtitle->setVisible(hasPlanets);
        if (hasPlanets) {
            systemList_->clear();
            const wchar_t* captions[] = {L"#", L"#", L"TYPE", L"S-M AXIS", L"MASS", L"RADIUS"};
            const int widths[] = {28, 28, 140, 100, 85, 75};
            for (int c = 0; c < 6; ++c) {
                systemList_->addColumn(captions[c]);
                systemList_->setColumnWidth(static_cast<irr::u32>(c), static_cast<irr::u32>(widths[c]));
            }
            const auto rows = systemListRows(*system);
            irr::u32 next = 0;
            for (const SystemListRow& row : rows) {
                const irr::u32 index = systemList_->addRow(next++);
                for (int c = 0; c < 6; ++c) systemList_->setCellText(index, static_cast<irr::u32>(c), widen(row[c]).c_str());
            }
            showBody();
        }
        buildBodyButtons();
    }
    layoutSystemPanel();
}

void Application::showBody() {
    GeneratedSystem& system = *currentStar()->system;
    const PlanetSlot& slot = system.planets[static_cast<std::size_t>(planetIndex_)];
    const PlanetRecord& body = slot.bodies[static_cast<std::size_t>(moonIndex_)];
    controls_.systemtitle->setText(widen(body.name).c_str());
    const auto rows = bodyTableRows(body);
    for (irr::u32 row = 0; row < 24; ++row) {
        controls_.bodytable->setCellText(row, 1, widen(rows[row].first).c_str());
        controls_.bodytable->setCellText(row, 2, widen(rows[row].second).c_str());
    }
}

void Application::layoutSystemPanel() {
    const int m = static_cast<int>(static_cast<double>(W) * 0.03);
    const int e = static_cast<int>(static_cast<double>(W) - static_cast<double>(W) * 0.03);
    const int width = e - m;
    const int bodyRight = m + width * 3 / 5;
    const int rightLeft = bodyRight + 20;
    controls_.systemtitle->setRelativePosition(shifted(rect<s32>(m, kTitleTop, m + 300, kTitleTop + 40), scroll_));
    controls_.previousplanet->setRelativePosition(shifted(rect<s32>(m + 310, kTitleTop, m + 390, kTitleTop + 40), scroll_));
    controls_.nextplanet->setRelativePosition(shifted(rect<s32>(m + 400, kTitleTop, m + 480, kTitleTop + 40), scroll_));
    controls_.previousmoon->setRelativePosition(shifted(rect<s32>(m + 500, kTitleTop, m + 580, kTitleTop + 40), scroll_));
    controls_.nextmoon->setRelativePosition(shifted(rect<s32>(m + 590, kTitleTop, m + 670, kTitleTop + 40), scroll_));
    controls_.backtotop->setRelativePosition(shifted(rect<s32>(e - 40, kTitleTop, e, kTitleTop + 40), scroll_));
    controls_.bodytable->setRelativePosition(shifted(rect<s32>(m, kTablesTop, bodyRight, kTablesTop + kBodyTableHeight), scroll_));
    const int column = (bodyRight - m) / 3;
    controls_.bodytable->setColumnWidth(0, static_cast<irr::u32>(column));
    controls_.bodytable->setColumnWidth(1, static_cast<irr::u32>(column));
    controls_.bodytable->setColumnWidth(2, static_cast<irr::u32>(column - 1));
    controls_.startable->setRelativePosition(shifted(rect<s32>(rightLeft, kTablesTop, e, kTablesTop + kStarTableHeight), scroll_));
    controls_.startable->setColumnWidth(0, static_cast<irr::u32>((e - rightLeft) / 2));
    controls_.startable->setColumnWidth(1, static_cast<irr::u32>((e - rightLeft) / 2));
    if (systemList_ != nullptr) {
        const int rows = static_cast<int>(systemList_->getRowCount());
        const int listTop = kTablesTop + kStarTableHeight + 10;
        systemList_->setRelativePosition(
            shifted(rect<s32>(rightLeft, listTop, e, listTop + std::max(100, 30 + rows * 19)), scroll_));
    }

    // The thumbnails: planets along the strip, their moons below them.
    const StarRecord* star = currentStar();
    GeneratedSystem* system = star != nullptr ? star->system.get() : nullptr;
    if (system == nullptr || system->planetcount == 0 || bodyButtons_.empty()) return;
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
            const int edge = std::max(4, bodyEdge(slot.bodies[j], j == 0 ? size : size, largest));
            irr::gui::IGUIButton* element = bodyButtons_[button];
            const int top = j == 0 ? kStripTop + (size - edge) / 2 : y;
            element->setRelativePosition(shifted(rect<s32>(centreX - edge / 2, top, centreX - edge / 2 + edge, top + edge), scroll_));
            element->setVisible(top + edge < kStripTop + kStripHeight);
            y = (j == 0 ? kStripTop + size + 4 : top + edge + 4);
            const bool selected = p == planetIndex_ && static_cast<int>(j) == moonIndex_;
            element->setDrawBorder(selected);
        }
    }
}

void Application::buildBodyButtons() {
    removeBodyButtons();
    const StarRecord* star = currentStar();
    const GeneratedSystem* system = star != nullptr ? star->system.get() : nullptr;
    if (system == nullptr || thumbnails_ == nullptr) return;
    for (std::size_t p = 0; p < system->planets.size(); ++p) {
        const PlanetSlot& slot = system->planets[p];
        for (std::size_t j = 0; j < slot.bodies.size(); ++j) {
            const s32 id = kBodyButtonBase + 100 * static_cast<s32>(p) + static_cast<s32>(j);
            irr::gui::IGUIButton* button = gui_->addButton(rect<s32>(0, 0, 10, 10), controls_.systempanel, id, nullptr,
                                                           widen(slot.bodies[j].name).c_str());
            button->setImage(thumbnails_, sheetRect(bodyThumbnail(slot.bodies[j].type)));
            button->setScaleImage(true);
            button->setUseAlphaChannel(true);
            button->setDrawBorder(false);
            bodyButtons_.push_back(button);
        }
    }
}

void Application::removeBodyButtons() {
    for (irr::gui::IGUIButton* button : bodyButtons_) button->remove();
    bodyButtons_.clear();
}

void Application::leaveSystemView() {
    removeBodyButtons();
    controls_.systempanel->setVisible(false);
    for (irr::gui::IGUIButton* button : {controls_.setwaypoint, controls_.setastarget, controls_.savetocache,
                                         controls_.savetofolder, controls_.previoussystem, controls_.nextsystem})
        button->setVisible(false);
    scroll_ = 0;
    planetIndex_ = 0;
    moonIndex_ = 0;
    viewEntry_ = true;
    view_ = pendingRequest_ != 0 ? kMapView : kGalaxyView;
}

void Application::stepSystem(int step) {
    removeBodyButtons();
    scroll_ = 0;
    planetIndex_ = 0;
    moonIndex_ = 0;
    viewEntry_ = true;
    const StarRecord* current = currentStar();
    irr::scene::ISceneNode* marker = current != nullptr ? markers_->markerOf(*current) : nullptr;
    if (marker == nullptr) return;
    const int cubeIndex = marker->getID() / 1000;
    if (cubeIndex < 0 || cubeIndex >= GalaxyWindow::kCubeCount) return;
    const GalaxyCube& cube = window_->cube(cubeIndex);
    const int start = marker->getID() % 1000;
    const int found = nextQualifyingIndex(static_cast<int>(cube.stars.size()), start, step, [&](int index) {
        const StarRecord* candidate = cube.stars[static_cast<std::size_t>(index)];
        const irr::scene::ISceneNode* node = markers_->markerOf(*candidate);
        return candidate->systemready && node != nullptr && node->isVisible();
    });
    StarRecord* chosen = cube.stars[static_cast<std::size_t>(found)];
    if (chosen == current || markers_->markerOf(*chosen) == nullptr) return;
    currentStar_ = chosen->id;
    moveCentreTo(markers_->markerOf(*chosen)->getPosition());
}

void Application::drawProgress(const std::string& text) {
    driver_->draw2DRectangle(irr::video::SColor(0xff000000), rect<s32>(0, 0, 200, 50));
    font_->draw(widen(text).c_str(), rect<s32>(10, 5, 100, 40), irr::video::SColor(255, 255, 255, 255));
}

void Application::saveCurrentSystem(bool toCache) {
    StarRecord* star = currentStar();
    if (star == nullptr) return;
    SaveHooks hooks;
    bool sceneEnded = false;
    hooks.status = [this, &sceneEnded](const std::string& text) {
        drawProgress(text);
        driver_->endScene();
        sceneEnded = true;
    };
    hooks.progress = [this](int done, int total, int level, double fraction) {
        driver_->beginScene(true, true, irr::video::SColor(0));
        drawProgress(progressText(done, total, level, fraction));
        driver_->endScene();
    };
    std::vector<std::string> leftAlone;
    hooks.notice = [&leftAlone](const std::string& text) { leftAlone.push_back(text); };
    const SaveResult result =
        toCache ? saveToCache(".", *star, config_, &plugin_, hooks, catalogue_.systemRandom)
                : saveToFolder(".", *star, config_, &plugin_, hooks, catalogue_.systemRandom);
    // The frame goes on after the export's own frames.
    if (sceneEnded) driver_->beginScene(true, true, irr::video::SColor(255, 0, 0, 0));
    const std::string name = star->system ? star->system->name : star->physical->name;
    systemMessage_ = saveResultText(result, name);
    if (result.outcome == SaveOutcome::saved && !plugin_.loaded())
        systemMessage_ += " (no texture plug-in: no textures)";
    if (!leftAlone.empty())
        systemMessage_ += " " + leftAlone.front() +
                          (leftAlone.size() > 1 ? " (and " + std::to_string(leftAlone.size() - 1) + " more)" : "");
}

void Application::drawSystemPictogram(const StarRecord& star) {
    if (thumbnails_ == nullptr || !star.system || !star.physical) return;
    const GeneratedSystem& system = *star.system;
    const int w = W - 200;
    int top, bottom;
    if (receiver_.mousey >= H / 2) {
        top = 0;
        bottom = static_cast<int>(std::trunc(0.24 * w));
    } else {
        top = static_cast<int>(std::trunc(H - 0.24 * w));
        bottom = H;
    }
    driver_->draw2DRectangle(irr::video::SColor(0xc8000000), rect<s32>(0, top, w, bottom));
    const auto sprite = starSprite(*star.physical);
    const auto target = starTarget(*star.physical, top);
    if (sprite && target)
        driver_->draw2DImage(thumbnails_, sheetRect(*target), sheetRect(*sprite), nullptr, nullptr, true);
    const int count = system.planetcount;
    if (count <= 0) return;
    const int slotWidth = w / (count + 1);
    const int size = std::min(slotWidth - 10, 80);
    const int moonStep = size / 3;
    const double largest = largestPlanetRadius(system);
    for (int p = 0; p < count; ++p) {
        const PlanetSlot& slot = system.planets[static_cast<std::size_t>(p)];
        const int x = (p + 1) * slotWidth;
        int height = 0;
        for (std::size_t j = 0; j < slot.bodies.size(); ++j) {
            const PlanetRecord& body = slot.bodies[j];
            const auto source = pictogramBody(body.type);
            const int edge = bodyEdge(body, size, largest);
            const int centreY = j == 0 ? top + size / 2 : top + size / 2 + height / 2 + static_cast<int>(j) * moonStep;
            if (j == 0) height = edge;
            if (!source || edge <= 0) continue;
            driver_->draw2DImage(thumbnails_, rect<s32>(x - edge / 2, centreY - edge / 2, x + edge / 2, centreY + edge / 2),
                                 sheetRect(*source), nullptr, nullptr, true);
        }
    }
}
