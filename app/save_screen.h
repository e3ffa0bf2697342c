#pragma once
// The picture while a system is saved: the view as it was, dimmed, under a framed bar that
// fills as the bodies' textures are made, captioned "Saving <system>: <body> (n/total)". The
// window's events keep flowing meanwhile, so a window closed during the save stops it at the
// next body. The dimmed view is drawn once into a texture, so that each frame of the save
// costs one picture and the bar: drawn in software it would otherwise take the time of the
// textures being made.

#include <functional>
#include <string>

#include <irrlicht/irrlicht.h>

#include "app/atlas_context.h"
#include "export/system_save.h"

class SaveScreen {
public:
    // `drawView` draws the view as it was before the save.
    SaveScreen(AtlasContext& atlas, std::string system, std::function<void()> drawView)
        : atlas_(atlas), system_(std::move(system)), drawView_(std::move(drawView)) {}
    ~SaveScreen();
    SaveScreen(const SaveScreen&) = delete;
    SaveScreen& operator=(const SaveScreen&) = delete;

    // Hooks that show the save's progress and stop it once the window has been closed.
    SaveHooks hooks();
    bool windowClosed() const { return closed_; }
    // Begins again the frame that was under way when the save began, if the screen ended it.
    void resumeFrame();

private:
    void show(const std::string& caption, double fraction, bool now);
    void drawDimmedView();
    void drawViewDimmed();  // the view as it was, under the dimming, drawn afresh
    irr::video::ITexture* keepDimmedView();
    void drawBar(const std::string& caption, double fraction);
    bool pumpEvents();

    AtlasContext& atlas_;
    std::string system_;
    std::function<void()> drawView_;
    std::string body_;
    irr::video::ITexture* dimmedView_ = nullptr;  // the view as it was, dimmed, once drawn
    bool viewKeptOrTried_ = false;
    irr::u32 lastShown_ = 0;
    bool shown_ = false;
    bool closed_ = false;
};
