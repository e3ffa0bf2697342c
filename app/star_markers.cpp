#include "app/star_markers.h"

#include <algorithm>

float markerRadius(const StellarData& star, int count) {
    float k = 2.0f;
    const std::string& lum = star.lumclass;
    const std::string& sc = star.spectralclass;
    if (lum == "Ia0") k = 10.0f;
    else if (lum == "Ia") k = 9.0f;
    else if (lum == "Ib" || lum == "I") k = 8.0f;
    else if (lum == "II") k = 7.0f;
    else if (lum == "III") k = 6.0f;
    else if (lum == "IV") k = 4.0f;
    else if (sc == "DC" || sc == "Neut") k = 1.0f;
    else if (sc == "BH") k = 6.0f;
    const float half = static_cast<float>(count / 2);
    return std::min(k / half, k / 100.0f);
}

PixelColour markerColour(const std::string& sc) {
    if (sc == "B" || sc == "b") return {180, 180, 255};
    if (sc == "A" || sc == "a" || sc == "DC") return {255, 255, 255};
    if (sc == "F" || sc == "f") return {255, 255, 180};
    if (sc == "G" || sc == "g") return {255, 255, 0};
    if (sc == "K" || sc == "k") return {255, 180, 0};
    if (sc == "M" || sc == "m") return {255, 0, 0};
    if (sc == "Neut") return {255, 0, 255};
    if (sc == "BH") return {255, 0, 200};
    return {255, 255, 0};
}
