#include "app/galaxy_view.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

#include "app/atlas_actions.h"
#include "app/system_pictogram.h"

namespace {

constexpr float kSpeed = 5.0f;  // units (parsecs) per second

// The direction in which the centre point left the centre cube (0: it did not; 1/2 +x/-x,
// 3/4 +z/-z, 5/6 +y/-y in scene axes).
int crossingDirection(const irr::core::vector3df& position) {
    if (position.X > 5.0f) return 1;
    if (position.X < -5.0f) return 2;
    if (position.Z > 5.0f) return 3;
    if (position.Z < -5.0f) return 4;
    if (position.Y > 5.0f) return 5;
    if (position.Y < -5.0f) return 6;
    return 0;
}

// The centre point's position in the cube it crossed into.
void shiftByCube(irr::core::vector3df& position, int direction) {
    switch (direction) {
    case 1: position.X -= 10.0f; break;
    case 2: position.X += 10.0f; break;
    case 3: position.Z -= 10.0f; break;
    case 4: position.Z += 10.0f; break;
    case 5: position.Y -= 10.0f; break;
    case 6: position.Y += 10.0f; break;
    default: break;
    }
}

// Whether the user did something this frame that may change the window, the route or the
// catalogue: a control was used or a mouse button went down or up.
bool commandArrived(const InputEventReceiver& input) {
    if (input.buttonclicked || input.listboxchanged || input.checkboxchanged) return true;
    for (ButtonState state : input.mouse)
        if (state == PRESSED || state == RELEASED) return true;
    return false;
}

}  // namespace

void GalaxyView::createHoverDisc() {
    hoverDisc_ = atlas_.scene->addSphereSceneNode(0.15f, 16, nullptr, -1);
    hoverDisc_->setScale(irr::core::vector3df(1.0f, 0.001f, 1.0f));
    hoverDisc_->setMaterialFlag(irr::video::EMF_LIGHTING, true);
    hoverDisc_->getMaterial(0).EmissiveColor = irr::video::SColor(0xc800ffff);
    hoverDisc_->setVisible(false);
    hoverDisc_->setIsDebugObject(true);
}

void GalaxyView::enter(ViewMode asked) { request_ = asked == kCentreSystem ? kSystemView : kGalaxyView; }

void GalaxyView::leave() {
    settleMove();
    hovered_.reset();
    hoverDisc_->setVisible(false);
    atlas_.controls.filterpanel->setVisible(false);
}

ViewMode GalaxyView::frame(float dt) {
    const InputEventReceiver& input = atlas_.receiver;
    const std::array<float, 3> cubeBefore = atlas_.window->centre();
    if (commandArrived(input)) settleMove();
    hovered_ = pointed();
    panelShowAndHide();
    buttonCommands();
    checkBoxCommands();
    listCommands();
    turnCamera();

    const bool hidden = panelsHidden();
    ViewMode next = hidden ? clickOnStar() : kGalaxyView;
    if (next == kGalaxyView) next = answerRequest();
    moveCentreBy(hidden ? movementKeys(dt) : Movement{});

    crossCubes();
    hovered_ = pointed();  // after this frame's jumps, moves and filter changes
    placeHoverDisc();
    atlas_.scene->drawAll();
    drawOverlays(cubeBefore);
    return next;
}

std::optional<StarId> GalaxyView::pick(int x, int y) const {
    const irr::core::line3df ray =
        atlas_.scene->getSceneCollisionManager()->getRayFromScreenCoordinates(irr::core::position2di(x, y));
    return atlas_.markers->pick(ray);
}

// The star under the pointer, unless the pointer is over the view buttons.
std::optional<StarId> GalaxyView::pointed() const {
    if (atlas_.overCornerButtons()) return std::nullopt;
    return pick(atlas_.receiver.mousex, atlas_.receiver.mousey);
}

StarRecord* GalaxyView::starAtCentre() const {
    const std::optional<StarId> star = pick(atlas_.W / 2, atlas_.H / 2);
    return star && atlas_.window->built() ? atlas_.window->find(*star) : nullptr;
}

bool GalaxyView::panelsHidden() const {
    return !atlas_.controls.filterpanel->isVisible() && !atlas_.controls.routepanel->isVisible();
}

void GalaxyView::turnCamera() {
    const InputEventReceiver& input = atlas_.receiver;
    if (input.mouse[2] == PRESSED) atlas_.camera.update(atlas_.cameraNode, input.mousex, input.mousey, true);
    if (input.mouse[2] == PRESSED || input.mouse[2] == DOWN)
        atlas_.camera.update(atlas_.cameraNode, input.mousex, input.mousey, false);
    if (input.wheel != 0.0f && !atlas_.controls.filterpanel->isVisible())
        atlas_.camera.zoom(atlas_.cameraNode, input.wheel);
}

// A click on a star centres it; a double click opens its system. The first click has moved the
// star to the centre, so the second lands elsewhere, maybe on no star: the star opened is the
// first click's.
ViewMode GalaxyView::clickOnStar() {
    if (!atlas_.doubleClick.armed()) firstClick_.reset();
    if (atlas_.receiver.mouse[0] != RELEASED || atlas_.overCornerButtons()) return kGalaxyView;
    // The second click of a double click lands where the first did, though the first click has
    // moved its star to the centre since; it opens the first click's star.
    const irr::core::position2di at(atlas_.receiver.mousex, atlas_.receiver.mousey);
    const bool inPlace = std::abs(at.X - firstClickAt_.X) <= 4 && std::abs(at.Y - firstClickAt_.Y) <= 4;
    if (firstClick_ && inPlace && atlas_.doubleClick.activate()) return openStar(*std::exchange(firstClick_, std::nullopt));
    const std::optional<irr::core::vector3df> place =
        hovered_ ? atlas_.markers->positionOf(*hovered_) : std::nullopt;
    if (!place) return kGalaxyView;
    moveCentreTo(atlas_, *place);
    if (firstClick_)
        atlas_.doubleClick.restart();  // a click elsewhere begins a double click of its own
    else if (atlas_.doubleClick.activate())
        return openStar(*hovered_);  // armed by another control
    firstClick_ = hovered_;
    firstClickAt_ = at;
    return kGalaxyView;
}

ViewMode GalaxyView::openStar(const StarId& id) {
    StarRecord* star = atlas_.window->find(id);
    if (star == nullptr) return kGalaxyView;
    atlas_.currentStar = star->id;
    return kSystemView;
}

// The system view opens on the star at the centre, if there is one; the map view always.
ViewMode GalaxyView::answerRequest() {
    if (request_ == kSystemView) {
        if (StarRecord* star = starAtCentre()) {
            atlas_.currentStar = star->id;
            return kSystemView;
        }
        request_ = kGalaxyView;
    } else if (request_ == kMapView) {
        atlas_.controls.filterpanel->setVisible(false);
        return kMapView;
    }
    return kGalaxyView;
}

GalaxyView::Movement GalaxyView::movementKeys(float dt) {
    const InputEventReceiver& input = atlas_.receiver;
    const float step = kSpeed * dt;
    Movement movement;
    if (input.keyDown(irr::KEY_KEY_W)) {
        (input.shift ? movement.vertical : movement.forward) += step;
    } else if (input.keyDown(irr::KEY_KEY_S) && !input.control) {
        (input.shift ? movement.vertical : movement.forward) -= step;
    }
    if (input.keyDown(irr::KEY_KEY_A)) movement.sideways -= step;
    else if (input.keyDown(irr::KEY_KEY_D)) movement.sideways += step;
    else switchKeys(dt);
    return movement;
}

// The keys besides movement: zoom, the display switches and the map; one a frame.
void GalaxyView::switchKeys(float dt) {
    const InputEventReceiver& input = atlas_.receiver;
    GuiControls& controls = atlas_.controls;
    if (input.keyPressed(irr::KEY_KEY_S) && input.control) {
        toggleStalks();
        controls.stalksbox->setChecked(!controls.stalksbox->isChecked());
    } else if (input.keyDown(irr::KEY_KEY_Q)) {
        atlas_.camera.zoom(atlas_.cameraNode, -50.0f * dt);
    } else if (input.keyDown(irr::KEY_KEY_E)) {
        atlas_.camera.zoom(atlas_.cameraNode, 50.0f * dt);
    } else if (input.keyPressed(irr::KEY_KEY_L) && input.control) {
        toggleLabels();
        controls.labelsbox->setChecked(!controls.labelsbox->isChecked());
    } else if (input.keyPressed(irr::KEY_KEY_C) && input.control) {
        toggleSurroundings();
        controls.surroundingsbox->setChecked(!controls.surroundingsbox->isChecked());
    } else if (input.keyPressed(irr::KEY_KEY_M) && input.control) {
        request_ = kMapView;
    }
}

void GalaxyView::moveCentreBy(const Movement& movement) {
    // The horizontal step turns with the camera about the vertical axis.
    irr::core::vector3df step(movement.sideways, 0.0f, movement.forward);
    irr::core::matrix4 turn;
    turn.setRotationDegrees(irr::core::vector3df(0.0f, 360.0f - atlas_.cameraNode->getRotation().Y, 0.0f));
    turn.rotateVect(step);
    irr::core::vector3df position = atlas_.centre->getPosition();
    position.X += step.X;
    position.Z += step.Z;
    position.Y += movement.vertical;
    atlas_.centre->setPosition(position);
    atlas_.centre->updateAbsolutePosition();
    // The camera hangs below the centre point: bring its own position up to date first, or the
    // target turns it as seen from where it was.
    atlas_.cameraNode->updateAbsolutePosition();
    atlas_.cameraNode->setTarget(atlas_.centre->getAbsolutePosition());
}

// A crossing begins a move of the window on a worker thread; the frames go on with the old
// window until the move is done, and the frame that finds it done takes it over.
void GalaxyView::crossCubes() {
    GalaxyWindow& window = *atlas_.window;
    if (window.moving()) {
        if (window.finishMoveIfReady()) takeOverMove();
        return;
    }
    const int direction = crossingDirection(atlas_.centre->getPosition());
    if (direction != 0 && window.beginMove(direction)) movingDirection_ = direction;
}

// Waits for a move still on its way and shows it, before anything reads or changes the
// window, the route or the catalogue.
void GalaxyView::settleMove() {
    if (atlas_.window->moving() && atlas_.window->settle()) takeOverMove();
}

// The window has moved one cube: the markers follow under the filter they had, and the centre
// point and the camera go back by one cube so that the view does not jump.
void GalaxyView::takeOverMove() {
    atlas_.stats.crossedThisFrame = true;
    atlas_.markers->followMove(*atlas_.window);
    irr::core::vector3df position = atlas_.centre->getPosition();
    shiftByCube(position, movingDirection_);
    atlas_.centre->setPosition(position);
    atlas_.centre->updateAbsolutePosition();
    // As in moveCentreBy: the camera's own position first, then its target.
    atlas_.cameraNode->updateAbsolutePosition();
    atlas_.cameraNode->setTarget(atlas_.centre->getAbsolutePosition());
    refreshRouteMarks(atlas_);
}

// The filter panel opens at the right edge and closes when the pointer leaves it.
void GalaxyView::panelShowAndHide() {
    const InputEventReceiver& input = atlas_.receiver;
    const int W = atlas_.W;
    const int H = atlas_.H;
    irr::gui::IGUIElement* filter = atlas_.controls.filterpanel;
    if (input.mousex > W - 20 && input.mousey < H - 65 && !filter->isVisible()) {
        atlas_.gui->setFocus(filter);
        filter->setVisible(true);
    } else if ((input.mousex < W - 220 || input.mousey > H - 65) && filter->isVisible()) {
        atlas_.gui->setFocus(filter);
        filter->setVisible(false);
    }
    routes_.showAndHide();
}

void GalaxyView::buttonCommands() {
    InputEventReceiver& input = atlas_.receiver;
    if (!input.buttonclicked) return;
    input.buttonclicked = 0;
    switch (input.callerid) {
    case kMapButton: request_ = kMapView; break;
    case kSystemButton: request_ = kSystemView; break;
    case kAddWaypoint: routes_.addWaypoint(starAtCentre()); break;
    case kRemoveWaypoint: routes_.removeWaypoint(); break;
    case kFindRoute: routes_.findRoute(starAtCentre()); break;
    default: break;
    }
}

void GalaxyView::checkBoxCommands() {
    InputEventReceiver& input = atlas_.receiver;
    if (!input.checkboxchanged) return;
    input.checkboxchanged = 0;
    if (input.callerid == kStalksBox) toggleStalks();
    if (input.callerid == kLabelsBox) toggleLabels();
    if (input.callerid == kSurroundingsBox) toggleSurroundings();
    if (input.callerid == kConnectedOnlyBox) {
        refreshRouteMarks(atlas_);
        applyFilter(atlas_);
    }
}

void GalaxyView::listCommands() {
    InputEventReceiver& input = atlas_.receiver;
    if (!input.listboxchanged) return;
    input.listboxchanged = 0;
    if (input.callerid == kClassList || input.callerid == kLuminosityList) {
        applyFilter(atlas_);
        refreshRouteMarks(atlas_);
    }
    if (input.callerid == kSearchResults && atlas_.doubleClick.activate()) search_.activateSelected();
    if (input.callerid == kWaypointList && atlas_.doubleClick.activate()) routes_.activateSelected();
}

void GalaxyView::toggleStalks() { atlas_.markers->setStalks(!atlas_.markers->switches().stalks); }

void GalaxyView::toggleLabels() { atlas_.markers->setLabels(!atlas_.markers->switches().labels); }

void GalaxyView::toggleSurroundings() {
    atlas_.markers->setSurroundings(!atlas_.markers->switches().surroundings);
    refreshRouteMarks(atlas_);
}

void GalaxyView::drawOverlays(const std::array<float, 3>& cubeBefore) {
    const std::array<float, 3>& cubeNow = atlas_.window->centre();
    const bool cubeChanged = std::fabs(cubeNow[0] - cubeBefore[0]) > 1e-6f ||
                             std::fabs(cubeNow[1] - cubeBefore[1]) > 1e-6f ||
                             std::fabs(cubeNow[2] - cubeBefore[2]) > 1e-6f;
    atlas_.markers->drawLabels(*atlas_.scene->getSceneCollisionManager(), atlas_.driver->getScreenSize());
    if (cubeChanged) atlas_.controls.searchbox->setText(L"");
    else if (hovered_ && panelsHidden()) drawHover();

    const std::wstring cubeText = std::to_wstring(static_cast<int>(cubeNow[0])) + L"/" +
                                  std::to_wstring(static_cast<int>(cubeNow[1])) + L"/" +
                                  std::to_wstring(static_cast<int>(cubeNow[2]));
    atlas_.font->draw(cubeText.c_str(), irr::core::rect<irr::s32>(100, 100, 400, 140),
                      irr::video::SColor(255, 255, 255, 255));
    drawRouteLines();
    drawPanels();
}

// The disc of the hovered star's plane, shown only while a shown star is hovered with the
// panels shut: a jump, a move or the filter may have taken the star away.
void GalaxyView::placeHoverDisc() {
    const StarRecord* star = hovered_ && panelsHidden() ? atlas_.window->find(*hovered_) : nullptr;
    const std::optional<irr::core::vector3df> place =
        star != nullptr ? atlas_.markers->positionOf(star->id) : std::nullopt;
    hoverDisc_->setVisible(place.has_value());
    if (!place) return;
    hoverDisc_->setPosition(*place);
    hoverDisc_->setRotation(irr::core::vector3df(star->ecliptic[0], star->ecliptic[1], 0.0f));
}

// The hovered star's name on a dark ground right of the pointer, readable over any marker or
// the disc, and its system's pictogram when generated.
void GalaxyView::drawHover() {
    const StarRecord* star = atlas_.window->find(*hovered_);
    if (star == nullptr) return;
    const InputEventReceiver& input = atlas_.receiver;
    const irr::core::stringw name = widen(star->physical->name);
    const irr::core::dimension2du size = atlas_.font->getDimension(name.c_str());
    const irr::core::recti text(input.mousex + 10, input.mousey, input.mousex + 10 + static_cast<int>(size.Width),
                                input.mousey + static_cast<int>(size.Height));
    atlas_.driver->draw2DRectangle(irr::video::SColor(0xe0000000),
                                   irr::core::recti(text.UpperLeftCorner - irr::core::position2di(3, 1),
                                                    text.LowerRightCorner + irr::core::position2di(3, 1)));
    atlas_.font->draw(name, text, irr::video::SColor(255, 255, 255, 255));
    if (star->systemready) drawSystemPictogram(atlas_, *star);
}

void GalaxyView::drawRouteLines() {
    irr::video::SMaterial material;
    material.Thickness = 2.0f;
    material.Lighting = false;
    material.EmissiveColor = irr::video::SColor(0xff609fe8);
    irr::video::IVideoDriver* driver = atlas_.driver;
    driver->setMaterial(material);
    driver->setTransform(irr::video::ETS_WORLD, irr::core::IdentityMatrix);
    const std::array<float, 3>& centre = atlas_.window->centre();
    auto place = [&](const StarRecord& star) {
        return irr::core::vector3df((static_cast<float>(star.cube.x) - centre[0]) * 10.0f + star.offset[0],
                                    (static_cast<float>(star.cube.z) - centre[2]) * 10.0f + star.offset[1],
                                    (static_cast<float>(star.cube.y) - centre[1]) * 10.0f + star.offset[2]);
    };
    const std::vector<StarRecord>& waypoints = atlas_.route.waypoints();
    for (std::size_t i = 1; i < waypoints.size(); ++i)
        driver->draw3DLine(place(waypoints[i - 1]), place(waypoints[i]), irr::video::SColor(0xffffffff));
}

// The side panels' backgrounds, or the strip that opens the filter panel.
void GalaxyView::drawPanels() {
    const int W = atlas_.W;
    const int H = atlas_.H;
    if (atlas_.controls.filterpanel->isVisible()) {
        search_.update();
        atlas_.driver->draw2DRectangle(irr::video::SColor(0xc804054c), irr::core::rect<irr::s32>(W - 200, 0, W, H - 65));
    } else {
        atlas_.driver->draw2DRectangle(irr::video::SColor(0xc82b2c83),
                                       irr::core::rect<irr::s32>(W - 20, (H - 60) / 2 - 200, W, (H - 60) / 2 + 200));
    }
    routes_.drawBackground();
}
