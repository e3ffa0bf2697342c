#pragma once
// The map view: the galaxy picture as a flat map of the galactic plane, one pixel a cube. The
// user pans and zooms, picks a cube by clicking (its height by dragging), and keeps bookmarks
// in the bookmark panel.

#include <string>

#include <irrlicht/irrlicht.h>

#include "app/atlas_context.h"
#include "app/view_logic.h"

class MapView {
public:
    explicit MapView(AtlasContext& atlas) : atlas_(atlas) {}
    ~MapView();
    MapView(const MapView&) = delete;
    MapView& operator=(const MapView&) = delete;

    // Names the galaxy's picture. It is read on the map's first showing (the start-up does not
    // wait for a picture it does not show); without a picture the map stays empty.
    void choosePicture(const std::string& galaxyFolder, const std::string& galaxyName);
    // Lets the picture go while the engine still exists.
    void releasePicture();

    void enter();
    ViewMode frame();
    void leave();

private:
    // Reads the picture (kept for the map) and makes the screen-sized texture the map is drawn
    // into, once.
    void loadPicture();
    void panelShowAndHide();
    bool commands();
    bool buttonCommand(int id, int folder, int row);
    void listCommand(int id, int folder, int row);
    bool mapKeys();
    bool pickCube();
    void drawReadout();
    void zoomByWheel();
    void drawMarks();
    void refreshMap();
    irr::core::position2d<irr::s32> mapToScreen(int mx, int my) const;

    AtlasContext& atlas_;
    std::string picturePath_;
    bool pictureTried_ = false;
    irr::video::IImage* picture_ = nullptr;
    irr::video::ITexture* texture_ = nullptr;
    MapProjection map_;
    int height_ = 0;  // the picked cube's height, set by dragging
    irr::core::position2d<irr::s32> crosshair_{0, 0};
    int crosshairMapX_ = 0;
    int crosshairMapY_ = 0;
    bool changed_ = true;
    int lastMouseY_ = 0;
    ViewMode request_ = kMapView;  // the view asked for with a button, if another
};
