#pragma once
// The galaxy's density picture, read on a worker thread while the start-up goes on, and held
// as one brightness a pixel: the galaxy model reads nothing else of it, and two thirds of the
// memory the full colours took stay free.

#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include <irrlicht/irrlicht.h>

#include "platform/pixel_image.h"

// A picture reduced to its brightness: each pixel grey at the mean of the original's red,
// green and blue, rounded down, so that the mean of a pixel here is the original's.
class BrightnessImage : public PixelImage {
public:
    explicit BrightnessImage(const PixelImage& original);
    // From an engine picture; quicker for the JPEG reader's 24-bit pictures.
    explicit BrightnessImage(irr::video::IImage& original);
    int width() const override { return width_; }
    int height() const override { return height_; }
    PixelColour pixel(int x, int y) const override;

private:
    BrightnessImage(int width, int height) : width_(width), height_(height) {}

    int width_;
    int height_;
    std::vector<std::uint8_t> brightness_;
};

// Reads the picture at `path` on a worker thread through an engine of its own that has no
// window, so that the reading starts before the atlas's window is open. Made and dropped on the
// thread that opens the window: the engines share their log. The engine's JPEG reader keeps the
// name of the file it reads in shared state: no other JPEG may be read until it is taken.
class DensityPictureReader {
public:
    explicit DensityPictureReader(const std::string& path);
    ~DensityPictureReader();
    DensityPictureReader(const DensityPictureReader&) = delete;
    DensityPictureReader& operator=(const DensityPictureReader&) = delete;

    // Waits for the picture; null when the file cannot be read as a picture. Once only.
    std::unique_ptr<PixelImage> take();

private:
    irr::IrrlichtDevice* engine_ = nullptr;
    std::future<std::unique_ptr<PixelImage>> picture_;
};
