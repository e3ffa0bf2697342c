#include "app/frame_capture.h"

#include <GL/gl.h>

#include <vector>

bool captureBackBuffer(irr::video::IVideoDriver* driver, const std::string& path) {
    const irr::core::dimension2du size = driver->getScreenSize();
    if (size.Width == 0 || size.Height == 0) return false;
    const std::size_t rowBytes = static_cast<std::size_t>(size.Width) * 3;
    std::vector<unsigned char> pixels(rowBytes * size.Height);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, static_cast<GLsizei>(size.Width), static_cast<GLsizei>(size.Height), GL_RGB,
                 GL_UNSIGNED_BYTE, pixels.data());
    irr::video::IImage* image = driver->createImage(irr::video::ECF_R8G8B8, size);
    if (image == nullptr) return false;
    auto* target = static_cast<unsigned char*>(image->lock());
    const irr::u32 pitch = image->getPitch();
    for (irr::u32 y = 0; y < size.Height; ++y) {
        // OpenGL rows run bottom to top.
        const unsigned char* source = pixels.data() + (size.Height - 1 - y) * rowBytes;
        unsigned char* row = target + static_cast<std::size_t>(y) * pitch;
        for (irr::u32 x = 0; x < size.Width; ++x) {
            // The engine's R8G8B8 image holds its bytes as red, green, blue.
            row[3 * x + 0] = source[3 * x + 0];
            row[3 * x + 1] = source[3 * x + 1];
            row[3 * x + 2] = source[3 * x + 2];
        }
    }
    image->unlock();
    const bool written = driver->writeImageToFile(image, path.c_str());
    image->drop();
    return written;
}
