#include "app/save_screen.h"

#include <algorithm>

#include "app/irrlicht_adapters.h"
#include "app/save_progress.h"

namespace {

using irr::core::rect;
using irr::s32;
using irr::video::SColor;

// The plug-in reports far more often than that; ten frames a second fill the bar smoothly.
constexpr irr::u32 kFrameMilliseconds = 100;
const SColor kDimming(170, 0, 0, 0);
const SColor kBox(0xff040555);        // the bottom bar's blue
const SColor kBarColour(0xffcfb734);  // the skin's highlight yellow
const SColor kBarGround(0xff2b2c83);
const SColor kText(0xffffffff);

}  // namespace

SaveScreen::~SaveScreen() {
    if (dimmedView_ != nullptr) atlas_.driver->removeTexture(dimmedView_);
}

SaveHooks SaveScreen::hooks() {
    SaveHooks hooks;
    hooks.status = [this](const std::string& text) { show(saveCaption(system_, text, 0, 0), 0.0, true); };
    hooks.body = [this](const std::string& name) { body_ = name; };
    hooks.progress = [this](int done, int total, int, double fraction) {
        show(saveCaption(system_, body_, done, total), saveFraction(done, total, fraction), false);
    };
    hooks.cancelled = [this] { return !pumpEvents(); };
    return hooks;
}

void SaveScreen::resumeFrame() {
    if (shown_) atlas_.driver->beginScene(true, true, SColor(255, 0, 0, 0));
}

// Passes the window's events on; false once the window has been closed.
bool SaveScreen::pumpEvents() {
    if (!closed_ && !atlas_.device->run()) closed_ = true;
    return !closed_;
}

void SaveScreen::show(const std::string& caption, double fraction, bool now) {
    const irr::u32 time = atlas_.device->getTimer()->getRealTime();
    if (!now && shown_ && time - lastShown_ < kFrameMilliseconds) return;
    lastShown_ = time;
    shown_ = true;
    pumpEvents();
    irr::video::IVideoDriver* driver = atlas_.driver;
    driver->beginScene(true, true, SColor(255, 0, 0, 0));
    drawDimmedView();
    drawBar(caption, fraction);
    driver->endScene();
}

// From the texture after the first frame; drawn afresh where the driver cannot draw into one.
void SaveScreen::drawDimmedView() {
    if (!viewKeptOrTried_) {
        viewKeptOrTried_ = true;
        dimmedView_ = keepDimmedView();
    }
    irr::video::IVideoDriver* driver = atlas_.driver;
    const rect<s32> window(0, 0, atlas_.W, atlas_.H);
    if (dimmedView_ != nullptr) {
        driver->draw2DImage(dimmedView_, irr::core::position2d<s32>(0, 0), window);
        return;
    }
    drawViewDimmed();
}

void SaveScreen::drawViewDimmed() {
    if (drawView_) drawView_();
    atlas_.driver->draw2DRectangle(kDimming, rect<s32>(0, 0, atlas_.W, atlas_.H));
}

// The dimmed view drawn into a texture of the window's size, or null.
irr::video::ITexture* SaveScreen::keepDimmedView() {
    irr::video::IVideoDriver* driver = atlas_.driver;
    if (!driver->queryFeature(irr::video::EVDF_RENDER_TO_TARGET)) return nullptr;
    const irr::core::dimension2d<irr::u32> size(static_cast<irr::u32>(atlas_.W), static_cast<irr::u32>(atlas_.H));
    irr::video::ITexture* texture = driver->addRenderTargetTexture(size, "save-screen-view");
    if (texture == nullptr) return nullptr;
    if (!driver->setRenderTarget(texture, true, true, SColor(255, 0, 0, 0))) {
        driver->removeTexture(texture);
        return nullptr;
    }
    drawViewDimmed();
    driver->setRenderTarget(nullptr, false, false);
    return texture;
}

// The caption above a framed bar, on a box in the middle of the window.
void SaveScreen::drawBar(const std::string& caption, double fraction) {
    irr::video::IVideoDriver* driver = atlas_.driver;
    const int width = std::min(600, atlas_.W - 80);
    const int left = (atlas_.W - width) / 2;
    const int top = atlas_.H / 2 - 10;
    const rect<s32> box(left - 20, top - 45, left + width + 20, top + 44);
    driver->draw2DRectangle(kBox, box);
    driver->draw2DRectangleOutline(box, kBarColour);
    atlas_.font->draw(widen(caption).c_str(), rect<s32>(left, top - 38, left + width, top - 8), kText, true, true, &box);
    const rect<s32> bar(left, top, left + width, top + 24);
    driver->draw2DRectangle(kBarGround, bar);
    driver->draw2DRectangleOutline(bar, kBarColour);
    const int filled = static_cast<int>((width - 6) * std::clamp(fraction, 0.0, 1.0));
    if (filled > 0) driver->draw2DRectangle(kBarColour, rect<s32>(left + 3, top + 3, left + 3 + filled, top + 21));
}
