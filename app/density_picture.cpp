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

BrightnessImage::BrightnessImage(irr::video::IImage& original)
    : BrightnessImage(static_cast<int>(original.getDimension().Width), static_cast<int>(original.getDimension().Height)) {
    if (original.getColorFormat() != irr::video::ECF_R8G8B8) {
        original.grab();  // the wrapper drops it again
        *this = BrightnessImage(static_cast<const PixelImage&>(EngineImage(&original)));
        return;
    }
    // Red, green and blue bytes in a row; their sum does not care which is which.
    const auto* rows = static_cast<const std::uint8_t*>(original.lock());
    brightness_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    std::uint8_t* out = brightness_.data();
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* in = rows + static_cast<std::size_t>(y) * original.getPitch();
        for (int x = 0; x < width_; ++x, in += 3) *out++ = static_cast<std::uint8_t>((in[0] + in[1] + in[2]) / 3);
    }
    original.unlock();
}

PixelColour BrightnessImage::pixel(int x, int y) const {
    const std::uint8_t value = brightness_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                           static_cast<std::size_t>(x)];
    return {value, value, value};
}

DensityPictureReader::DensityPictureReader(const std::string& path) {
    irr::SIrrlichtCreationParameters parameters;
    parameters.DriverType = irr::video::EDT_NULL;
    parameters.LoggingLevel = irr::ELL_WARNING;
    engine_ = irr::createDeviceEx(parameters);
    if (engine_ == nullptr) return;
    irr::video::IVideoDriver* driver = engine_->getVideoDriver();
    picture_ = std::async(std::launch::async, [driver, path]() -> std::unique_ptr<PixelImage> {
        irr::video::IImage* full = driver->createImageFromFile(path.c_str());
        if (full == nullptr) return nullptr;
        auto brightness = std::make_unique<BrightnessImage>(*full);
        full->drop();
        return brightness;
    });
}

DensityPictureReader::~DensityPictureReader() {
    if (picture_.valid()) picture_.wait();
    if (engine_ != nullptr) engine_->drop();
}

std::unique_ptr<PixelImage> DensityPictureReader::take() {
    return picture_.valid() ? picture_.get() : nullptr;
}
