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
      box_(unitBox()) {
    // A cube of few stars has only a few hundred points; uploaded once, it is still cheaper than
    // sent again every frame, which the driver does below 500 points. Only meshes marked for
    // upload, as the markers and stalks are, go to the graphics card at all.
    scene->getVideoDriver()->setMinHardwareBufferVertexCount(0);
}

void SceneMarkers::setStalks(bool on) {
    switches_.stalks = on;
    showStalks();
}

void SceneMarkers::setLabels(bool on) { switches_.labels = on; }

void SceneMarkers::setSurroundings(bool on) {
    switches_.surroundings = on;
    lastPick_.reset();
    showSurroundings();
}

void SceneMarkers::setFilter(StarFilter filter) {
    filter_ = std::move(filter);
    for (CubeBatch& batch : batches_)
        if (batch.cube != nullptr) adopt(batch, *batch.cube, batch.node);
    showMarkers();
}

void SceneMarkers::recolourStalks() {
    if (stalks_.shown()) showStalks();
}

void SceneMarkers::showRebuilt(const GalaxyWindow& window) {
    clear();
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) adopt(batches_[node], window.cube(node), node);
    indexPlaces();
    showMarkers();
}

void SceneMarkers::clear() {
    centreMarkers_.reset();
    surroundingMarkers_.reset();
    stalks_.reset();
    batches_ = {};
    byBrightness_.clear();
    places_.clear();
    lastPick_.reset();
}

bool SceneMarkers::shows(const CubeBatch& batch) const {
    return batch.cube != nullptr && (batch.node == GalaxyWindow::kCentreNode || switches_.surroundings);
}

// Takes the cube at window node `node` into the batch: the filter's verdicts, the stars'
// places and their markers' radii.
void SceneMarkers::adopt(CubeBatch& batch, const GalaxyCube& cube, int node) {
    batch.cube = &cube;
    batch.node = node;
    batch.passes.clear();
    batch.places.clear();
    batch.radii.clear();
    for (const StarRecord* star : cube.stars) {
        batch.passes.push_back(!filter_ || filter_(*star));
        batch.places.emplace_back(star->offset[0], star->offset[1], star->offset[2]);
        batch.radii.push_back(markerRadius(*star->physical, cube.count));
    }
}

// Builds every mesh again from the batches: the centre cube's markers, its stalks and the
// order of its names, and the surrounding cubes' markers.
void SceneMarkers::showMarkers() {
    lastPick_.reset();
    centreMarkers_.reset();
    const std::vector<PlacedShape> placed = markerShapes(centre());
    if (!placed.empty()) centreMarkers_.show(scene_, {markerMesh(placed)}, irr::core::vector3df(0, 0, 0));
    sortByBrightness();
    showStalks();
    showSurroundings();
}

// The surrounding cubes' markers, all in one mesh, while the surroundings are on.
void SceneMarkers::showSurroundings() {
    surroundingMarkers_.reset();
    if (!switches_.surroundings) return;
    std::vector<PlacedShape> placed;
    for (const CubeBatch& batch : batches_) {
        if (batch.cube == nullptr || batch.node == GalaxyWindow::kCentreNode) continue;
        const std::vector<PlacedShape> cube = markerShapes(batch);
        placed.insert(placed.end(), cube.begin(), cube.end());
    }
    if (!placed.empty()) surroundingMarkers_.show(scene_, {markerMesh(placed)}, irr::core::vector3df(0, 0, 0));
}

// The batch's shown markers, each where it lies from the centre cube's middle.
std::vector<PlacedShape> SceneMarkers::markerShapes(const CubeBatch& batch) const {
    std::vector<PlacedShape> placed;
    const irr::core::vector3df shift = shiftOf(batch.node);
    for (std::size_t i = 0; i < batch.places.size(); ++i) {
        if (!batch.passes[i]) continue;
        const float radius = batch.radii[i];
        placed.push_back({batch.places[i] + shift, irr::core::vector3df(radius, radius, radius),
                          colourOf(*batch.cube->stars[i])});
    }
    return placed;
}

irr::scene::SMesh* SceneMarkers::markerMesh(const std::vector<PlacedShape>& placed) const {
    return discMaterial_ >= 0 ? batchMesh(marker_, placed, static_cast<irr::video::E_MATERIAL_TYPE>(discMaterial_), false)
                              : batchMesh(marker_, placed, irr::video::EMT_SOLID, true);
}

void SceneMarkers::sortByBrightness() {
    const CubeBatch& batch = centre();
    byBrightness_.resize(batch.places.size());
    for (std::size_t i = 0; i < byBrightness_.size(); ++i) byBrightness_[i] = i;
    if (batch.cube == nullptr) return;
    const std::vector<StarRecord*>& stars = batch.cube->stars;
    std::stable_sort(byBrightness_.begin(), byBrightness_.end(), [&](std::size_t a, std::size_t b) {
        return stars[a]->physical->luminosity > stars[b]->physical->luminosity;
    });
}

// A stalk runs from its star straight down (or up) to the cube's middle plane, green for the
// stars one jump from the route's end and in its marker's colour otherwise.
void SceneMarkers::showStalks() {
    stalks_.reset();
    const CubeBatch& batch = centre();
    if (!switches_.stalks || batch.cube == nullptr) return;
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
    stalks_.show(scene_, {batchMesh(box_, placed, irr::video::EMT_SOLID, false)}, irr::core::vector3df(0, 0, 0));
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
    if (!shows(batch) || found->second.index >= batch.places.size()) return nullptr;
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
        if (!shows(batch)) continue;
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
    const CubeBatch& batch = centre();
    if (!switches_.labels || labelFont_ == nullptr || !shows(batch)) return;
    const int width = static_cast<int>(screen.Width), height = static_cast<int>(screen.Height);
    LabelSpace space(width, height);
    for (const std::size_t i : byBrightness_) {
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
