#include "app/scene_markers.h"

#include <algorithm>
#include <utility>

#include "app/irrlicht_adapters.h"
#include "app/label_space.h"
#include "app/star_markers.h"

namespace {

// Where the cube at window node `node` lies from the centre cube, in scene axes (x, up, y).
irr::core::vector3df shiftOf(int node) {
    const int dx = node % 3 - 1, dy = (node / 3) % 3 - 1, dz = node / 9 - 1;
    return {10.0f * static_cast<float>(dx), 10.0f * static_cast<float>(dz), 10.0f * static_cast<float>(dy)};
}

// A cube's markers may be drawn in blocks, kBlocks along each edge, each a mesh of its own, so
// that the engine skips the blocks out of view. Measured with the surrounding cubes shown, the
// 27 draws of whole cubes cost less than the 729 of blocks saved by being skipped: one block.
constexpr int kBlocks = 1;

// The block along one axis of a star at `offset` (-5 to 5) inside its cube.
std::size_t blockOf(float offset) {
    return static_cast<std::size_t>(std::clamp(static_cast<int>((offset + 5.0f) * kBlocks / 10.0f), 0, kBlocks - 1));
}

// Exactly the same ray (the engine's own comparison allows a small difference).
bool sameRay(const irr::core::line3df& a, const irr::core::line3df& b) {
    return a.start.X == b.start.X && a.start.Y == b.start.Y && a.start.Z == b.start.Z && a.end.X == b.end.X &&
           a.end.Y == b.end.Y && a.end.Z == b.end.Z;
}

irr::video::SColor opaque(PixelColour colour) { return irr::video::SColor(255, colour.red, colour.green, colour.blue); }

irr::video::SColor colourOf(const StarRecord& star) { return opaque(markerColour(star.physical->spectralclass)); }

}  // namespace

SceneMarkers::SceneMarkers(irr::scene::ISceneManager* scene, irr::gui::IGUIFont* labelFont)
    : scene_(scene),
      labelFont_(labelFont),
      discMaterial_(facingDiscMaterial(*scene->getVideoDriver())),
      marker_(discMaterial_ >= 0 ? unitDisc() : unitSphere(*scene->getGeometryCreator())),
      box_(unitBox()) {}

void SceneMarkers::setStalks(bool on) {
    switches_.stalks = on;
    if (centre().cube != nullptr) showParts(centre());
}

void SceneMarkers::setLabels(bool on) { switches_.labels = on; }

void SceneMarkers::setSurroundings(bool on) {
    switches_.surroundings = on;
    for (CubeBatch& batch : batches_)
        if (batch.cube != nullptr) showParts(batch);
}

void SceneMarkers::setFilter(StarFilter filter) {
    filter_ = std::move(filter);
    for (CubeBatch& batch : batches_)
        if (batch.cube != nullptr) adopt(batch, *batch.cube, batch.node);
}

void SceneMarkers::recolourStalks() {
    if (centre().stalks.shown()) buildStalks(centre());
}

void SceneMarkers::showRebuilt(const GalaxyWindow& window) {
    clear();
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) adopt(batches_[node], window.cube(node), node);
    indexPlaces();
}

void SceneMarkers::followMove(const GalaxyWindow& window) {
    std::array<CubeBatch, GalaxyWindow::kCubeCount> next;
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) {
        const GalaxyCube& cube = window.cube(node);
        for (CubeBatch& stayed : batches_)
            if (stayed.cube != nullptr && stayed.index == cube.index) {
                next[node] = std::move(stayed);
                stayed.cube = nullptr;
                break;
            }
        adopt(next[node], cube, node);
    }
    batches_ = std::move(next);  // the cubes that left let their meshes go
    indexPlaces();
}

void SceneMarkers::clear() {
    batches_ = {};
    places_.clear();
    lastPick_.reset();
}

// Takes the cube at window node `node` into the batch, which may hold it from before; what the
// batch shows is built again where the filter's verdict changed.
void SceneMarkers::adopt(CubeBatch& batch, const GalaxyCube& cube, int node) {
    std::vector<char> passes;
    passes.reserve(cube.stars.size());
    for (const StarRecord* star : cube.stars) passes.push_back(!filter_ || filter_(*star));
    if (batch.cube != &cube || passes != batch.passes) {
        batch.markers.reset();
        batch.stalks.reset();
        batch.byBrightness.clear();
    }
    batch.passes = std::move(passes);
    batch.cube = &cube;
    batch.index = cube.index;
    batch.node = node;
    batch.places.clear();
    batch.radii.clear();
    for (const StarRecord* star : cube.stars) {
        batch.places.emplace_back(star->offset[0], star->offset[1], star->offset[2]);
        batch.radii.push_back(markerRadius(*star->physical, cube.count));
    }
    showParts(batch);
}

// Shows what the batch's place in the window and the switches ask for: markers on the centre
// cube (on every cube with the surroundings), stalks and names on the centre cube.
void SceneMarkers::showParts(CubeBatch& batch) {
    lastPick_.reset();
    const bool isCentre = batch.node == GalaxyWindow::kCentreNode;
    const irr::core::vector3df shift = shiftOf(batch.node);
    if (isCentre || switches_.surroundings) {
        if (!batch.markers.shown()) buildMarkers(batch);
        batch.markers.moveTo(shift);
    } else {
        batch.markers.reset();
    }
    if (isCentre && switches_.stalks) {
        if (!batch.stalks.shown()) buildStalks(batch);
    } else {
        batch.stalks.reset();
    }
    if (!isCentre) {
        batch.byBrightness.clear();
    } else if (batch.byBrightness.size() != batch.places.size()) {
        batch.byBrightness.resize(batch.places.size());
        for (std::size_t i = 0; i < batch.byBrightness.size(); ++i) batch.byBrightness[i] = i;
        const std::vector<StarRecord*>& stars = batch.cube->stars;
        std::stable_sort(batch.byBrightness.begin(), batch.byBrightness.end(), [&](std::size_t a, std::size_t b) {
            return stars[a]->physical->luminosity > stars[b]->physical->luminosity;
        });
    }
}

void SceneMarkers::buildMarkers(CubeBatch& batch) {
    std::array<std::vector<PlacedShape>, kBlocks * kBlocks * kBlocks> blocks;
    for (std::size_t i = 0; i < batch.places.size(); ++i) {
        if (!batch.passes[i]) continue;
        const irr::core::vector3df& at = batch.places[i];
        const float radius = batch.radii[i];
        blocks[blockOf(at.X) + kBlocks * (blockOf(at.Y) + kBlocks * blockOf(at.Z))].push_back(
            {at, irr::core::vector3df(radius, radius, radius), colourOf(*batch.cube->stars[i])});
    }
    std::vector<irr::scene::SMesh*> meshes;
    for (const std::vector<PlacedShape>& placed : blocks)
        if (!placed.empty())
            meshes.push_back(discMaterial_ >= 0
                                 ? batchMesh(marker_, placed, static_cast<irr::video::E_MATERIAL_TYPE>(discMaterial_), false)
                                 : batchMesh(marker_, placed, irr::video::EMT_SOLID, true));
    batch.markers.show(scene_, meshes, shiftOf(batch.node));
}

// A stalk runs from its star straight down (or up) to the cube's middle plane, green for the
// stars one jump from the route's end and in its marker's colour otherwise.
void SceneMarkers::buildStalks(CubeBatch& batch) {
    float thickness = 0.01f;
    if (!batch.places.empty()) thickness = std::min(thickness, 1.0f / static_cast<float>(batch.places.size()));
    std::vector<PlacedShape> placed;
    for (std::size_t i = 0; i < batch.places.size(); ++i) {
        if (!batch.passes[i]) continue;
        const StarRecord& star = *batch.cube->stars[i];
        const irr::core::vector3df& top = batch.places[i];
        const irr::video::SColor colour = star.connected ? irr::video::SColor(255, 0, 255, 0) : colourOf(star);
        placed.push_back({irr::core::vector3df(top.X, 0.5f * top.Y, top.Z),
                          irr::core::vector3df(thickness, top.Y, thickness), colour});
    }
    batch.stalks.show(scene_, {batchMesh(box_, placed, irr::video::EMT_SOLID, false)}, shiftOf(batch.node));
}

void SceneMarkers::indexPlaces() {
    places_.clear();
    for (const CubeBatch& batch : batches_) {
        if (batch.cube == nullptr) continue;
        for (std::size_t i = 0; i < batch.cube->stars.size(); ++i) places_[batch.cube->stars[i]->id] = {batch.node, i};
    }
}

// The batch showing the star's marker, and the star's place in it; null when none shows it.
const SceneMarkers::CubeBatch* SceneMarkers::batchOf(const StarId& id, std::size_t& index) const {
    const auto found = places_.find(id);
    if (found == places_.end()) return nullptr;
    const CubeBatch& batch = batches_[found->second.node];
    if (!batch.markers.shown() || found->second.index >= batch.places.size()) return nullptr;
    index = found->second.index;
    return &batch;
}

std::optional<irr::core::vector3df> SceneMarkers::positionOf(const StarId& id) const {
    std::size_t index = 0;
    const CubeBatch* batch = batchOf(id, index);
    if (batch == nullptr) return std::nullopt;
    return batch->places[index] + shiftOf(batch->node);
}

const GalaxyCube* SceneMarkers::cubeOf(const StarId& id, std::size_t& index) const {
    const CubeBatch* batch = batchOf(id, index);
    return batch != nullptr ? batch->cube : nullptr;
}

bool SceneMarkers::visible(const StarId& id) const {
    std::size_t index = 0;
    const CubeBatch* batch = batchOf(id, index);
    return batch != nullptr && batch->passes[index];
}

std::optional<StarId> SceneMarkers::pick(const irr::core::line3df& ray) const {
    if (lastPick_ && sameRay(lastPick_->ray, ray)) return lastPick_->star;
    std::vector<PickTarget>& targets = pickTargets_;
    targets.clear();
    for (const CubeBatch& batch : batches_) {
        if (!batch.markers.shown()) continue;
        const irr::core::vector3df shift = shiftOf(batch.node);
        for (std::size_t i = 0; i < batch.places.size(); ++i) {
            const irr::core::vector3df at = batch.places[i] + shift;
            targets.push_back({batch.cube->stars[i]->id, {at.X, at.Y, at.Z}, batch.radii[i], batch.passes[i] != 0});
        }
    }
    const irr::core::vector3df direction = ray.getVector();
    lastPick_ = PickAnswer{
        ray, nearestHit({{ray.start.X, ray.start.Y, ray.start.Z}, {direction.X, direction.Y, direction.Z}}, targets)};
    return lastPick_->star;
}

// Each name sits just above its marker, in the marker's colour; a name that would overlap one
// written before (a brighter star's) is left out.
void SceneMarkers::drawLabels(irr::scene::ISceneCollisionManager& projection, const irr::core::dimension2du& screen) const {
    const CubeBatch& batch = batches_[GalaxyWindow::kCentreNode];
    if (!switches_.labels || labelFont_ == nullptr || !batch.markers.shown()) return;
    const int width = static_cast<int>(screen.Width), height = static_cast<int>(screen.Height);
    LabelSpace space(width, height);
    for (const std::size_t i : batch.byBrightness) {
        if (!batch.passes[i]) continue;
        const irr::core::vector3df top = batch.places[i] + irr::core::vector3df(0.0f, batch.radii[i], 0.0f);
        const irr::core::position2di at = projection.getScreenCoordinatesFrom3DPosition(top);
        if (at.X < -200 || at.X > width + 200 || at.Y < 0 || at.Y > height + 40) continue;  // behind, or far off
        const StarRecord& star = *batch.cube->stars[i];
        const irr::core::stringw name = widen(star.physical->name);
        const irr::core::dimension2du size = labelFont_->getDimension(name.c_str());
        const irr::core::recti box(at.X - static_cast<int>(size.Width) / 2, at.Y - 2 - static_cast<int>(size.Height),
                                   at.X - static_cast<int>(size.Width) / 2 + static_cast<int>(size.Width), at.Y - 2);
        if (box.LowerRightCorner.X <= 0 || box.UpperLeftCorner.X >= width || box.LowerRightCorner.Y <= 0) continue;
        if (!space.claim(box.UpperLeftCorner.X, box.UpperLeftCorner.Y, box.LowerRightCorner.X, box.LowerRightCorner.Y))
            continue;
        labelFont_->draw(name, box, colourOf(star));
    }
}
