#include "app/sprite_layout.h"

#include <algorithm>
#include <cmath>

SheetRect bodyThumbnail(PlanetType type) {
    switch (type) {
    case ice: return {30, 0, 93, 63};
    case rock: return {30, 64, 93, 127};
    case terrestrial: return {30, 128, 93, 191};
    case asteroids: return {30, 192, 93, 255};
    case oneface: return {94, 0, 157, 63};
    case martian: return {94, 64, 157, 127};
    case oceanic: return {94, 128, 157, 191};
    case venusian: return {94, 192, 157, 255};
    case icegiant: return {158, 0, 285, 127};
    case sudarskyi: return {158, 128, 285, 255};
    case sudarskyii: return {286, 0, 413, 127};
    case sudarskyiii: return {286, 128, 413, 255};
    case sudarskyiv: return {414, 0, 541, 127};
    case sudarskyv: return {414, 128, 541, 255};
    case gasdwarf: return {542, 0, 669, 127};
    case jovian: return {158, 128, 285, 255};
    default: return {30, 64, 93, 127};
    }
}

std::optional<SheetRect> pictogramBody(PlanetType type) {
    if (type == gasdwarf) return SheetRect{541, 0, 669, 127};
    if (type == jovian) return SheetRect{286, 0, 541, 255};
    if (type == unknown || type < 0 || type > 16) return std::nullopt;
    return bodyThumbnail(type);
}

std::optional<SheetRect> starSprite(const StellarData& star) {
    const std::string& sc = star.spectralclass;
    if (sc == "O") return SheetRect{0, 128, 14, 191};
    if (sc == "B") return SheetRect{0, 64, 14, 127};
    if (sc == "A") return SheetRect{0, 0, 14, 63};
    if (sc == "F" || sc == "DC" || star.typename_ == "Neutron Star") return SheetRect{15, 192, 29, 255};
    if (sc == "G") return SheetRect{15, 128, 29, 191};
    if (sc == "K") return SheetRect{15, 64, 29, 127};
    if (sc == "M") return SheetRect{15, 0, 29, 63};
    return std::nullopt;
}

std::optional<SheetRect> starTarget(const StellarData& star, int top) {
    const std::string& lum = star.lumclass;
    if (lum == "V") return SheetRect{0, top + 68, 15, top + 132};
    if (lum == "IV") return SheetRect{0, top + 60, 15, top + 140};
    if (lum == "III") return SheetRect{0, top + 40, 15, top + 160};
    if (lum == "II") return SheetRect{0, top + 30, 15, top + 170};
    if (lum == "I" || lum == "Ia" || lum == "Ib" || lum == "Ia0") return SheetRect{0, top + 10, 15, top + 190};
    if (star.spectralclass == "DC") return SheetRect{0, top + 80, 15, top + 120};
    if (star.typename_ == "Neutron Star") return SheetRect{0, top + 90, 8, top + 110};
    return std::nullopt;
}

double largestPlanetRadius(const GeneratedSystem& system) {
    double largest = 40000.0;
    for (const PlanetSlot& slot : system.planets)
        if (!slot.bodies.empty()) largest = std::max(largest, slot.bodies[0].radius);
    return largest;
}

int bodyEdge(const PlanetRecord& body, int size, double largest) {
    if (body.type == asteroids) return size / 4;
    const double edge = std::trunc(std::sqrt(std::max(0.0, body.radius)) * size / std::sqrt(largest));
    return std::isfinite(edge) ? static_cast<int>(edge) : 0;
}
