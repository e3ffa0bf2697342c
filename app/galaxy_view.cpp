// The galaxy view: the 3D star map around the centre point, with the orbit camera, movement
// and cube crossing, hover and picking, the class filter, the display switches, name search
// and the route lines.

#include <algorithm>
#include <cctype>
#include <cmath>

#include "app/application.h"
#include "galaxy/class_filter.h"

namespace {

constexpr float kSpeed = 5.0f;  // units (parsecs) per second
constexpr int kMostResults = 1000;

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

irr::scene::ISceneNode* Application::pick(int x, int y) const {
    // The centre point, the grid and the hover disc are marked as helper objects: they sit on
    // or around the centred star and would hide it from the pick.
    irr::scene::ISceneNode* node = scene_->getSceneCollisionManager()->getSceneNodeFromScreenCoordinatesBB(
        irr::core::position2d<irr::s32>(x, y), 0, true);
    if (node != nullptr && node->getID() > 100000) node = scene_->getSceneNodeFromId(node->getID() - 100000);
    return node;
}

StarRecord* Application::starOfNode(const irr::scene::ISceneNode* node) const {
    if (node == nullptr || node->getID() < 0 || !window_->built()) return nullptr;
    const int cubeIndex = node->getID() / 1000;
    const int index = node->getID() % 1000;
    if (cubeIndex < 0 || cubeIndex >= GalaxyWindow::kCubeCount) return nullptr;
    const GalaxyCube& cube = window_->cube(cubeIndex);
    if (index >= static_cast<int>(cube.stars.size())) return nullptr;
    return cube.stars[static_cast<std::size_t>(index)];
}

void Application::panelShowAndHide() {
    irr::gui::IGUIElement* filter = controls_.filterpanel;
    if (receiver_.mousex > W - 20 && receiver_.mousey < H - 65 && !filter->isVisible()) {
        gui_->setFocus(filter);
        filter->setVisible(true);
    } else if ((receiver_.mousex < W - 220 || receiver_.mousey > H - 65) && filter->isVisible()) {
        gui_->setFocus(filter);
        filter->setVisible(false);
    }
    irr::gui::IGUIElement* routes = controls_.routepanel;
    if (receiver_.mousex < 20 && !routes->isVisible() && config_.routes == 1) {
        gui_->setFocus(routes);
        routes->setVisible(true);
    } else if (receiver_.mousex > 220 && routes->isVisible()) {
        gui_->setFocus(routes);
        routes->setVisible(false);
    }
}

void Application::applyFilter() {
    const auto classChoice = static_cast<ClassChoice>(std::max(0, controls_.classlist->getSelected()));
    const auto luminosityChoice = static_cast<LuminosityChoice>(std::max(0, controls_.luminositylist->getSelected()));
    // "show only connected systems": the stars one jump away, and the route itself.
    const bool connectedOnly = config_.routes == 1 && controls_.connectedonly->isChecked();
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) {
        const GalaxyCube& cube = window_->cube(node);
        const CubeShown shownParts = markers_->shown(cube);
        if (!shownParts.markers) continue;
        for (const StarRecord* star : cube.stars) {
            const bool shown = passesClassFilter(*star->physical, classChoice, luminosityChoice) &&
                               (!connectedOnly || star->connected || route_.onRoute(star->id));
            const StarNodes nodes = markers_->nodesOf(star->id);
            if (nodes.marker != nullptr) nodes.marker->setVisible(shown);
            if (shownParts.labels && nodes.label != nullptr) nodes.label->setVisible(shown);
            if (shownParts.stalks && nodes.stalk != nullptr) nodes.stalk->setVisible(shown);
        }
    }
}

void Application::toggleStalks() {
    const GalaxyCube& centre = window_->centreCube();
    if (markers_->shown(centre).stalks)
        markers_->removeStalks(centre);
    else
        markers_->createStalks(centre);
    markers_->switches.stalks = !markers_->switches.stalks;
    applyFilter();
}

void Application::toggleLabels() {
    const GalaxyCube& centre = window_->centreCube();
    if (markers_->shown(centre).labels)
        markers_->removeLabels(centre);
    else
        markers_->createLabels(centre);
    markers_->switches.labels = !markers_->switches.labels;
    applyFilter();
}

void Application::toggleSurroundings() {
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) {
        if (node == GalaxyWindow::kCentreNode) continue;
        const GalaxyCube& cube = window_->cube(node);
        if (markers_->switches.surroundings)
            markers_->removeNodes(cube);
        else if (!markers_->shown(cube).markers)
            markers_->createMarkers(cube, node % 3 - 1, (node / 3) % 3 - 1, node / 9 - 1);
    }
    markers_->switches.surroundings = !markers_->switches.surroundings;
    applyFilter();
    refreshRouteMarks();
}

void Application::refreshRouteMarks() {
    if (config_.routes != 1) return;
    if (const StarRecord* last = route_.lastWaypoint()) {
        route_.markConnected(*window_, *last);
        for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) markers_->colourStalks(window_->cube(node));
    }
    if (controls_.connectedonly != nullptr && controls_.connectedonly->isChecked()) applyFilter();
}

void Application::showRouteList() {
    // Filling the list leaves none of its entries selected.
    showRows(controls_.waypointlist, route_.rows(), -1);
}

void Application::moveCentreTo(const irr::core::vector3df& position) {
    centre_->setPosition(position);
    centre_->updateAbsolutePosition();
    camera_.zoom(cameraNode_, receiver_.wheel);
}

void Application::rebuildWindowAt(int x, int y, int z) {
    window_->rebuild(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
    markers_->showRebuilt(*window_);
    applyFilter();
    refreshRouteMarks();
}

void Application::galaxyCommands() {
    if (receiver_.buttonclicked) {
        receiver_.buttonclicked = 0;
        switch (receiver_.callerid) {
        case kMapButton: pendingRequest_ = 1; break;
        case kSystemButton: pendingRequest_ = 2; break;
        case kAddWaypoint: {
            const StarRecord* star = starOfNode(pick(W / 2, H / 2));
            irr::scene::ISceneNode* marker = star != nullptr ? markers_->markerOf(*star) : nullptr;
            const std::size_t before = route_.waypoints().size();
            if (marker != nullptr && marker->getID() > 0) route_.addConnectedWaypoint(*star);
            if (route_.waypoints().size() != before) showRouteList();
            refreshRouteMarks();
            break;
        }
        case kRemoveWaypoint:
            if (route_.waypoints().size() > 1) {
                route_.removeWaypoint();
                showRouteList();
            }
            refreshRouteMarks();
            break;
        case kFindRoute: {
            // The target is the star at the centre of the view.
            irr::scene::ISceneNode* node = pick(W / 2, H / 2);
            const StarRecord* target = node != nullptr && node->getID() > 0 ? starOfNode(node) : nullptr;
            const StarRecord* last = route_.lastWaypoint();
            if (target != nullptr && last != nullptr && target->id != last->id && route_.findRoute(*target, *window_))
                showRouteList();
            refreshRouteMarks();
            break;
        }
        default: break;
        }
    }
    if (receiver_.checkboxchanged) {
        receiver_.checkboxchanged = 0;
        if (receiver_.callerid == kStalksBox) toggleStalks();
        if (receiver_.callerid == kLabelsBox) toggleLabels();
        if (receiver_.callerid == kSurroundingsBox) toggleSurroundings();
        if (receiver_.callerid == kConnectedOnlyBox) {
            refreshRouteMarks();
            applyFilter();
        }
    }
    if (receiver_.listboxchanged) {
        receiver_.listboxchanged = 0;
        if (receiver_.callerid == kClassList || receiver_.callerid == kLuminosityList) {
            applyFilter();
            refreshRouteMarks();
        }
        if (receiver_.callerid == kSearchResults && doubleClickConfirmed()) activateSearchResult();
        if (receiver_.callerid == kWaypointList && doubleClickConfirmed()) activateWaypoint();
    }
}

void Application::activateSearchResult() {
    const int selected = controls_.searchresults->getSelected();
    if (selected < 0 || selected >= static_cast<int>(results_.size())) return;
    const SearchResult result = results_[static_cast<std::size_t>(selected)];
    if (!result.inWindow)
        if (const StarRecord* star = window_->find(result.star)) rebuildWindowAt(star->cube.x, star->cube.y, star->cube.z);
    moveCentreTo(result.position);
}

void Application::activateWaypoint() {
    const int selected = controls_.waypointlist->getSelected();
    if (selected < 0 || selected >= static_cast<int>(route_.waypoints().size())) return;
    const StarRecord& star = route_.waypoints()[static_cast<std::size_t>(selected)];
    if (irr::scene::ISceneNode* marker = markers_->markerOf(star)) {
        moveCentreTo(marker->getPosition());
        return;
    }
    const irr::core::vector3df position(star.offset[0], star.offset[1], star.offset[2]);
    rebuildWindowAt(star.cube.x, star.cube.y, star.cube.z);
    moveCentreTo(position);
}

void Application::runSearch() {
    const wchar_t* text = controls_.searchbox->getText();
    const std::wstring current = text != nullptr ? text : L"";
    if (current == searchSeen_) return;
    searchSeen_ = current;
    results_.clear();
    controls_.searchresults->clear();
    if (current.empty()) return;
    const std::string needle = lowerCase(narrow(current.c_str()));

    for (int node = 0; node < GalaxyWindow::kCubeCount && static_cast<int>(results_.size()) < kMostResults; ++node) {
        for (const StarRecord* star : window_->cube(node).stars) {
            if (star->id.isCatalogue()) continue;  // catalogue stars are found below
            if (lowerCase(star->physical->name).find(needle) == std::string::npos) continue;
            SearchResult result;
            result.name = star->physical->name;
            result.star = star->id;
            result.inWindow = true;
            if (irr::scene::ISceneNode* marker = markers_->markerOf(*star)) result.position = marker->getAbsolutePosition();
            else
                result.position = irr::core::vector3df(star->offset[0] + 10.0f * static_cast<float>(node % 3 - 1),
                                                       star->offset[1] + 10.0f * static_cast<float>(node / 9 - 1),
                                                       star->offset[2] + 10.0f * static_cast<float>((node / 3) % 3 - 1));
            results_.push_back(result);
            if (static_cast<int>(results_.size()) >= kMostResults) break;
        }
    }
    for (const auto& star : catalogue_.stars) {
        if (static_cast<int>(results_.size()) >= kMostResults) break;
        if (lowerCase(star->physical->name).find(needle) == std::string::npos) continue;
        SearchResult result;
        result.name = star->physical->name;
        result.star = star->id;
        result.position = irr::core::vector3df(star->offset[0], star->offset[1], star->offset[2]);
        results_.push_back(result);
    }
    for (const SearchResult& result : results_) controls_.searchresults->addItem(widen(result.name).c_str());
}

void Application::crossCubes() {
    irr::core::vector3df position = centre_->getPosition();
    int direction = 0;
    if (position.X > 5.0f) {
        direction = 1;
        position.X -= 10.0f;
    } else if (position.X < -5.0f) {
        direction = 2;
        position.X += 10.0f;
    } else if (position.Z > 5.0f) {
        direction = 3;
        position.Z -= 10.0f;
    } else if (position.Z < -5.0f) {
        direction = 4;
        position.Z += 10.0f;
    } else if (position.Y > 5.0f) {
        direction = 5;
        position.Y -= 10.0f;
    } else if (position.Y < -5.0f) {
        direction = 6;
        position.Y += 10.0f;
    }
    if (direction == 0) return;
    crossedThisFrame_ = true;
    window_->move(direction);
    markers_->followMove(*window_);
    centre_->setPosition(position);
    centre_->updateAbsolutePosition();
    // The camera hangs below the centre point: bring its own position up to date first, or the
    // target turns it as seen from where it was.
    cameraNode_->updateAbsolutePosition();
    cameraNode_->setTarget(centre_->getAbsolutePosition());
    if (controls_.classlist->getSelected() > 0 || controls_.luminositylist->getSelected() > 0) applyFilter();
    refreshRouteMarks();
}

void Application::drawRouteLines() {
    irr::video::SMaterial material;
    material.Thickness = 2.0f;
    material.Lighting = false;
    material.EmissiveColor = irr::video::SColor(0xff609fe8);
    driver_->setMaterial(material);
    driver_->setTransform(irr::video::ETS_WORLD, irr::core::IdentityMatrix);
    const std::array<float, 3>& centre = window_->centre();
    auto place = [&](const StarRecord& star) {
        return irr::core::vector3df((static_cast<float>(star.cube.x) - centre[0]) * 10.0f + star.offset[0],
                                    (static_cast<float>(star.cube.z) - centre[2]) * 10.0f + star.offset[1],
                                    (static_cast<float>(star.cube.y) - centre[1]) * 10.0f + star.offset[2]);
    };
    const std::vector<StarRecord>& waypoints = route_.waypoints();
    for (std::size_t i = 1; i < waypoints.size(); ++i)
        driver_->draw3DLine(place(waypoints[i - 1]), place(waypoints[i]), irr::video::SColor(0xffffffff));
}

void Application::galaxyViewFrame(float dt) {
    const ViewMode viewBefore = view_;
    if (viewEntry_) {
        viewEntry_ = false;
        if (pendingRequest_ != 2) pendingRequest_ = 0;
    }
    hovered_ = cornerHover_ ? nullptr : pick(receiver_.mousex, receiver_.mousey);

    panelShowAndHide();
    galaxyCommands();

    if (receiver_.mouse[2] == PRESSED) camera_.update(cameraNode_, receiver_.mousex, receiver_.mousey, true);
    if (receiver_.mouse[2] == PRESSED || receiver_.mouse[2] == DOWN)
        camera_.update(cameraNode_, receiver_.mousex, receiver_.mousey, false);
    if (receiver_.wheel != 0.0f && !controls_.filterpanel->isVisible()) camera_.zoom(cameraNode_, receiver_.wheel);

    const bool panelsHidden = !controls_.filterpanel->isVisible() && !controls_.routepanel->isVisible();
    if (receiver_.mouse[0] == RELEASED && panelsHidden && !cornerHover_ && hovered_ != nullptr &&
        hovered_->getID() >= 0) {
        moveCentreTo(hovered_->getPosition());
        if (doubleClick_.activate()) {
            if (StarRecord* star = starOfNode(hovered_)) {
                currentStar_ = star->id;
                view_ = kSystemView;
                viewEntry_ = true;
            }
        }
    }

    if (pendingRequest_ == 2 && view_ == kGalaxyView) {
        irr::scene::ISceneNode* node = pick(W / 2, H / 2);
        StarRecord* star = node != nullptr && node->getID() > 0 ? starOfNode(node) : nullptr;
        if (star != nullptr) {
            currentStar_ = star->id;
            view_ = kSystemView;
            viewEntry_ = true;
        } else {
            pendingRequest_ = 0;
        }
    } else if (pendingRequest_ == 1 && view_ == kGalaxyView) {
        controls_.filterpanel->setVisible(false);
        view_ = kMapView;
        viewEntry_ = true;
    }

    float forward = 0.0f, sideways = 0.0f, vertical = 0.0f;
    if (panelsHidden) {
        const float step = kSpeed * dt;
        if (receiver_.keyDown(irr::KEY_KEY_W)) {
            if (receiver_.shift) vertical += step;
            else forward += step;
        } else if (receiver_.keyDown(irr::KEY_KEY_S) && !receiver_.control) {
            if (receiver_.shift) vertical -= step;
            else forward -= step;
        }
        if (receiver_.keyDown(irr::KEY_KEY_A)) sideways -= step;
        else if (receiver_.keyDown(irr::KEY_KEY_D)) sideways += step;
        else if (receiver_.keyPressed(irr::KEY_KEY_S) && receiver_.control) {
            toggleStalks();
            controls_.stalksbox->setChecked(!controls_.stalksbox->isChecked());
        } else if (receiver_.keyDown(irr::KEY_KEY_Q)) {
            camera_.zoom(cameraNode_, -50.0f * dt);
        } else if (receiver_.keyDown(irr::KEY_KEY_E)) {
            camera_.zoom(cameraNode_, 50.0f * dt);
        } else if (receiver_.keyPressed(irr::KEY_KEY_L) && receiver_.control) {
            toggleLabels();
            controls_.labelsbox->setChecked(!controls_.labelsbox->isChecked());
        } else if (receiver_.keyPressed(irr::KEY_KEY_C) && receiver_.control) {
            toggleSurroundings();
            controls_.surroundingsbox->setChecked(!controls_.surroundingsbox->isChecked());
        } else if (receiver_.keyPressed(irr::KEY_KEY_M) && receiver_.control) {
            pendingRequest_ = 1;
        }
    }

    // Moving: the horizontal step turns with the camera about the vertical axis.
    irr::core::vector3df step(sideways, 0.0f, forward);
    irr::core::matrix4 turn;
    turn.setRotationDegrees(irr::core::vector3df(0.0f, 360.0f - cameraNode_->getRotation().Y, 0.0f));
    turn.rotateVect(step);
    irr::core::vector3df position = centre_->getPosition();
    position.X += step.X;
    position.Z += step.Z;
    position.Y += vertical;
    centre_->setPosition(position);
    centre_->updateAbsolutePosition();
    // The camera hangs below the centre point: bring its own position up to date first, or the
    // target turns it as seen from where it was.
    cameraNode_->updateAbsolutePosition();
    cameraNode_->setTarget(centre_->getAbsolutePosition());

    const std::array<float, 3> cubeBefore = window_->centre();
    crossCubes();

    scene_->drawAll();

    const std::array<float, 3>& cubeNow = window_->centre();
    const bool cubeChanged = std::fabs(cubeNow[0] - cubeBefore[0]) > 1e-6f ||
                             std::fabs(cubeNow[1] - cubeBefore[1]) > 1e-6f ||
                             std::fabs(cubeNow[2] - cubeBefore[2]) > 1e-6f;
    const bool panelsHiddenNow = !controls_.filterpanel->isVisible() && !controls_.routepanel->isVisible();
    if (!cubeChanged) {
        if (hovered_ != nullptr && panelsHiddenNow) {
            StarRecord* star = hovered_->getID() > 0 ? starOfNode(hovered_) : nullptr;
            if (star != nullptr) {
                font_->draw(widen(star->physical->name).c_str(),
                            irr::core::rect<irr::s32>(receiver_.mousex + 10, receiver_.mousey, receiver_.mousex + 100,
                                                      receiver_.mousey + 15),
                            irr::video::SColor(255, 255, 255, 255));
                if (star->systemready) drawSystemPictogram(*star);
                // The star's place in its cube, shifted with the cube it lies in.
                hoverDisc_->setPosition(hovered_->getPosition());
                hoverDisc_->setRotation(irr::core::vector3df(star->ecliptic[0], star->ecliptic[1], 0.0f));
                hoverDisc_->setVisible(true);
            } else if (hovered_->getID() <= 0) {
                hoverDisc_->setVisible(false);
            }
        }
    } else {
        controls_.searchbox->setText(L"");
    }

    const std::wstring cubeText = std::to_wstring(static_cast<int>(cubeNow[0])) + L"/" +
                                  std::to_wstring(static_cast<int>(cubeNow[1])) + L"/" +
                                  std::to_wstring(static_cast<int>(cubeNow[2]));
    font_->draw(cubeText.c_str(), irr::core::rect<irr::s32>(100, 100, 400, 140), irr::video::SColor(255, 255, 255, 255));

    drawRouteLines();

    if (controls_.filterpanel->isVisible()) {
        runSearch();
        driver_->draw2DRectangle(irr::video::SColor(0xc804054c), irr::core::rect<irr::s32>(W - 200, 0, W, H - 65));
    } else {
        driver_->draw2DRectangle(irr::video::SColor(0xc82b2c83),
                                 irr::core::rect<irr::s32>(W - 20, (H - 60) / 2 - 200, W, (H - 60) / 2 + 200));
    }
    if (controls_.routepanel->isVisible())
        driver_->draw2DRectangle(irr::video::SColor(0xc804054c), irr::core::rect<irr::s32>(0, 0, 200, H));
    if (view_ != viewBefore) controls_.filterpanel->setVisible(false);
}
