#include "app/density_picture.h"

#include <utility>

#include "app/irrlicht_adapters.h"

BrightnessImage::BrightnessImage(const PixelImage& original)
    : width_(original.width()), height_(original.height()) {
    brightness_.reserve(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const PixelColour colour = original.pixel(x, y);
            brightness_.push_back(static_cast<std::uint8_t>((colour.red + colour.green + colour.blue) / 3));
        }
    }
}

PixelColour BrightnessImage::pixel(int x, int y) const {
    const std::uint8_t value = brightness_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                           static_cast<std::size_t>(x)];
    return {value, value, value};
}

std::future<std::unique_ptr<PixelImage>> startReadingDensityPicture(irr::video::IVideoDriver* driver,
                                                                    std::string path) {
    return std::async(std::launch::async, [driver, path = std::move(path)]() -> std::unique_ptr<PixelImage> {
        const std::unique_ptr<PixelImage> full = EngineImageLoader(driver).load(path);
        if (full == nullptr) return nullptr;
        return std::make_unique<BrightnessImage>(*full);
    });
}
