#include "galaxy/galaxy_window.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <system_error>
#include <utility>

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

std::vector<std::unique_ptr<GeneratedSystem>> systemsFor(const GalaxyCube& cube, int x, int y, int z,
                                                         double systemseed, MwcRandom& random,
                                                         LcgRandom& systemRandom) {
    const std::uint32_t seedA = static_cast<std::uint32_t>(y) * 4165u + static_cast<std::uint32_t>(x);
    const double heightSeed =
        static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(z) * 1000u));
    random.seed(seedA, low32Bits(heightSeed + systemseed));
    std::vector<std::unique_ptr<GeneratedSystem>> systems(cube.stars.size());
    for (std::size_t i = 0; i < cube.stars.size(); ++i) {
        const StarRecord& star = *cube.stars[i];
        if (star.systemfromfile) continue;
        const double seed = random.uniform(0.0, 4294967295.0);
        systems[i] = std::make_unique<GeneratedSystem>();
        systems[i]->generateFor(seed, *star.physical, systemRandom);
    }
    return systems;
}

void installSystems(GalaxyCube& cube, std::vector<std::unique_ptr<GeneratedSystem>> systems) {
    for (std::size_t i = 0; i < cube.stars.size() && i < systems.size(); ++i) {
        if (systems[i] == nullptr) continue;
        cube.stars[i]->system = std::move(systems[i]);
        cube.stars[i]->systemready = 1;
    }
    cube.systemsgenerated = 1;
}

void generateSystems(GalaxyCube& cube, int x, int y, int z, double systemseed, MwcRandom& random,
                     LcgRandom& systemRandom) {
    installSystems(cube, systemsFor(cube, x, y, z, systemseed, random, systemRandom));
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

GalaxyWindow::~GalaxyWindow() {
    // A begun move is carried through, so the catalogue is left as the same moves made in place
    // would leave it. A move whose work failed has nothing to take over, and with the window
    // going there is no one left to tell.
    try {
        settle();
    } catch (...) {
    }
    releaseAll();
}

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
    settle();
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

const GalaxyCube& GalaxyWindow::nextCentre(const WindowStep& step) const {
    std::array<int, 3> offset{0, 0, 0};
    offset[step.axis] = step.sign;
    return *nodes_[nodeIndex(offset[0], offset[1], offset[2])];
}

void GalaxyWindow::move(int direction) {
    settle();
    if (direction < 1 || direction > 6 || !built()) return;
    WindowStep step = startStep(direction, centre_, catalogue_);
    workOutStep(step, catalogue_, nextCentre(step));
    takeOver(std::move(step));
}

bool GalaxyWindow::beginMove(int direction) {
    settle();
    if (direction < 1 || direction > 6 || !built()) return false;
    const auto begin = [this, direction](std::launch policy) {
        WindowStep step = startStep(direction, centre_, catalogue_);
        const GalaxyCube& next = nextCentre(step);
        pending_ = std::async(policy, [step = std::move(step), this, &next]() mutable {
            workOutStep(step, catalogue_, next);
            return std::move(step);
        });
    };
    try {
        begin(std::launch::async);
    } catch (const std::system_error&) {
        // No thread to be had: the frame that takes the move over works it out.
        begin(std::launch::deferred);
    }
    return true;
}

bool GalaxyWindow::finishMoveIfReady() {
    if (!pending_.valid() || pending_.wait_for(std::chrono::seconds(0)) == std::future_status::timeout)
        return false;
    return settle();
}

bool GalaxyWindow::settle() {
    if (!pending_.valid()) return false;
    takeOver(pending_.get());
    return true;
}

// Every cube loses its systems, the trailing face leaves, the others shift one place back, the
// arriving cubes fill the leading face and the new centre gets its systems.
void GalaxyWindow::takeOver(WindowStep step) {
    for (auto& node : nodes_)
        if (node->systemsgenerated) releaseSystems(*node);
    std::array<std::unique_ptr<GalaxyCube>, kCubeCount> moved;
    for (int node = 0; node < kCubeCount; ++node) {
        std::array<int, 3> offset = nodeOffset(node);
        if (offset[step.axis] == -step.sign) {
            release(nodes_[node]);
            continue;
        }
        offset[step.axis] -= step.sign;
        moved[nodeIndex(offset[0], offset[1], offset[2])] = std::move(nodes_[node]);
    }
    for (auto& [node, cube] : step.arriving) moved[node] = std::move(cube);
    nodes_ = std::move(moved);
    step.completions.commit();
    centre_ = step.centre;
    centre_[step.axis] += static_cast<float>(step.sign);
    installSystems(*nodes_[kCentreNode], std::move(step.centreSystems));
    catalogue_.starRandom = step.starRandom;
    catalogue_.systemRandom = step.systemRandom;
}
