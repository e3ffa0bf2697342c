#pragma once
// The window of 3 x 3 x 3 cubes around the viewer. Only these cubes hold generated stars;
// the stars of the centre cube have their planetary systems. The window is rebuilt when the
// viewer jumps and moved by one cube when the viewer crosses a cube face.

#include <array>
#include <memory>

#include "galaxy/galaxy_catalogue.h"
#include "galaxy/kept_stars.h"
#include "galaxy/star_markers.h"

class GalaxyWindow {
public:
    static constexpr int kCubeCount = 27;
    static constexpr int kCentreNode = 13;
    // Catalogue stars one cube of a moving window takes at most.
    static constexpr int kCatalogueStarsPerCube = 1000;

    // Route stars of released cubes go to `kept`.
    GalaxyWindow(GalaxyCatalogue& catalogue, CubeDisplay& display, KeptStars& kept);
    // A window that keeps the route stars of its released cubes itself.
    GalaxyWindow(GalaxyCatalogue& catalogue, CubeDisplay& display);
    ~GalaxyWindow();
    GalaxyWindow(const GalaxyWindow&) = delete;
    GalaxyWindow& operator=(const GalaxyWindow&) = delete;

    // Node of the cube at (dx, dy, dz) from the centre, each -1, 0 or 1.
    static int nodeIndex(int dx, int dy, int dz) { return (dx + 1) + 3 * (dy + 1) + 9 * (dz + 1); }

    // Discards the window and builds it afresh around cube (x, y, z).
    void rebuild(float x, float y, float z);

    // Moves the centre one cube: 1 +x, 2 -x, 3 +y, 4 -y, 5 +z, 6 -z. Other values do nothing.
    void move(int direction);

    GalaxyCube& cube(int node) { return *nodes_[node]; }
    const GalaxyCube& cube(int node) const { return *nodes_[node]; }
    GalaxyCube& centreCube() { return *nodes_[kCentreNode]; }
    GalaxyCatalogue& catalogue() { return catalogue_; }
    CubeDisplay& display() { return display_; }
    KeptStars& kept() { return kept_; }
    const std::array<float, 3>& centre() const { return centre_; }
    bool built() const { return nodes_[kCentreNode] != nullptr; }

private:
    GalaxyCatalogue& catalogue_;
    CubeDisplay& display_;
    KeptStars ownkept_;
    KeptStars& kept_;
    std::array<std::unique_ptr<GalaxyCube>, kCubeCount> nodes_;
    std::array<float, 3> centre_{0.0f, 0.0f, 0.0f};

    void releaseAll();
    void populate(GalaxyCube& cube, int x, int y, int z, int catalogueLimit);
    void generateCentreSystems();
};

// Gives every star of the cube not read from a file its planetary system, with seeds drawn
// from `random` reseeded for the cube; the systems are generated with `systemRandom`.
void generateSystems(GalaxyCube& cube, int x, int y, int z, double systemseed, MwcRandom& random,
                     LcgRandom& systemRandom);

// Drops the generated systems of the cube's stars, except those read from files and those the
// route holds.
void releaseSystems(GalaxyCube& cube);

// Removes the cube's scene nodes, drops its systems and deletes the stars it owns, except
// route stars, which go to `kept`.
void releaseCube(GalaxyCube& cube, CubeDisplay& display, KeptStars& kept);

// Releases a cube that no route can hold on to: all its own stars are deleted.
void releaseCube(GalaxyCube& cube, CubeDisplay& display);
