#pragma once
// The window of 3 x 3 x 3 cubes around the viewer. Only these cubes hold generated stars;
// the stars of the centre cube have their planetary systems. The window is rebuilt when the
// viewer jumps and moved by one cube when the viewer crosses a cube face. What the view shows
// of the cubes is the view's business: it looks at the window after each change.

#include <array>
#include <memory>

#include "galaxy/galaxy_catalogue.h"
#include "galaxy/galaxy_cube.h"

class GalaxyWindow {
public:
    static constexpr int kCubeCount = 27;
    static constexpr int kCentreNode = 13;
    // Catalogue stars one cube of a moving window takes at most.
    static constexpr int kCatalogueStarsPerCube = 1000;

    explicit GalaxyWindow(GalaxyCatalogue& catalogue);
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
    const std::array<float, 3>& centre() const { return centre_; }
    bool built() const { return nodes_[kCentreNode] != nullptr; }

    // The record of the star named `id`: a catalogue star always, a generated star while its
    // cube is in the window. Null otherwise.
    StarRecord* find(const StarId& id) const;

private:
    GalaxyCatalogue& catalogue_;
    std::array<std::unique_ptr<GalaxyCube>, kCubeCount> nodes_;
    std::array<float, 3> centre_{0.0f, 0.0f, 0.0f};

    void releaseAll();
    std::unique_ptr<GalaxyCube> populated(int x, int y, int z, int catalogueLimit);
    void generateCentreSystems();
};

// Gives every star of the cube not read from a file its planetary system, with seeds drawn
// from `random` reseeded for the cube; the systems are generated with `systemRandom`.
void generateSystems(GalaxyCube& cube, int x, int y, int z, double systemseed, MwcRandom& random,
                     LcgRandom& systemRandom);

// Drops the generated systems of the cube's stars, except those read from files.
void releaseSystems(GalaxyCube& cube);
