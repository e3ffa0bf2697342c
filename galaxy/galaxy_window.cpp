#include "galaxy/galaxy_window.h"

#include <algorithm>
#include <cmath>

#include "galaxy/cube_population.h"
#include "galaxy/mwc_random.h"
#include "generation/lcg_random.h"
#include "galaxy/population_model.h"

namespace {

int truncated(float value) { return static_cast<int>(std::trunc(value)); }

// A cube leaves the window: the catalogue stars it listed live on without their systems.
void release(std::unique_ptr<GalaxyCube>& cube) {
    if (cube == nullptr) return;
    if (cube->systemsgenerated) releaseSystems(*cube);
    cube.reset();
}

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
        if (star->systemfromfile) continue;
        star->system.reset();
        star->systemready = 0;
    }
    cube.systemsgenerated = 0;
}

GalaxyWindow::GalaxyWindow(GalaxyCatalogue& catalogue) : catalogue_(catalogue) {}

GalaxyWindow::~GalaxyWindow() { releaseAll(); }

void GalaxyWindow::releaseAll() {
    for (auto& node : nodes_) release(node);
}

std::unique_ptr<GalaxyCube> GalaxyWindow::populated(int x, int y, int z, int catalogueLimit) {
    auto cube = std::make_unique<GalaxyCube>();
    const int brightness = densityBrightness(catalogue_.densityimage.get(), x, y);
    populateCube(catalogue_, *cube, x, y, z, brightness, false, catalogueLimit);
    return cube;
}

void GalaxyWindow::generateCentreSystems() {
    generateSystems(*nodes_[kCentreNode], truncated(centre_[0]), truncated(centre_[1]),
                    truncated(centre_[2]), catalogue_.systemseed, catalogue_.starRandom,
                    catalogue_.systemRandom);
}

StarRecord* GalaxyWindow::find(const StarId& id) const {
    if (id.isCatalogue()) return catalogue_.star(id.index);
    if (!id.isGenerated() || id.index < 0) return nullptr;
    for (const auto& node : nodes_) {
        if (node == nullptr || node->index != id.cube) continue;
        if (static_cast<std::size_t>(id.index) >= node->generated.size()) return nullptr;
        return &node->generated[static_cast<std::size_t>(id.index)];
    }
    return nullptr;
}

void GalaxyWindow::rebuild(float x, float y, float z) {
    releaseAll();
    centre_ = {x, y, z};
    for (int dz = -1; dz <= 1; ++dz)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                nodes_[nodeIndex(dx, dy, dz)] =
                    populated(truncated(x + static_cast<float>(dx)), truncated(y + static_cast<float>(dy)),
                              truncated(z + static_cast<float>(dz)), -1);
    generateCentreSystems();
}

void GalaxyWindow::move(int direction) {
    if (direction < 1 || direction > 6 || !built()) return;
    const int axis = (direction - 1) / 2;
    const int sign = direction % 2 == 1 ? 1 : -1;

    for (auto& node : nodes_)
        if (node->systemsgenerated) releaseSystems(*node);

    // The trailing face leaves; the others shift one place back.
    std::array<std::unique_ptr<GalaxyCube>, kCubeCount> moved;
    for (int node = 0; node < kCubeCount; ++node) {
        int offset[3] = {node % 3 - 1, (node / 3) % 3 - 1, node / 9 - 1};
        if (offset[axis] == -sign) {
            release(nodes_[node]);
            continue;
        }
        offset[axis] -= sign;
        moved[nodeIndex(offset[0], offset[1], offset[2])] = std::move(nodes_[node]);
    }
    nodes_ = std::move(moved);

    // The new leading face, in node order.
    for (int node = 0; node < kCubeCount; ++node) {
        if (nodes_[node] != nullptr) continue;
        const int offset[3] = {node % 3 - 1, (node / 3) % 3 - 1, node / 9 - 1};
        int index[3];
        for (int a = 0; a < 3; ++a)
            index[a] = truncated(centre_[a]) + (a == axis ? 2 * sign : offset[a]);
        nodes_[node] = populated(index[0], index[1], index[2], kCatalogueStarsPerCube);
    }
    centre_[axis] += static_cast<float>(sign);
    generateCentreSystems();
}
