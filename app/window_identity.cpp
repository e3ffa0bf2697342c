#include "app/window_identity.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

void nameWindow(irr::IrrlichtDevice* device) {
    device->setWindowCaption(L"Starvane");
    // The engine sets no class hint of its own; the window is an X11 one on this platform.
    const irr::video::SExposedVideoData& window = device->getVideoDriver()->getExposedVideoData();
    auto* display = static_cast<Display*>(window.OpenGLLinux.X11Display);
    if (display == nullptr || window.OpenGLLinux.X11Window == 0) return;
    char instance[] = "starvane";
    char windowClass[] = "Starvane";
    XClassHint hint{instance, windowClass};
    XSetClassHint(display, static_cast<Window>(window.OpenGLLinux.X11Window), &hint);
    XFlush(display);
}
