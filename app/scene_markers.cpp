#include "app/scene_markers.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "app/irrlicht_adapters.h"

namespace {

irr::core::vector3df markerPosition(const StarRecord& star, int dx, int dy, int dz) {
    return {star.offset[0] + 10.0f * static_cast<float>(dx), star.offset[1] + 10.0f * static_cast<float>(dz),
            star.offset[2] + 10.0f * static_cast<float>(dy)};
}

void removeNode(irr::scene::ISceneNode*& node) {
    if (node == nullptr) return;
    node->remove();
    node = nullptr;
}

float offsetDistance(const StarRecord& a, const StarRecord& b) {
    const float x = a.offset[0] - b.offset[0];
    const float y = a.offset[1] - b.offset[1];
    const float z = a.offset[2] - b.offset[2];
    return std::sqrt(x * x + y * y + z * z);
}

irr::video::SColor emissive(PixelColour colour) { return irr::video::SColor(0, colour.red, colour.green, colour.blue); }

// The place of window node `node` from the centre cube.
struct NodeOffset {
    int dx, dy, dz;
};
NodeOffset offsetOf(int node) { return {node % 3 - 1, (node / 3) % 3 - 1, node / 9 - 1}; }

}  // namespace

SceneMarkers::SceneMarkers(irr::scene::ISceneManager* scene, irr::gui::IGUIFont* labelFont)
    : scene_(scene), labelFont_(labelFont) {
    unitSphere_ = scene_->getGeometryCreator()->createSphereMesh(1.0f, 8, 8);
    if (unitSphere_ != nullptr) unitSphere_->setHardwareMappingHint(irr::scene::EHM_STATIC);
}

SceneMarkers::~SceneMarkers() {
    if (unitSphere_ != nullptr) unitSphere_->drop();
}

void SceneMarkers::showRebuilt(const GalaxyWindow& window) {
    clear();
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) {
        const NodeOffset at = offsetOf(node);
        if (switches.surroundings || node == GalaxyWindow::kCentreNode)
            createMarkers(window.cube(node), at.dx, at.dy, at.dz);
    }
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) {
        const NodeOffset at = offsetOf(node);
        createLabelsAndStalks(window.cube(node), at.dx, at.dy, at.dz);
    }
}

void SceneMarkers::followMove(const GalaxyWindow& window) {
    std::set<CubeKey> inWindow;
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) inWindow.insert(keyOf(window.cube(node)));
    for (auto entry = cubes_.begin(); entry != cubes_.end();) {
        if (inWindow.count(entry->first) != 0) {
            ++entry;
            continue;
        }
        for (const StarId& id : entry->second.stars) removeStarNodes(id);
        entry = cubes_.erase(entry);
    }
    std::vector<int> arrived;
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) {
        const GalaxyCube& cube = window.cube(node);
        const NodeOffset at = offsetOf(node);
        if (cubes_.count(keyOf(cube)) == 0)
            arrived.push_back(node);
        else
            moveNodes(cube, at.dx, at.dy, at.dz);
    }
    for (const int node : arrived) {
        const NodeOffset at = offsetOf(node);
        if (switches.surroundings) createMarkers(window.cube(node), at.dx, at.dy, at.dz);
        createLabelsAndStalks(window.cube(node), at.dx, at.dy, at.dz);
    }
    const GalaxyCube& centre = window.cube(GalaxyWindow::kCentreNode);
    if (!switches.surroundings && !shown(centre).markers) createMarkers(centre, 0, 0, 0);
}

void SceneMarkers::clear() {
    for (auto& [id, nodes] : nodes_) removeNode(nodes.marker);  // labels and stalks go with it
    nodes_.clear();
    cubes_.clear();
}

SceneMarkers::CubeEntry& SceneMarkers::entryOf(const GalaxyCube& cube) { return cubes_[keyOf(cube)]; }

CubeShown SceneMarkers::shown(const GalaxyCube& cube) const {
    const auto found = cubes_.find(keyOf(cube));
    return found == cubes_.end() ? CubeShown{} : found->second.shown;
}

StarNodes SceneMarkers::nodesOf(const StarId& id) const {
    const auto found = nodes_.find(id);
    return found == nodes_.end() ? StarNodes{} : found->second;
}

void SceneMarkers::removeStarNodes(const StarId& id) {
    const auto found = nodes_.find(id);
    if (found == nodes_.end()) return;
    removeNode(found->second.marker);
    nodes_.erase(found);
}

void SceneMarkers::createMarkers(const GalaxyCube& cube, int dx, int dy, int dz) {
    CubeEntry& entry = entryOf(cube);
    entry.stars.clear();
    for (std::size_t i = 0; i < cube.stars.size(); ++i) {
        const StarRecord& star = *cube.stars[i];
        entry.stars.push_back(star.id);
        StarNodes& nodes = nodes_[star.id];
        if (nodes.marker != nullptr) continue;
        const float radius = markerRadius(*star.physical, cube.count);
        irr::scene::ISceneNode* node = scene_->addMeshSceneNode(
            unitSphere_, nullptr, markerId(dx, dy, dz, static_cast<int>(i)), markerPosition(star, dx, dy, dz),
            irr::core::vector3df(0, 0, 0), irr::core::vector3df(radius, radius, radius));
        if (node == nullptr) continue;
        node->setMaterialFlag(irr::video::EMF_NORMALIZE_NORMALS, true);
        node->setMaterialFlag(irr::video::EMF_LIGHTING, true);
        node->setMaterialType(irr::video::EMT_SOLID);
        node->getMaterial(0).EmissiveColor = emissive(markerColour(star.physical->spectralclass));
        nodes.marker = node;
    }
    entry.shown.markers = true;
}

void SceneMarkers::removeMarkers(const GalaxyCube& cube) {
    for (const StarRecord* star : cube.stars) removeStarNodes(star->id);
    entryOf(cube).shown = CubeShown{};
}

void SceneMarkers::removeNodes(const GalaxyCube& cube) {
    removeLabels(cube);
    removeStalks(cube);
    removeMarkers(cube);
}

void SceneMarkers::moveNodes(const GalaxyCube& cube, int dx, int dy, int dz) {
    const bool centre = dx == 0 && dy == 0 && dz == 0;
    if (!centre) {
        removeLabels(cube);
        removeStalks(cube);
        if (!switches.surroundings) {
            removeMarkers(cube);
            return;
        }
    }
    for (std::size_t i = 0; i < cube.stars.size(); ++i) {
        const StarRecord& star = *cube.stars[i];
        const StarNodes nodes = nodesOf(star.id);
        if (nodes.marker == nullptr) continue;
        nodes.marker->setPosition(markerPosition(star, dx, dy, dz));
        nodes.marker->setID(markerId(dx, dy, dz, static_cast<int>(i)));
        if (nodes.label != nullptr) nodes.label->setID(nodes.marker->getID() + 100000);
    }
    if (centre) createLabelsAndStalks(cube, 0, 0, 0);
}

void SceneMarkers::createLabelsAndStalks(const GalaxyCube& cube, int dx, int dy, int dz) {
    if (dx != 0 || dy != 0 || dz != 0) return;
    if (switches.stalks && !shown(cube).stalks) createStalks(cube);
    if (switches.labels && !shown(cube).labels) createLabels(cube);
}

void SceneMarkers::createStalks(const GalaxyCube& cube) {
    if (!shown(cube).markers) createMarkers(cube, 0, 0, 0);
    float thickness = 0.01f;
    if (!cube.stars.empty()) thickness = std::min(thickness, 1.0f / static_cast<float>(cube.stars.size()));
    for (const StarRecord* star : cube.stars) {
        const auto found = nodes_.find(star->id);
        if (found == nodes_.end()) continue;
        StarNodes& nodes = found->second;
        irr::scene::ISceneNode* marker = nodes.marker;
        if (marker == nullptr || nodes.stalk != nullptr) continue;
        const float height = star->offset[1];
        // The marker is a unit sphere scaled to its radius; its children undo that scale.
        const float unit = 1.0f / marker->getScale().X;
        irr::scene::ISceneNode* stalk = scene_->addCubeSceneNode(
            1.0f, marker, -1, irr::core::vector3df(0.0f, -0.5f * height * unit, 0.0f), irr::core::vector3df(0, 0, 0),
            irr::core::vector3df(thickness * unit, height * unit, thickness * unit));
        if (stalk == nullptr) continue;
        stalk->setIsDebugObject(true);  // a stalk must not hide its star from a pick
        stalk->setMaterialFlag(irr::video::EMF_LIGHTING, true);
        stalk->setMaterialType(irr::video::EMT_SOLID);
        stalk->getMaterial(0).EmissiveColor = marker->getMaterial(0).EmissiveColor;
        stalk->setVisible(marker->isVisible());
        nodes.stalk = stalk;
    }
    entryOf(cube).shown.stalks = true;
}

void SceneMarkers::removeStalks(const GalaxyCube& cube) { removeStarParts(cube, &StarNodes::stalk, &CubeShown::stalks); }

// Removes one kind of node hanging below the cube's markers and notes that the cube no longer
// shows it.
void SceneMarkers::removeStarParts(const GalaxyCube& cube, irr::scene::ISceneNode* StarNodes::*part,
                                   bool CubeShown::*shownFlag) {
    for (const StarRecord* star : cube.stars) {
        const auto found = nodes_.find(star->id);
        if (found != nodes_.end()) removeNode(found->second.*part);
    }
    if (cubes_.count(keyOf(cube)) != 0) entryOf(cube).shown.*shownFlag = false;
}

void SceneMarkers::createLabels(const GalaxyCube& cube) {
    if (!shown(cube).markers) createMarkers(cube, 0, 0, 0);
    const float scale = cube.stars.empty() ? 1.0f : std::min(1.0f, 300.0f / static_cast<float>(cube.stars.size()));
    for (std::size_t i = 0; i < cube.stars.size(); ++i) addLabel(cube, i, scale);
    entryOf(cube).shown.labels = true;
}

void SceneMarkers::addLabel(const GalaxyCube& cube, std::size_t index, float scale) {
    const StarRecord& star = *cube.stars[index];
    const auto found = nodes_.find(star.id);
    if (found == nodes_.end()) return;
    StarNodes& nodes = found->second;
    irr::scene::ISceneNode* marker = nodes.marker;
    if (marker == nullptr || nodes.label != nullptr) return;
    irr::core::vector3df position(0.0f, 0.1f * scale, 0.0f);
    for (std::size_t j = index + 1; j < cube.stars.size(); ++j)
        if (offsetDistance(star, *cube.stars[j]) < 0.5f) {
            position = irr::core::vector3df(0.0f, -0.1f, 0.0f);
            break;
        }
    position *= 1.0f / marker->getScale().X;  // the marker's scale is its radius
    irr::scene::IBillboardTextSceneNode* label = scene_->addBillboardTextSceneNode(
        labelFont_, widen(star.physical->name).c_str(), marker, irr::core::dimension2df(0.8f * scale, 0.2f * scale),
        position, marker->getID() + 100000, irr::video::SColor(255, 255, 255, 255),
        irr::video::SColor(255, 255, 255, 255));
    if (label == nullptr) return;
    label->setMaterialFlag(irr::video::EMF_LIGHTING, true);
    label->getMaterial(0).EmissiveColor = marker->getMaterial(0).EmissiveColor;
    label->setVisible(marker->isVisible());
    nodes.label = label;
}

void SceneMarkers::removeLabels(const GalaxyCube& cube) { removeStarParts(cube, &StarNodes::label, &CubeShown::labels); }

void SceneMarkers::colourStalks(const GalaxyCube& cube) {
    for (const StarRecord* star : cube.stars) {
        const StarNodes nodes = nodesOf(star->id);
        if (nodes.stalk == nullptr) continue;
        const PixelColour colour = star->connected ? PixelColour{0, 255, 0} : markerColour(star->physical->spectralclass);
        nodes.stalk->getMaterial(0).EmissiveColor = emissive(colour);
    }
}
