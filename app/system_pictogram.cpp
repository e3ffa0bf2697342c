#include "app/system_pictogram.h"

#include <algorithm>
#include <cmath>

#include "app/sprite_layout.h"

namespace {

using irr::core::rect;
using irr::s32;

rect<s32> sheetRect(const SheetRect& r) { return rect<s32>(r.left, r.top, r.right, r.bottom); }

// The planets along the band, each with its moons below it.
void drawBodies(const AtlasContext& atlas, const GeneratedSystem& system, int top, int w) {
    const int count = system.planetcount;
    if (count <= 0) return;
    const int slotWidth = w / (count + 1);
    const int size = std::min(slotWidth - 10, 80);
    const int moonStep = size / 3;
    const double largest = largestPlanetRadius(system);
    for (int p = 0; p < count; ++p) {
        const PlanetSlot& slot = system.planets[static_cast<std::size_t>(p)];
        const int x = (p + 1) * slotWidth;
        int height = 0;
        for (std::size_t j = 0; j < slot.bodies.size(); ++j) {
            const PlanetRecord& body = slot.bodies[j];
            const auto source = pictogramBody(body.type);
            const int edge = bodyEdge(body, size, largest);
            const int centreY = j == 0 ? top + size / 2 : top + size / 2 + height / 2 + static_cast<int>(j) * moonStep;
            if (j == 0) height = edge;
            if (!source || edge <= 0) continue;
            atlas.driver->draw2DImage(atlas.thumbnails,
                                      rect<s32>(x - edge / 2, centreY - edge / 2, x + edge / 2, centreY + edge / 2),
                                      sheetRect(*source), nullptr, nullptr, true);
        }
    }
}

}  // namespace

void drawSystemPictogram(const AtlasContext& atlas, const StarRecord& star) {
    if (atlas.thumbnails == nullptr || !star.system || !star.physical) return;
    const int w = atlas.W - 200;
    const int H = atlas.H;
    int top, bottom;
    if (atlas.receiver.mousey >= H / 2) {
        top = 0;
        bottom = static_cast<int>(std::trunc(0.24 * w));
    } else {
        top = static_cast<int>(std::trunc(H - 0.24 * w));
        bottom = H;
    }
    atlas.driver->draw2DRectangle(irr::video::SColor(0xc8000000), rect<s32>(0, top, w, bottom));
    const auto sprite = starSprite(*star.physical);
    const auto target = starTarget(*star.physical, top);
    if (sprite && target)
        atlas.driver->draw2DImage(atlas.thumbnails, sheetRect(*target), sheetRect(*sprite), nullptr, nullptr, true);
    drawBodies(atlas, *star.system, top, w);
}
