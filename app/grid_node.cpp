#include "app/grid_node.h"

namespace {

constexpr int kHalfLines = 5;
const irr::video::SColor kGridGreen(255, 0, 255, 0);

}  // namespace

GridNode::GridNode(irr::scene::ISceneNode* parent, irr::scene::ISceneManager* scene)
    : irr::scene::ISceneNode(parent, scene, -1),
      box_(-kHalfLines, -0.01f, -kHalfLines, kHalfLines, 0.01f, kHalfLines) {
    material_.Lighting = false;
    setAutomaticCulling(irr::scene::EAC_OFF);
    setIsDebugObject(true);  // never the answer of a pick
}

void GridNode::OnRegisterSceneNode() {
    if (IsVisible) SceneManager->registerNodeForRendering(this);
    ISceneNode::OnRegisterSceneNode();
}

void GridNode::render() {
    irr::video::IVideoDriver* driver = SceneManager->getVideoDriver();
    driver->setMaterial(material_);
    driver->setTransform(irr::video::ETS_WORLD, AbsoluteTransformation);
    const float edge = static_cast<float>(kHalfLines);
    for (int i = -kHalfLines; i <= kHalfLines; ++i) {
        const float at = static_cast<float>(i);
        driver->draw3DLine({at, 0.0f, -edge}, {at, 0.0f, edge}, kGridGreen);
        driver->draw3DLine({-edge, 0.0f, at}, {edge, 0.0f, at}, kGridGreen);
    }
}
