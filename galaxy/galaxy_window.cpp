#include "galaxy/galaxy_window.h"

#include <algorithm>
#include <cmath>

#include "galaxy/cube_population.h"
#include "galaxy/mwc_random.h"
#include "generation/lcg_random.h"
#include "galaxy/population_model.h"

namespace {

int truncated(float value) { return static_cast<int>(std::trunc(value)); }

}  // namespace

void generateSystems(GalaxyCube& cube, int x, int y, int z, double systemseed, MwcRandom& random,
                     LcgRandom& systemRandom) {
    const std::uint32_t seedA = static_cast<std::uint32_t>(y) * 4165u + static_cast<std::uint32_t>(x);
    const double heightSeed =
        static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(z) * 1000u));
    random.seed(seedA, low32Bits(heightSeed + systemseed));
    for (StarRecord* star : cube.stars) {
        if (star->systemfromfile) continue;
        const double seed = random.uniform(0.0, 4294967295.0);
        star->system = std::make_unique<GeneratedSystem>();
        star->system->generateFor(seed, *star->physical, systemRandom);
        star->systemready = 1;
    }
    cube.systemsgenerated = 1;
}

void releaseSystems(GalaxyCube& cube) {
    for (StarRecord* star : cube.stars) {
        if (star->systemfromfile || star->jumpnode) continue;
        star->system.reset();
        star->systemready = 0;
    }
    cube.systemsgenerated = 0;
}

void releaseCube(GalaxyCube& cube, CubeDisplay& display, KeptStars& kept) {
    if (cube.markersshown || cube.labelsshown || cube.stalksshown) {
        display.removeNodes(cube);
        for (StarRecord* star : cube.stars) star->alias = "BiblBabl";
    }
    if (cube.systemsgenerated) releaseSystems(cube);
    for (StarRecord* star : cube.stars) {
        if (star->custom) continue;
        if (star->jumpnode)
            kept.keep(star);
        else
            delete star;
    }
    cube.stars.clear();
    cube.count = 0;
}

void releaseCube(GalaxyCube& cube, CubeDisplay& display) {
    KeptStars passing;
    releaseCube(cube, display, passing);
}

GalaxyWindow::GalaxyWindow(GalaxyCatalogue& catalogue, CubeDisplay& display, KeptStars& kept)
    : catalogue_(catalogue), display_(display), kept_(kept) {}

GalaxyWindow::GalaxyWindow(GalaxyCatalogue& catalogue, CubeDisplay& display)
    : catalogue_(catalogue), display_(display), kept_(ownkept_) {}

GalaxyWindow::~GalaxyWindow() { releaseAll(); }

void GalaxyWindow::releaseAll() {
    kept_.collect();
    for (auto& node : nodes_) {
        if (node == nullptr) continue;
        releaseCube(*node, display_, kept_);
        node.reset();
    }
}

void GalaxyWindow::populate(GalaxyCube& cube, int x, int y, int z, int catalogueLimit) {
    const int brightness = densityBrightness(catalogue_.densityimage.get(), x, y);
    populateCube(catalogue_, cube, x, y, z, brightness, false, catalogueLimit);
}

void GalaxyWindow::generateCentreSystems() {
    generateSystems(*nodes_[kCentreNode], truncated(centre_[0]), truncated(centre_[1]),
                    truncated(centre_[2]), catalogue_.systemseed, catalogue_.starRandom,
                    catalogue_.systemRandom);
}

void GalaxyWindow::rebuild(float x, float y, float z) {
    releaseAll();
    centre_ = {x, y, z};
    for (int dz = -1; dz <= 1; ++dz)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int node = nodeIndex(dx, dy, dz);
                nodes_[node] = std::make_unique<GalaxyCube>();
                populate(*nodes_[node], truncated(x + static_cast<float>(dx)),
                         truncated(y + static_cast<float>(dy)),
                         truncated(z + static_cast<float>(dz)), -1);
                if (catalogue_.surroundings || node == kCentreNode)
                    display_.createMarkers(*nodes_[node], dx, dy, dz);
            }
    for (int dz = -1; dz <= 1; ++dz)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                display_.createLabelsAndStalks(*nodes_[nodeIndex(dx, dy, dz)], dx, dy, dz);
    generateCentreSystems();
}

void GalaxyWindow::move(int direction) {
    if (direction < 1 || direction > 6 || !built()) return;
    const int axis = (direction - 1) / 2;
    const int sign = direction % 2 == 1 ? 1 : -1;

    kept_.collect();
    for (auto& node : nodes_)
        if (node->systemsgenerated) releaseSystems(*node);

    std::array<std::unique_ptr<GalaxyCube>, kCubeCount> moved;
    std::array<int, kCubeCount> recycled{};
    int recycledCount = 0;
    for (int dz = -1; dz <= 1; ++dz)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                int offset[3] = {dx, dy, dz};
                std::unique_ptr<GalaxyCube> cube = std::move(nodes_[nodeIndex(dx, dy, dz)]);
                if (offset[axis] == -sign) {
                    // The trailing face becomes the new leading face.
                    releaseCube(*cube, display_, kept_);
                    offset[axis] = sign;
                    recycled[recycledCount++] = nodeIndex(offset[0], offset[1], offset[2]);
                } else {
                    offset[axis] -= sign;
                    display_.moveNodes(*cube, offset[0], offset[1], offset[2]);
                }
                moved[nodeIndex(offset[0], offset[1], offset[2])] = std::move(cube);
            }
    nodes_ = std::move(moved);

    std::sort(recycled.begin(), recycled.begin() + recycledCount);
    for (int i = 0; i < recycledCount; ++i) {
        const int node = recycled[i];
        const int offset[3] = {node % 3 - 1, (node / 3) % 3 - 1, node / 9 - 1};
        int index[3];
        for (int a = 0; a < 3; ++a)
            index[a] = truncated(centre_[a]) + (a == axis ? 2 * sign : offset[a]);
        populate(*nodes_[node], index[0], index[1], index[2], kCatalogueStarsPerCube);
    }

    centre_[axis] += static_cast<float>(sign);
    for (int i = 0; i < recycledCount; ++i) {
        const int node = recycled[i];
        const int dx = node % 3 - 1, dy = (node / 3) % 3 - 1, dz = node / 9 - 1;
        if (catalogue_.surroundings) display_.createMarkers(*nodes_[node], dx, dy, dz);
        display_.createLabelsAndStalks(*nodes_[node], dx, dy, dz);
    }
    if (!catalogue_.surroundings && !nodes_[kCentreNode]->markersshown)
        display_.createMarkers(*nodes_[kCentreNode], 0, 0, 0);
    generateCentreSystems();
}
