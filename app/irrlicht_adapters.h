#pragma once
// The engine behind the core's small interfaces: its list boxes as ListBox, its images as
// PixelImage, its GUI as the place for messages.

#include <memory>
#include <string>

#include <irrlicht/irrlicht.h>

#include "platform/pixel_image.h"
#include "platform/list_box.h"
#include "platform/message_sink.h"

// Narrow text shown by the engine: widened character by character.
irr::core::stringw widen(const std::string& text);
std::string narrow(const wchar_t* text);

class EngineListBox : public ListBox {
public:
    explicit EngineListBox(irr::gui::IGUIListBox* list) : list_(list) {}
    void clear() override { list_->clear(); }
    void addItem(const std::string& text) override { list_->addItem(widen(text).c_str()); }
    int selected() const override { return list_->getSelected(); }
    void setSelected(int index) override { list_->setSelected(index); }
    int itemCount() const override { return static_cast<int>(list_->getItemCount()); }
    irr::gui::IGUIListBox* engineList() const { return list_; }

private:
    irr::gui::IGUIListBox* list_;
};

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
