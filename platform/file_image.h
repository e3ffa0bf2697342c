#pragma once
// Pictures read from BMP, JPEG and PNG files without the engine, for the command line and
// the tests.

#include <vector>

#include "platform/pixel_image.h"

// A picture held in memory as rows of RGB pixels, top row first.
class MemoryImage : public PixelImage {
public:
    MemoryImage(int width, int height, std::vector<PixelColour> pixels);
    int width() const override { return width_; }
    int height() const override { return height_; }
    PixelColour pixel(int x, int y) const override;

private:
    int width_;
    int height_;
    std::vector<PixelColour> pixels_;
};

class FileImageLoader : public ImageLoader {
public:
    std::unique_ptr<PixelImage> load(const std::string& path) const override;
};
