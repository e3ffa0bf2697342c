#pragma once
// The galaxy window's stars in the 3D view. Each cube's markers are one mesh, built when the
// cube is shown and dropped when it leaves; on the centre cube the stalks down to the cube's
// middle plane are one more mesh, and the names are written over the scene, brightest first,
// leaving out any that would overlap one already written. What each cube shows follows the
// window after it was rebuilt or moved, the switches and the filter; a ray picks the shown star
// it meets first.

#include <array>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include <irrlicht/irrlicht.h>

#include "app/marker_mesh.h"
#include "galaxy/galaxy_window.h"
#include "galaxy/star_pick.h"

// The view's switches, as their check boxes show them.
struct MarkerSwitches {
    bool stalks = true;
    bool labels = true;
    bool surroundings = true;
};

// Whether the filter shows a star.
using StarFilter = std::function<bool(const StarRecord&)>;

class SceneMarkers {
public:
    SceneMarkers(irr::scene::ISceneManager* scene, irr::gui::IGUIFont* labelFont);
    SceneMarkers(const SceneMarkers&) = delete;
    SceneMarkers& operator=(const SceneMarkers&) = delete;

    const MarkerSwitches& switches() const { return switches_; }
    void setStalks(bool on);
    void setLabels(bool on);
    void setSurroundings(bool on);
    // Shows only the stars the filter passes; cubes whose shown stars changed are built again.
    void setFilter(StarFilter filter);
    // The stalks take the stars' route marks (green one jump from the route's end).
    void recolourStalks();

    // Shows a window built afresh, in place of whatever was shown.
    void showRebuilt(const GalaxyWindow& window);
    // Follows the window one cube on: the meshes of cubes that left go, those of cubes that
    // stayed move along, and the new cubes get theirs.
    void followMove(const GalaxyWindow& window);
    // Removes every mesh; call before the engine goes.
    void clear();

    // Where the star's marker is, in the view, whether the filter shows it or not; none when
    // its cube shows no markers or the star is not in the window.
    std::optional<irr::core::vector3df> positionOf(const StarId& id) const;
    // The cube whose markers show the star, and the star's place among its stars; null when none.
    const GalaxyCube* cubeOf(const StarId& id, std::size_t& index) const;
    // Whether the star has a marker the filter shows.
    bool visible(const StarId& id) const;
    // The shown star the ray meets first. The answer for the last ray is kept until the ray or
    // what is shown changes: the pointer is asked about every frame, mostly standing still.
    std::optional<StarId> pick(const irr::core::line3df& ray) const;
    // The centre cube's names, while the labels are on: over the scene as the camera sees it.
    void drawLabels(irr::scene::ISceneCollisionManager& projection, const irr::core::dimension2du& screen) const;

private:
    // What one cube of the window shows.
    struct CubeBatch {
        const GalaxyCube* cube = nullptr;  // none for a place not filled
        CubeIndex index;  // to know the cube again after the window moved
        int node = 0;     // its place in the window
        std::vector<char> passes;  // the filter's verdict, star by star
        std::vector<irr::core::vector3df> places;  // the stars' places inside the cube, in scene axes
        std::vector<float> radii;                  // their markers' radii
        MeshNodes markers;
        MeshNodes stalks;  // the centre cube's, while the stalks are on
        std::vector<std::size_t> byBrightness;  // the centre cube's stars, brightest first
    };
    struct Place {
        int node;
        std::size_t index;
    };

    irr::scene::ISceneManager* scene_;
    irr::gui::IGUIFont* labelFont_;
    // The markers' shape: discs turned to the camera where the driver runs shaders, spheres
    // (8 segments) otherwise; both look alike, unlit.
    irr::s32 discMaterial_;
    ShapeTemplate marker_;
    ShapeTemplate box_;
    MarkerSwitches switches_;
    StarFilter filter_;
    std::array<CubeBatch, GalaxyWindow::kCubeCount> batches_;
    std::unordered_map<StarId, Place, StarIdHash> places_;
    struct PickAnswer {
        irr::core::line3df ray;
        std::optional<StarId> star;
    };
    mutable std::optional<PickAnswer> lastPick_;  // forgotten whenever what is shown changes
    mutable std::vector<PickTarget> pickTargets_;  // kept to spare the allocation

    CubeBatch& centre() { return batches_[GalaxyWindow::kCentreNode]; }
    const CubeBatch* batchOf(const StarId& id, std::size_t& index) const;
    void adopt(CubeBatch& batch, const GalaxyCube& cube, int node);
    void showParts(CubeBatch& batch);
    void buildMarkers(CubeBatch& batch);
    void buildStalks(CubeBatch& batch);
    void indexPlaces();
};
