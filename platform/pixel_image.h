#pragma once
// A picture the core reads pixels from (the HR reference image, the galaxy's density
// picture). The atlas gives it the engine's images; the command line and the tests read
// picture files directly. Neither the core nor its callers need to know which.

#include <cstdint>
#include <memory>
#include <string>

struct PixelColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

class PixelImage {
public:
    virtual ~PixelImage() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Colour at column x, row y (row 0 at the top); the caller keeps inside the picture.
    virtual PixelColour pixel(int x, int y) const = 0;

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width() && y < height(); }
};

// Loads pictures by path; returns null when a file cannot be read as a picture.
class ImageLoader {
public:
    virtual ~ImageLoader() = default;
    virtual std::unique_ptr<PixelImage> load(const std::string& path) const = 0;
};
