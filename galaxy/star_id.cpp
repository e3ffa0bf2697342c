#include "galaxy/star_id.h"

#include <functional>

std::size_t StarIdHash::operator()(const StarId& id) const {
    std::size_t hash = std::hash<std::int64_t>{}((static_cast<std::int64_t>(id.kind) << 32) | static_cast<std::uint32_t>(id.index));
    if (id.kind == StarId::kCatalogue) return hash;
    for (const std::int32_t coordinate : {id.cube.x, id.cube.y, id.cube.z})
        hash = hash * 1000003u ^ std::hash<std::int32_t>{}(coordinate);
    return hash;
}

std::string starIdText(const StarId& id) {
    switch (id.kind) {
    case StarId::kCatalogue: return "catalogue star " + std::to_string(id.index);
    case StarId::kGenerated:
        return "star " + std::to_string(id.index) + " of cube (" + std::to_string(id.cube.x) + ", " +
               std::to_string(id.cube.y) + ", " + std::to_string(id.cube.z) + ")";
    default: return "unnamed star";
    }
}
