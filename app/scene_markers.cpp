#include "app/scene_markers.h"

#include <algorithm>
#include <cmath>

#include "app/irrlicht_adapters.h"

namespace {

irr::core::vector3df markerPosition(const StarRecord& star, int dx, int dy, int dz) {
    return {star.offset[0] + 10.0f * static_cast<float>(dx), star.offset[1] + 10.0f * static_cast<float>(dz),
            star.offset[2] + 10.0f * static_cast<float>(dy)};
}

void removeNode(void*& handle) {
    if (handle == nullptr) return;
    static_cast<irr::scene::ISceneNode*>(handle)->remove();
    handle = nullptr;
}

float offsetDistance(const StarRecord& a, const StarRecord& b) {
    const float x = a.offset[0] - b.offset[0];
    const float y = a.offset[1] - b.offset[1];
    const float z = a.offset[2] - b.offset[2];
    return std::sqrt(x * x + y * y + z * z);
}

}  // namespace

SceneMarkers::SceneMarkers(irr::scene::ISceneManager* scene, irr::gui::IGUIFont* labelFont,
                           const GalaxyCatalogue& switches)
    : scene_(scene), labelFont_(labelFont), switches_(switches) {
    unitSphere_ = scene_->getGeometryCreator()->createSphereMesh(1.0f, 8, 8);
    if (unitSphere_ != nullptr) unitSphere_->setHardwareMappingHint(irr::scene::EHM_STATIC);
}

SceneMarkers::~SceneMarkers() {
    if (unitSphere_ != nullptr) unitSphere_->drop();
}

void SceneMarkers::createMarkers(GalaxyCube& cube, int dx, int dy, int dz) {
    for (std::size_t i = 0; i < cube.stars.size(); ++i) {
        StarRecord& star = *cube.stars[i];
        if (star.markernode != nullptr) continue;
        const float radius = markerRadius(*star.physical, cube.count);
        irr::scene::ISceneNode* node = scene_->addMeshSceneNode(
            unitSphere_, nullptr, markerId(dx, dy, dz, static_cast<int>(i)), markerPosition(star, dx, dy, dz),
            irr::core::vector3df(0, 0, 0), irr::core::vector3df(radius, radius, radius));
        if (node == nullptr) continue;
        node->setMaterialFlag(irr::video::EMF_NORMALIZE_NORMALS, true);
        node->setMaterialFlag(irr::video::EMF_LIGHTING, true);
        node->setMaterialType(irr::video::EMT_SOLID);
        const PixelColour colour = markerColour(star.physical->spectralclass);
        node->getMaterial(0).EmissiveColor = irr::video::SColor(0, colour.red, colour.green, colour.blue);
        star.markernode = node;
    }
    cube.markersshown = 1;
}

void SceneMarkers::removeMarkers(GalaxyCube& cube) {
    for (StarRecord* star : cube.stars) {
        // Labels and stalks hang below the marker and go with it.
        star->labelnode = nullptr;
        star->stalknode = nullptr;
        removeNode(star->markernode);
    }
    cube.markersshown = 0;
    cube.labelsshown = 0;
    cube.stalksshown = 0;
}

void SceneMarkers::removeNodes(GalaxyCube& cube) {
    removeLabels(cube);
    removeStalks(cube);
    removeMarkers(cube);
}

void SceneMarkers::moveNodes(GalaxyCube& cube, int dx, int dy, int dz) {
    const bool centre = dx == 0 && dy == 0 && dz == 0;
    if (!centre) {
        removeLabels(cube);
        removeStalks(cube);
        if (!switches_.surroundings) {
            removeMarkers(cube);
            return;
        }
    }
    for (std::size_t i = 0; i < cube.stars.size(); ++i) {
        StarRecord& star = *cube.stars[i];
        irr::scene::ISceneNode* node = markerOf(star);
        if (node == nullptr) continue;
        node->setPosition(markerPosition(star, dx, dy, dz));
        node->setID(markerId(dx, dy, dz, static_cast<int>(i)));
        if (star.labelnode != nullptr)
            static_cast<irr::scene::ISceneNode*>(star.labelnode)->setID(node->getID() + 100000);
    }
    if (centre) createLabelsAndStalks(cube, 0, 0, 0);
}

void SceneMarkers::createLabelsAndStalks(GalaxyCube& cube, int dx, int dy, int dz) {
    if (dx != 0 || dy != 0 || dz != 0) return;
    if (switches_.stalksshown && !cube.stalksshown) createStalks(cube);
    if (switches_.labelsshown && !cube.labelsshown) createLabels(cube);
}

void SceneMarkers::createStalks(GalaxyCube& cube) {
    if (!cube.markersshown) createMarkers(cube, 0, 0, 0);
    float thickness = 0.01f;
    if (!cube.stars.empty()) thickness = std::min(thickness, 1.0f / static_cast<float>(cube.stars.size()));
    for (StarRecord* star : cube.stars) {
        irr::scene::ISceneNode* marker = markerOf(*star);
        if (marker == nullptr || star->stalknode != nullptr) continue;
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
        star->stalknode = stalk;
    }
    cube.stalksshown = 1;
}

void SceneMarkers::removeStalks(GalaxyCube& cube) {
    for (StarRecord* star : cube.stars) removeNode(star->stalknode);
    cube.stalksshown = 0;
}

void SceneMarkers::createLabels(GalaxyCube& cube) {
    if (!cube.markersshown) createMarkers(cube, 0, 0, 0);
    const float scale = cube.stars.empty() ? 1.0f : std::min(1.0f, 300.0f / static_cast<float>(cube.stars.size()));
    for (std::size_t i = 0; i < cube.stars.size(); ++i) {
        StarRecord& star = *cube.stars[i];
        irr::scene::ISceneNode* marker = markerOf(star);
        if (marker == nullptr || star.labelnode != nullptr) continue;
        irr::core::vector3df position(0.0f, 0.1f * scale, 0.0f);
        for (std::size_t j = i + 1; j < cube.stars.size(); ++j)
            if (offsetDistance(star, *cube.stars[j]) < 0.5f) {
                position = irr::core::vector3df(0.0f, -0.1f, 0.0f);
                break;
            }
        position *= 1.0f / marker->getScale().X;  // the marker's scale is its radius
        irr::scene::IBillboardTextSceneNode* label = scene_->addBillboardTextSceneNode(
            labelFont_, widen(star.physical->name).c_str(), marker,
            irr::core::dimension2df(0.8f * scale, 0.2f * scale), position, marker->getID() + 100000,
            irr::video::SColor(255, 255, 255, 255), irr::video::SColor(255, 255, 255, 255));
        if (label == nullptr) continue;
        label->setMaterialFlag(irr::video::EMF_LIGHTING, true);
        label->getMaterial(0).EmissiveColor = marker->getMaterial(0).EmissiveColor;
        label->setVisible(marker->isVisible());
        star.labelnode = label;
    }
    cube.labelsshown = 1;
}

void SceneMarkers::removeLabels(GalaxyCube& cube) {
    for (StarRecord* star : cube.stars) removeNode(star->labelnode);
    cube.labelsshown = 0;
}

void SceneMarkers::colourStalk(StarRecord& star, PixelColour colour) {
    if (star.stalknode == nullptr) return;
    static_cast<irr::scene::ISceneNode*>(star.stalknode)->getMaterial(0).EmissiveColor =
        irr::video::SColor(0, colour.red, colour.green, colour.blue);
}
