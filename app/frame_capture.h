#pragma once
// Pictures of the window for tests and documentation. The engine's own screenshot reads the
// front buffer, which Mesa under Xvfb leaves black, so the back buffer is read before the
// frame is presented.

#include <string>

#include <irrlicht/irrlicht.h>

// Writes the back buffer of the frame being drawn to `path` (PNG, BMP... by extension).
bool captureBackBuffer(irr::video::IVideoDriver* driver, const std::string& path);
