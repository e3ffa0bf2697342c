#include "app/view_logic.h"

#include <algorithm>

int MapProjection::mapX(int screen) const {
    return static_cast<int>(static_cast<float>(screen - W / 2) * zoom + static_cast<float>(centreX - pictureWidth / 2));
}

int MapProjection::mapY(int screen) const {
    return static_cast<int>(-(static_cast<float>(screen - H / 2) * zoom + static_cast<float>(centreY - pictureHeight / 2)));
}

int MapProjection::screenX(int map) const {
    return static_cast<int>((static_cast<float>(map) - static_cast<float>(centreX - pictureWidth / 2)) / zoom +
                            static_cast<float>(W / 2));
}

int MapProjection::screenY(int map) const {
    return static_cast<int>((static_cast<float>(-map) - static_cast<float>(centreY - pictureHeight / 2)) / zoom +
                            static_cast<float>(H / 2));
}

float MapProjection::widestZoom() const {
    return W > 0 ? static_cast<float>(pictureWidth) / static_cast<float>(W) : 1.0f;
}

void MapProjection::zoomOut() {
    if (zoom < widestZoom()) zoom = std::min(zoom * 1.1f, widestZoom());
}

void MapProjection::zoomIn() { zoom = std::max(zoom * 0.9f, kClosestZoom); }

int MapProjection::regionWidth() const { return std::max(1, static_cast<int>(static_cast<float>(W) * zoom)); }

int MapProjection::regionHeight() const { return std::max(1, static_cast<int>(static_cast<float>(H) * zoom)); }

namespace {

int clampedCentre(int centre, int region, int picture) {
    if (region >= picture) return picture / 2;
    return std::clamp(centre, region / 2, picture - region + region / 2);
}

}  // namespace

void MapProjection::clampCentre() {
    centreX = clampedCentre(centreX, regionWidth(), pictureWidth);
    centreY = clampedCentre(centreY, regionHeight(), pictureHeight);
}

bool CommandMemory::accept(int id) {
    if (id == last_) return false;
    last_ = id;
    return true;
}

int nextQualifyingIndex(int count, int start, int step, const std::function<bool(int)>& qualifies) {
    int index = start;
    for (int tries = 0; tries < count; ++tries) {
        index += step;
        if (index >= count) index = 0;
        if (index < 0) index = count - 1;
        if (qualifies(index)) return index;
    }
    return start;
}

bool DoubleClick::activate() {
    if (armed_) {
        armed_ = false;
        return true;
    }
    armed_ = true;
    timer_ = 0.0f;
    return false;
}

void DoubleClick::advance(float seconds) {
    if (!armed_) return;
    if (timer_ <= 1.0f) timer_ += seconds;
    if (timer_ > 1.0f) armed_ = false;
}
