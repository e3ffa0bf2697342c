#pragma once
// The engine behind the core's small interfaces: its images as PixelImage, its GUI as the
// place for messages, and its list boxes filled from the rows the core gives.

#include <memory>
#include <string>
#include <vector>

#include <irrlicht/irrlicht.h>

#include "platform/pixel_image.h"
#include "platform/message_sink.h"

// Narrow text shown by the engine: widened character by character.
irr::core::stringw widen(const std::string& text);
std::string narrow(const wchar_t* text);

// `text` widened and broken at blanks into at most `maxLines` lines of at most `width` pixels in
// `font`; what does not fit (a longer word, the lines after the last) ends in "...".
irr::core::stringw wrapped(irr::gui::IGUIFont* font, const std::string& text, int width, int maxLines);

// Replaces the list's entries by `rows` and selects entry `selected` (none for -1).
void showRows(irr::gui::IGUIListBox* list, const std::vector<std::string>& rows, int selected);

class EngineImage : public PixelImage {
public:
    explicit EngineImage(irr::video::IImage* image) : image_(image) {}
    ~EngineImage() override {
        if (image_) image_->drop();
    }
    int width() const override { return static_cast<int>(image_->getDimension().Width); }
    int height() const override { return static_cast<int>(image_->getDimension().Height); }
    PixelColour pixel(int x, int y) const override {
        const irr::video::SColor colour = image_->getPixel(static_cast<irr::u32>(x), static_cast<irr::u32>(y));
        return {static_cast<std::uint8_t>(colour.getRed()), static_cast<std::uint8_t>(colour.getGreen()),
                static_cast<std::uint8_t>(colour.getBlue())};
    }

private:
    irr::video::IImage* image_;
};

class EngineImageLoader : public ImageLoader {
public:
    explicit EngineImageLoader(irr::video::IVideoDriver* driver) : driver_(driver) {}
    std::unique_ptr<PixelImage> load(const std::string& path) const override;

private:
    irr::video::IVideoDriver* driver_;
};

// Messages as a modal message box in the window.
class GuiMessages : public MessageSink {
public:
    explicit GuiMessages(irr::gui::IGUIEnvironment* gui) : gui_(gui) {}
    void showMessage(const std::string& title, const std::string& text) override;

private:
    irr::gui::IGUIEnvironment* gui_;
};
