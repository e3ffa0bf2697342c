#include "app/map_view.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/atlas_actions.h"

namespace {

using irr::core::rect;
using irr::s32;

void drawCircle(irr::video::IVideoDriver* driver, irr::core::position2d<s32> centre, irr::video::SColor colour) {
    driver->draw2DPolygon(centre, 10.0f, colour, 30);
}

}  // namespace

MapView::~MapView() { releasePicture(); }

void MapView::choosePicture(const std::string& galaxyFolder, const std::string& galaxyName) {
    picturePath_ = galaxyFolder + galaxyName + ".jpg";
}

void MapView::loadPicture() {
    if (pictureTried_) return;
    pictureTried_ = true;
    const int W = atlas_.W;
    const int H = atlas_.H;
    irr::video::IVideoDriver* driver = atlas_.driver;
    irr::video::IImage* picture = driver->createImageFromFile(picturePath_.c_str());
    if (picture == nullptr) return;
    irr::video::IImage* screen = driver->createImage(
        picture->getColorFormat(), irr::core::dimension2du(static_cast<irr::u32>(W), static_cast<irr::u32>(H)));
    picture->copyTo(screen, irr::core::position2d<s32>(0, 0), rect<s32>(0, 0, W, H));
    texture_ = driver->addTexture("GalTex", screen);
    screen->drop();
    picture_ = picture;
    map_.pictureWidth = static_cast<int>(picture->getDimension().Width);
    map_.pictureHeight = static_cast<int>(picture->getDimension().Height);
    map_.W = W;
    map_.H = H;
    map_.centreX = map_.pictureWidth / 2;
    map_.centreY = map_.pictureHeight / 2;
    map_.zoom = map_.widestZoom();
}

void MapView::releasePicture() {
    if (picture_ != nullptr) picture_->drop();
    picture_ = nullptr;
}

void MapView::enter() {
    loadPicture();
    changed_ = true;
    request_ = kMapView;
}

void MapView::leave() { atlas_.controls.bookmarkpanel->setVisible(false); }

ViewMode MapView::frame() {
    panelShowAndHide();
    if (commands()) return kGalaxyView;
    irr::gui::IGUIElement* panel = atlas_.controls.bookmarkpanel;
    bool leaving = !panel->isVisible() && mapKeys();
    if (request_ != kMapView) leaving = true;

    if (texture_ != nullptr) atlas_.driver->draw2DImage(texture_, irr::core::position2d<s32>(0, 0));
    if (!leaving && !panel->isVisible() && !atlas_.overCornerButtons()) leaving = pickCube();
    if (changed_) refreshMap();
    drawMarks();
    const int W = atlas_.W;
    const int H = atlas_.H;
    if (panel->isVisible())
        atlas_.driver->draw2DRectangle(irr::video::SColor(0xc804054c), rect<s32>(W - 200, 0, W, H - 65));
    else
        atlas_.driver->draw2DRectangle(irr::video::SColor(0xc82b2c83),
                                       rect<s32>(W - 20, (H - 60) / 2 - 200, W, (H - 60) / 2 + 200));
    if (!leaving) return kMapView;
    return request_ == kSystemView ? kCentreSystem : kGalaxyView;
}

void MapView::panelShowAndHide() {
    const InputEventReceiver& input = atlas_.receiver;
    irr::gui::IGUIElement* panel = atlas_.controls.bookmarkpanel;
    if (input.mousex > atlas_.W - 20 && input.mousey < atlas_.H - 65 && !panel->isVisible()) {
        panel->setVisible(true);
    } else if ((input.mousex < atlas_.W - 250 || input.mousey > atlas_.H - 65) && panel->isVisible()) {
        atlas_.gui->setFocus(panel);
        panel->setVisible(false);
    }
}

// The bar's and the bookmark panel's commands; true when the galaxy view was asked for.
bool MapView::commands() {
    InputEventReceiver& input = atlas_.receiver;
    const int folder = atlas_.controls.folderlist->getSelected();
    const int row = atlas_.controls.hotspotlist->getSelected();
    bool toGalaxy = false;
    if (input.buttonclicked) {
        input.buttonclicked = 0;
        toGalaxy = buttonCommand(input.callerid, folder, row);
    }
    if (input.listboxchanged) {
        input.listboxchanged = 0;
        listCommand(input.callerid, folder, row);
    }
    return toGalaxy;
}

bool MapView::buttonCommand(int id, int folder, int row) {
    const GuiControls& controls = atlas_.controls;
    HotSpotStore& hotspots = atlas_.hotspots;
    const std::string name = narrow(controls.namebox->getText());
    bool changed = false;
    switch (id) {
    case kGalaxyButton: request_ = kGalaxyView; return true;
    case kSystemButton: request_ = kSystemView; break;
    case kSaveHotSpots: hotspots.saveHotSpots(hotSpotPath(".", atlas_.config.galaxy, name)); break;
    case kLoadHotSpots:
        if (atlas_.doubleClick.activate()) {
            hotspots.loadHotSpots(hotSpotPath(".", atlas_.config.galaxy, name));
            changed = true;
        }
        break;
    case kAddFolder:
        hotspots.addFolder(name);
        changed = true;
        break;
    case kDeleteFolder: changed = atlas_.doubleClick.activate() && hotspots.deleteFolder(folder); break;
    case kAddHotSpot: {
        const std::array<float, 3>& cube = atlas_.window->centre();
        changed = hotspots.addHotSpot(folder, name, static_cast<int>(cube[0]), static_cast<int>(cube[1]),
                                      static_cast<int>(cube[2]));
        break;
    }
    case kDeleteHotSpot: changed = atlas_.doubleClick.activate() && hotspots.deleteHotSpot(folder, row); break;
    default: break;
    }
    if (changed) showHotSpotLists(atlas_);
    return false;
}

// A folder shows its bookmarks; a double-clicked bookmark builds the window at its cube.
void MapView::listCommand(int id, int folder, int row) {
    if (id == kFolderList) showRows(atlas_.controls.hotspotlist, atlas_.hotspots.hotSpotRows(folder), -1);
    if (id == kHotSpotList && row > 0 && atlas_.doubleClick.activate()) {
        const HotSpot spot = atlas_.hotspots.hotSpotAt(folder, row);
        rebuildWindowAt(atlas_, spot.x, spot.y, spot.z);
        moveCentreTo(atlas_, irr::core::vector3df(0, 0, 0));
    }
}

// Panning and zooming with the keys; true when Escape asks for the galaxy view.
bool MapView::mapKeys() {
    const InputEventReceiver& input = atlas_.receiver;
    const int stepPixels = static_cast<int>(20.0f * map_.zoom);
    if (input.keyDown(irr::KEY_KEY_S)) {
        map_.centreY += stepPixels;
        changed_ = true;
    } else if (input.keyDown(irr::KEY_KEY_W)) {
        map_.centreY -= stepPixels;
        changed_ = true;
    }
    if (input.keyDown(irr::KEY_KEY_D)) {
        map_.centreX += stepPixels;
        changed_ = true;
    } else if (input.keyDown(irr::KEY_KEY_A)) {
        map_.centreX -= stepPixels;
        changed_ = true;
    }
    if (input.keyDown(irr::KEY_KEY_Q)) {
        map_.zoomOut();
        changed_ = true;
    } else if (input.keyDown(irr::KEY_KEY_E)) {
        map_.zoomIn();
        changed_ = true;
    }
    map_.clampCentre();
    return input.keyDown(irr::KEY_ESCAPE);
}

// The crosshair follows the mouse; dragging sets the height and releasing builds the window
// at the cube under the crosshair. True when a cube was picked.
bool MapView::pickCube() {
    const InputEventReceiver& input = atlas_.receiver;
    const int W = atlas_.W;
    const int H = atlas_.H;
    const irr::video::SColor white(255, 255, 255, 255);
    atlas_.driver->draw2DLine(irr::core::position2d<s32>(crosshair_.X, 0), irr::core::position2d<s32>(crosshair_.X, H), white);
    atlas_.driver->draw2DLine(irr::core::position2d<s32>(0, crosshair_.Y), irr::core::position2d<s32>(W, crosshair_.Y), white);
    const bool leftHeld = input.mouse[0] == DOWN || input.mouse[0] == PRESSED;
    if (!leftHeld && height_ == 0) {
        crosshair_ = irr::core::position2d<s32>(input.mousex, input.mousey);
        crosshairMapX_ = map_.mapX(crosshair_.X);
        crosshairMapY_ = map_.mapY(crosshair_.Y);
    }
    zoomByWheel();
    if (leftHeld) height_ = std::clamp(height_ + (lastMouseY_ - input.mousey) / 2, -150, 150);
    lastMouseY_ = input.mousey;
    const bool picked = input.mouse[0] == RELEASED;
    if (picked) {
        rebuildWindowAt(atlas_, crosshairMapX_, crosshairMapY_, height_);
        moveCentreTo(atlas_, irr::core::vector3df(0, 0, 0));
        request_ = kGalaxyView;
        height_ = 0;
    }
    drawReadout();
    return picked;
}

// The crosshair's cube on a dark backing beside it, turned inwards near the window's edges.
void MapView::drawReadout() {
    const std::wstring label = std::to_wstring(crosshairMapX_) + L" / " + std::to_wstring(crosshairMapY_) + L" / " +
                               std::to_wstring(height_);
    const irr::core::dimension2du size = atlas_.font->getDimension(label.c_str());
    const s32 width = static_cast<s32>(size.Width) + 8;
    const s32 height = static_cast<s32>(size.Height) + 4;
    const s32 left = crosshair_.X + 10 + width <= atlas_.W ? crosshair_.X + 10 : crosshair_.X - 10 - width;
    const s32 top = crosshair_.Y - 6 - height >= 0 ? crosshair_.Y - 6 - height : crosshair_.Y + 6;
    const rect<s32> backing(left, top, left + width, top + height);
    atlas_.driver->draw2DRectangle(irr::video::SColor(0xd0000000), backing);
    atlas_.font->draw(label.c_str(), backing, irr::video::SColor(0xff00ff00), true, true);
}

void MapView::zoomByWheel() {
    const int notches = static_cast<int>(std::trunc(atlas_.receiver.wheel));
    if (notches < 0) {
        for (int i = 0; i < -notches; ++i) map_.zoomOut();
        changed_ = true;
    } else if (notches > 0) {
        for (int i = 0; i < notches; ++i) map_.zoomIn();
        changed_ = true;
    }
}

// The window's centre cube in red, the selected bookmark in green.
void MapView::drawMarks() {
    const std::array<float, 3>& cube = atlas_.window->centre();
    drawCircle(atlas_.driver, mapToScreen(static_cast<int>(cube[0]), static_cast<int>(cube[1])),
               irr::video::SColor(0xffff0000));
    const GuiControls& controls = atlas_.controls;
    if (controls.hotspotlist->getSelected() > 0) {
        const HotSpot spot = atlas_.hotspots.hotSpotAt(controls.folderlist->getSelected(), controls.hotspotlist->getSelected());
        drawCircle(atlas_.driver, mapToScreen(spot.x, spot.y), irr::video::SColor(0xff00ff00));
    }
}

irr::core::position2d<irr::s32> MapView::mapToScreen(int mx, int my) const {
    return {map_.screenX(mx), map_.screenY(my)};
}

// The window shows the projection's region of the picture, scaled to the window; where the
// region reaches past the picture (a window taller than the picture is wide) it stays black.
void MapView::refreshMap() {
    if (picture_ == nullptr || texture_ == nullptr) return;
    map_.clampCentre();
    const int left = map_.regionLeft();
    const int top = map_.regionTop();
    const int width = map_.regionWidth();
    const int height = map_.regionHeight();
    irr::video::IImage* region = atlas_.driver->createImage(
        picture_->getColorFormat(), irr::core::dimension2du(static_cast<irr::u32>(width), static_cast<irr::u32>(height)));
    region->fill(irr::video::SColor(255, 0, 0, 0));
    const rect<s32> shown(std::max(0, left), std::max(0, top), std::min(map_.pictureWidth, left + width),
                          std::min(map_.pictureHeight, top + height));
    picture_->copyTo(region, irr::core::position2d<s32>(shown.UpperLeftCorner.X - left, shown.UpperLeftCorner.Y - top),
                     shown);
    void* pixels = texture_->lock();
    if (pixels != nullptr) {
        region->copyToScaling(pixels, texture_->getSize().Width, texture_->getSize().Height, texture_->getColorFormat(),
                              texture_->getPitch());
        texture_->unlock();
    }
    region->drop();
    changed_ = false;
}
