#pragma once
// The scene nodes of the galaxy window's stars: a sphere marker per star, and on the centre
// cube a stalk down to the cube's middle plane and a name label, each while its switch is on.

#include <irrlicht/irrlicht.h>

#include "galaxy/galaxy_catalogue.h"
#include "galaxy/star_markers.h"

class SceneMarkers : public CubeDisplay {
public:
    // The catalogue holds the view's switches: stalksshown, labelsshown and surroundings.
    SceneMarkers(irr::scene::ISceneManager* scene, irr::gui::IGUIFont* labelFont, const GalaxyCatalogue& switches);
    ~SceneMarkers() override;
    SceneMarkers(const SceneMarkers&) = delete;
    SceneMarkers& operator=(const SceneMarkers&) = delete;

    void createMarkers(GalaxyCube& cube, int dx, int dy, int dz) override;
    void removeNodes(GalaxyCube& cube) override;
    void moveNodes(GalaxyCube& cube, int dx, int dy, int dz) override;
    void createLabelsAndStalks(GalaxyCube& cube, int dx, int dy, int dz) override;
    void colourStalk(StarRecord& star, PixelColour colour) override;

    void createStalks(GalaxyCube& cube);
    void removeStalks(GalaxyCube& cube);
    void createLabels(GalaxyCube& cube);
    void removeLabels(GalaxyCube& cube);
    void removeMarkers(GalaxyCube& cube);

private:
    irr::scene::ISceneManager* scene_;
    irr::gui::IGUIFont* labelFont_;
    const GalaxyCatalogue& switches_;
    // All markers share one sphere of radius 1 (8 segments), scaled to their radius: a cube
    // crossing then adds nodes without building and uploading a mesh for each.
    irr::scene::IMesh* unitSphere_ = nullptr;
};

// The scene node of a star's marker, or null.
inline irr::scene::ISceneNode* markerOf(const StarRecord& star) {
    return static_cast<irr::scene::ISceneNode*>(star.markernode);
}
