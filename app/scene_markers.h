#pragma once
// The scene nodes of the galaxy window's stars: a sphere marker per star, and on the centre
// cube a stalk down to the cube's middle plane and a name label, each while its switch is on.
// The nodes are kept by star id, and what each cube shows by the cube's place, so that the
// view can follow the window after it was rebuilt or moved.

#include <map>
#include <tuple>
#include <unordered_map>
#include <vector>

#include <irrlicht/irrlicht.h>

#include "app/star_markers.h"
#include "galaxy/galaxy_window.h"

// The view's switches, as their check boxes show them.
struct MarkerSwitches {
    bool stalks = true;
    bool labels = true;
    bool surroundings = true;
};

// What one cube of the window shows.
struct CubeShown {
    bool markers = false;
    bool labels = false;
    bool stalks = false;
};

// The scene nodes of one star; the label and the stalk hang below the marker.
struct StarNodes {
    irr::scene::ISceneNode* marker = nullptr;
    irr::scene::ISceneNode* label = nullptr;
    irr::scene::ISceneNode* stalk = nullptr;
};

class SceneMarkers {
public:
    SceneMarkers(irr::scene::ISceneManager* scene, irr::gui::IGUIFont* labelFont);
    ~SceneMarkers();
    SceneMarkers(const SceneMarkers&) = delete;
    SceneMarkers& operator=(const SceneMarkers&) = delete;

    MarkerSwitches switches;

    // Shows a window built afresh, in place of whatever was shown: markers on the centre cube
    // (on every cube with the surroundings), then the centre's labels and stalks.
    void showRebuilt(const GalaxyWindow& window);
    // Follows the window one cube on: the nodes of cubes that left go, those of cubes that
    // stayed move along, and the new cubes get theirs.
    void followMove(const GalaxyWindow& window);
    // Removes every node.
    void clear();

    // A cube placed at (dx, dy, dz) from the centre cube.
    void createMarkers(const GalaxyCube& cube, int dx, int dy, int dz);
    void removeNodes(const GalaxyCube& cube);
    void createStalks(const GalaxyCube& cube);
    void removeStalks(const GalaxyCube& cube);
    void createLabels(const GalaxyCube& cube);
    void removeLabels(const GalaxyCube& cube);
    // Stalks green for the stars one jump from the route's end, in their marker's colour
    // otherwise.
    void colourStalks(const GalaxyCube& cube);

    CubeShown shown(const GalaxyCube& cube) const;
    // The nodes of a star; all null when it has none.
    StarNodes nodesOf(const StarId& id) const;
    irr::scene::ISceneNode* markerOf(const StarRecord& star) const { return nodesOf(star.id).marker; }

private:
    void removeStarParts(const GalaxyCube& cube, irr::scene::ISceneNode* StarNodes::*part, bool CubeShown::*shownFlag);
    using CubeKey = std::tuple<int, int, int>;
    // What a cube shows, and the stars it showed them for (to remove them once it is gone).
    struct CubeEntry {
        CubeShown shown;
        std::vector<StarId> stars;
    };

    irr::scene::ISceneManager* scene_;
    irr::gui::IGUIFont* labelFont_;
    // All markers share one sphere of radius 1 (8 segments), scaled to their radius: a cube
    // crossing then adds nodes without building and uploading a mesh for each.
    irr::scene::IMesh* unitSphere_ = nullptr;
    std::map<CubeKey, CubeEntry> cubes_;
    std::unordered_map<StarId, StarNodes, StarIdHash> nodes_;

    static CubeKey keyOf(const GalaxyCube& cube) { return {cube.index.x, cube.index.y, cube.index.z}; }
    CubeEntry& entryOf(const GalaxyCube& cube);
    void removeMarkers(const GalaxyCube& cube);
    void removeStarNodes(const StarId& id);
    void moveNodes(const GalaxyCube& cube, int dx, int dy, int dz);
    void createLabelsAndStalks(const GalaxyCube& cube, int dx, int dy, int dz);
    void addLabel(const GalaxyCube& cube, std::size_t index, float scale);
};
