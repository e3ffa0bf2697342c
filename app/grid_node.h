#pragma once
// The grid of the centre cube's middle plane: eleven lines each way, one unit apart, drawn as
// lines so that they stay whole at any distance and from any side.

#include <irrlicht/irrlicht.h>

class GridNode : public irr::scene::ISceneNode {
public:
    GridNode(irr::scene::ISceneNode* parent, irr::scene::ISceneManager* scene);

    void OnRegisterSceneNode() override;
    void render() override;
    const irr::core::aabbox3d<irr::f32>& getBoundingBox() const override { return box_; }

private:
    irr::core::aabbox3d<irr::f32> box_;
    irr::video::SMaterial material_;
};
