#pragma once
// Small rules of the views, kept apart from the engine so that they can be checked alone.

#include <functional>

// The map view's projection: screen pixels to map coordinates (cubes from the picture's
// centre, y upwards) and back, for a picture of `pictureWidth` x `pictureHeight`, a window of
// W x H, a view centre in picture pixels and a zoom in picture pixels per screen pixel.
struct MapProjection {
    int pictureWidth = 0;
    int pictureHeight = 0;
    int W = 0;
    int H = 0;
    int centreX = 0;
    int centreY = 0;
    float zoom = 1.0f;

    int mapX(int screenX) const;
    int mapY(int screenY) const;
    int screenX(int mapX) const;
    int screenY(int mapY) const;

    // The zoom that shows the whole picture's width, and the closest one.
    float widestZoom() const;
    static constexpr float kClosestZoom = 0.2f;
    // Zooms out one step (x1.1) unless the whole width shows already; in one step (x0.9).
    void zoomOut();
    void zoomIn();

    // The picture pixels the window shows at this zoom, and the first of them.
    int regionWidth() const;
    int regionHeight() const;
    int regionLeft() const { return centreX - regionWidth() / 2; }
    int regionTop() const { return centreY - regionHeight() / 2; }
    // Keeps the shown region inside the picture (centred on it along a side where the region is
    // the larger), so that the point under a screen pixel is the picture's pixel drawn there.
    void clampCentre();
};

// A click on the same command in two frames running is acted on once: the memory of the
// command handled in the frame before, cleared by a frame without a click.
class CommandMemory {
public:
    // Whether a click on `id` in this frame is to be acted on.
    bool accept(int id);
    // A frame without a click.
    void idle() { last_ = 0; }

private:
    int last_ = 0;
};

// The next star index of a cube after `start`, stepping by `step` (+1 or -1) and wrapping,
// that `qualifies`; `start` when no other star does. Each index is tried once at most.
int nextQualifyingIndex(int count, int start, int step, const std::function<bool(int)>& qualifies);

// The double-click rule: a first activation arms, a second within one second acts.
class DoubleClick {
public:
    // An activation; true when it completes a double click.
    bool activate();
    // Arms afresh, forgetting an armed click: a first click somewhere else.
    void restart() {
        armed_ = true;
        timer_ = 0.0f;
    }
    // Advances the timer by a frame's time; past one second the click is forgotten.
    void advance(float seconds);
    bool armed() const { return armed_; }

private:
    bool armed_ = false;
    float timer_ = 0.0f;
};
