// The map view: the galaxy picture as a flat map of the galactic plane, one pixel a cube. The
// user pans and zooms, picks a cube by clicking (its height by dragging), and keeps bookmarks
// in the bookmark panel.

#include <algorithm>
#include <cmath>

#include "app/application.h"

namespace {

using irr::core::rect;
using irr::s32;

void drawCircle(irr::video::IVideoDriver* driver, irr::core::position2d<s32> centre, irr::video::SColor colour) {
    driver->draw2DPolygon(centre, 10.0f, colour, 30);
}

}  // namespace

irr::core::position2d<irr::s32> Application::mapToScreen(int mx, int my) const {
    return {map_.screenX(mx), map_.screenY(my)};
}

void Application::refreshMap() {
    if (galaxyPicture_ == nullptr || galaxyTexture_ == nullptr) return;
    const irr::core::dimension2du size = galaxyPicture_->getDimension();
    const int regionWidth = std::max(1, static_cast<int>(static_cast<float>(W) * map_.zoom));
    const int regionHeight = std::max(1, static_cast<int>(static_cast<float>(H) * map_.zoom));
    int left = map_.centreX - regionWidth / 2;
    int top = map_.centreY - regionHeight / 2;
    left = std::clamp(left, 0, std::max(0, static_cast<int>(size.Width) - regionWidth));
    top = std::clamp(top, 0, std::max(0, static_cast<int>(size.Height) - regionHeight));
    const int width = std::min(regionWidth, static_cast<int>(size.Width));
    const int height = std::min(regionHeight, static_cast<int>(size.Height));
    irr::video::IImage* region = driver_->createImage(galaxyPicture_->getColorFormat(),
                                                      irr::core::dimension2du(static_cast<irr::u32>(width), static_cast<irr::u32>(height)));
    galaxyPicture_->copyTo(region, irr::core::position2d<s32>(0, 0), rect<s32>(left, top, left + width, top + height));
    void* pixels = galaxyTexture_->lock();
    if (pixels != nullptr) {
        region->copyToScaling(pixels, galaxyTexture_->getSize().Width, galaxyTexture_->getSize().Height,
                              galaxyTexture_->getColorFormat(), galaxyTexture_->getPitch());
        galaxyTexture_->unlock();
    }
    region->drop();
    mapChanged_ = false;
}

void Application::showHotSpotLists() {
    // The selected folder stays selected; the bookmark list starts with nothing selected.
    const int folder = controls_.folderlist->getSelected();
    const std::vector<std::string> folders = hotspots_.folderRows();
    showRows(controls_.folderlist, folders,
             folder >= 0 && !folders.empty() ? std::min(folder, static_cast<int>(folders.size()) - 1) : -1);
    showRows(controls_.hotspotlist, hotspots_.hotSpotRows(controls_.folderlist->getSelected()), -1);
}

void Application::mapCommands() {
    const std::filesystem::path bookmarkPath = hotSpotPath(".", config_.galaxy, narrow(controls_.namebox->getText()));
    const int folder = controls_.folderlist->getSelected();
    const int row = controls_.hotspotlist->getSelected();
    if (receiver_.buttonclicked) {
        receiver_.buttonclicked = 0;
        bool changed = false;
        switch (receiver_.callerid) {
        case kGalaxyButton:
            pendingRequest_ = 0;
            view_ = kGalaxyView;
            viewEntry_ = true;
            break;
        case kSystemButton: pendingRequest_ = 2; break;
        case kSaveHotSpots: hotspots_.saveHotSpots(bookmarkPath); break;
        case kLoadHotSpots:
            if (doubleClickConfirmed()) {
                hotspots_.loadHotSpots(bookmarkPath);
                changed = true;
            }
            break;
        case kAddFolder:
            hotspots_.addFolder(narrow(controls_.namebox->getText()));
            changed = true;
            break;
        case kDeleteFolder: changed = doubleClickConfirmed() && hotspots_.deleteFolder(folder); break;
        case kAddHotSpot:
            changed = hotspots_.addHotSpot(folder, narrow(controls_.namebox->getText()),
                                           static_cast<int>(window_->centre()[0]), static_cast<int>(window_->centre()[1]),
                                           static_cast<int>(window_->centre()[2]));
            break;
        case kDeleteHotSpot: changed = doubleClickConfirmed() && hotspots_.deleteHotSpot(folder, row); break;
        default: break;
        }
        if (changed) showHotSpotLists();
    }
    if (receiver_.listboxchanged) {
        receiver_.listboxchanged = 0;
        if (receiver_.callerid == kFolderList) showRows(controls_.hotspotlist, hotspots_.hotSpotRows(folder), -1);
        if (receiver_.callerid == kHotSpotList && row > 0 && doubleClickConfirmed()) {
            const HotSpot spot = hotspots_.hotSpotAt(folder, row);
            rebuildWindowAt(spot.x, spot.y, spot.z);
            moveCentreTo(irr::core::vector3df(0, 0, 0));
        }
    }
}

void Application::mapViewFrame() {
    const ViewMode viewBefore = view_;
    if (viewEntry_) {
        viewEntry_ = false;
        mapChanged_ = true;
        pendingRequest_ = 1;
    }
    irr::gui::IGUIElement* panel = controls_.bookmarkpanel;
    if (receiver_.mousex > W - 20 && receiver_.mousey < H - 65 && !panel->isVisible()) {
        panel->setVisible(true);
    } else if ((receiver_.mousex < W - 250 || receiver_.mousey > H - 65) && panel->isVisible()) {
        gui_->setFocus(panel);
        panel->setVisible(false);
    }
    mapCommands();
    if (view_ != kMapView) {
        panel->setVisible(false);
        return;
    }

    if (!panel->isVisible()) {
        const int stepPixels = static_cast<int>(20.0f * map_.zoom);
        if (receiver_.keyDown(irr::KEY_KEY_S)) {
            map_.centreY += stepPixels;
            mapChanged_ = true;
        } else if (receiver_.keyDown(irr::KEY_KEY_W)) {
            map_.centreY -= stepPixels;
            mapChanged_ = true;
        }
        if (receiver_.keyDown(irr::KEY_KEY_D)) {
            map_.centreX += stepPixels;
            mapChanged_ = true;
        } else if (receiver_.keyDown(irr::KEY_KEY_A)) {
            map_.centreX -= stepPixels;
            mapChanged_ = true;
        }
        if (receiver_.keyDown(irr::KEY_KEY_Q)) {
            map_.zoomOut();
            mapChanged_ = true;
        } else if (receiver_.keyDown(irr::KEY_KEY_E)) {
            map_.zoomIn();
            mapChanged_ = true;
        }
        if (receiver_.keyDown(irr::KEY_ESCAPE)) {
            view_ = kGalaxyView;
            viewEntry_ = true;
        }
    }
    if (pendingRequest_ != 1 && view_ == kMapView) {
        view_ = kGalaxyView;
        viewEntry_ = true;
    }

    if (galaxyTexture_ != nullptr) driver_->draw2DImage(galaxyTexture_, irr::core::position2d<s32>(0, 0));

    if (!panel->isVisible() && !cornerHover_ && view_ == kMapView) {
        const irr::video::SColor white(255, 255, 255, 255);
        driver_->draw2DLine(irr::core::position2d<s32>(crosshair_.X, 0), irr::core::position2d<s32>(crosshair_.X, H), white);
        driver_->draw2DLine(irr::core::position2d<s32>(0, crosshair_.Y), irr::core::position2d<s32>(W, crosshair_.Y), white);
        const bool leftHeld = receiver_.mouse[0] == DOWN || receiver_.mouse[0] == PRESSED;
        if (!leftHeld && mapHeight_ == 0) {
            crosshair_ = irr::core::position2d<s32>(receiver_.mousex, receiver_.mousey);
            crosshairMapX_ = map_.mapX(crosshair_.X);
            crosshairMapY_ = map_.mapY(crosshair_.Y);
        }
        const int notches = static_cast<int>(std::trunc(receiver_.wheel));
        if (notches < 0) {
            for (int i = 0; i < -notches; ++i) map_.zoomOut();
            mapChanged_ = true;
        } else if (notches > 0) {
            for (int i = 0; i < notches; ++i) map_.zoomIn();
            mapChanged_ = true;
        }
        if (leftHeld) mapHeight_ = std::clamp(mapHeight_ + (lastMouseY_ - receiver_.mousey) / 2, -150, 150);
        lastMouseY_ = receiver_.mousey;
        if (receiver_.mouse[0] == RELEASED) {
            rebuildWindowAt(crosshairMapX_, crosshairMapY_, mapHeight_);
            moveCentreTo(irr::core::vector3df(0, 0, 0));
            view_ = kGalaxyView;
            viewEntry_ = true;
            pendingRequest_ = 0;
            mapHeight_ = 0;
        }
        const std::wstring label = std::to_wstring(crosshairMapX_) + L" / " + std::to_wstring(crosshairMapY_) + L" / " +
                                   std::to_wstring(mapHeight_);
        font_->draw(label.c_str(), rect<s32>(crosshair_.X + 10, crosshair_.Y - 15, crosshair_.X + 300, crosshair_.Y + 5),
                    irr::video::SColor(0xff00ff00));
    }

    if (mapChanged_) refreshMap();

    const std::array<float, 3>& cube = window_->centre();
    drawCircle(driver_, mapToScreen(static_cast<int>(cube[0]), static_cast<int>(cube[1])), irr::video::SColor(0xffff0000));
    if (controls_.hotspotlist->getSelected() > 0) {
        const HotSpot spot = hotspots_.hotSpotAt(controls_.folderlist->getSelected(), controls_.hotspotlist->getSelected());
        drawCircle(driver_, mapToScreen(spot.x, spot.y), irr::video::SColor(0xff00ff00));
    }
    if (panel->isVisible())
        driver_->draw2DRectangle(irr::video::SColor(0xc804054c), rect<s32>(W - 200, 0, W, H - 65));
    else
        driver_->draw2DRectangle(irr::video::SColor(0xc82b2c83), rect<s32>(W - 20, (H - 60) / 2 - 200, W, (H - 60) / 2 + 200));
    if (view_ != viewBefore) panel->setVisible(false);
}
