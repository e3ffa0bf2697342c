#include "galaxy/galaxy_catalogue.h"

void GalaxyCatalogue::clearStars() {
    stars.clear();
    count = 0;
    customstars.clear();
    cubeindex_.clear();
}

std::size_t GalaxyCatalogue::CubeHash::operator()(const std::tuple<int, int, int>& cube) const {
    const auto [x, y, z] = cube;
    std::uint64_t key = static_cast<std::uint32_t>(x);
    key = key * 0x9E3779B97F4A7C15ull + static_cast<std::uint32_t>(y);
    key = key * 0x9E3779B97F4A7C15ull + static_cast<std::uint32_t>(z);
    return static_cast<std::size_t>(key ^ (key >> 29));
}

void GalaxyCatalogue::buildCubeIndex() {
    cubeindex_.clear();
    cubeindex_.reserve(stars.size());
    for (std::size_t i = 0; i < stars.size(); ++i) {
        StarRecord* star = stars[i].get();
        if (star == nullptr) continue;
        star->id = StarId::catalogueStar(static_cast<std::int32_t>(i));
        cubeindex_[{star->cube.x, star->cube.y, star->cube.z}].push_back(star);
    }
}

const std::vector<StarRecord*>& GalaxyCatalogue::starsInCube(int x, int y, int z) const {
    static const std::vector<StarRecord*> kNone;
    const auto found = cubeindex_.find({x, y, z});
    return found == cubeindex_.end() ? kNone : found->second;
}

StarRecord* GalaxyCatalogue::star(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= stars.size()) return nullptr;
    return stars[static_cast<std::size_t>(index)].get();
}
