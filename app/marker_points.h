#pragma once
// Star markers drawn as points: one vertex a star, which the graphics card widens to the
// marker's size on the screen and cuts to an octagon, the outline the 8-segment sphere of the
// marker's radius shows. A cube's markers are mostly a few pixels wide; a triangle fan per star
// cost the software renderer most of the frame with the surrounding cubes shown.

#include <vector>

#include <irrlicht/irrlicht.h>

#include "app/marker_mesh.h"

// The material that draws such points: each vertex's colour carries the marker's radius in
// scene units as its alpha (markerRadiusLevel). -1 where the driver runs no shaders.
irr::s32 roundPointMaterial(irr::video::IVideoDriver& driver);

// One scene node drawing the placed shapes' centres as points of that material, unlit, each
// in its colour and of its scale's radius (x). Letting it go removes the node.
class PointMarkers {
public:
    PointMarkers() = default;
    PointMarkers(const PointMarkers&) = delete;
    PointMarkers& operator=(const PointMarkers&) = delete;
    ~PointMarkers() { reset(); }

    // Shows the points in place of those shown before.
    void show(irr::scene::ISceneManager* scene, const std::vector<PlacedShape>& placed, irr::s32 material);
    void reset();

private:
    irr::scene::ISceneNode* node_ = nullptr;
};
