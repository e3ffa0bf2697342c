#include "galaxy/galaxy_catalogue.h"

GalaxyCatalogue::~GalaxyCatalogue() { clearStars(); }

void GalaxyCatalogue::clearStars() {
    for (StarRecord* star : stars) delete star;
    stars.clear();
    count = 0;
    customstars.clear();
    cubeindex_.clear();
}

void GalaxyCatalogue::buildCubeIndex() {
    cubeindex_.clear();
    for (StarRecord* star : stars)
        if (star != nullptr) cubeindex_[{star->cube.x, star->cube.y, star->cube.z}].push_back(star);
}

const std::vector<StarRecord*>& GalaxyCatalogue::starsInCube(int x, int y, int z) const {
    static const std::vector<StarRecord*> kNone;
    const auto found = cubeindex_.find({x, y, z});
    return found == cubeindex_.end() ? kNone : found->second;
}
