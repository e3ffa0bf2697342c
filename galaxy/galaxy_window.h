#pragma once
// The window of 3 x 3 x 3 cubes around the viewer. Only these cubes hold generated stars;
// the stars of the centre cube have their planetary systems. The window is rebuilt when the
// viewer jumps and moved by one cube when the viewer crosses a cube face. What the view shows
// of the cubes is the view's business: it looks at the window after each change.
//
// A move can run on a worker thread so that the frame does not wait for the new cubes: the
// window stays as it was, and may be read, until the frame takes the finished move over. While
// a move runs, its worker reads the catalogue and the stars of the window's cubes and draws from
// copies of the catalogue's random sources; nothing else may write to those (or draw from the
// sources) until settle() has taken the move over.

#include <array>
#include <future>
#include <memory>
#include <vector>

#include "galaxy/galaxy_catalogue.h"
#include "galaxy/galaxy_cube.h"
#include "galaxy/window_step.h"

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

    // Discards the window and builds it afresh around cube (x, y, z), after settling a move.
    void rebuild(float x, float y, float z);

    // Moves the centre one cube: 1 +x, 2 -x, 3 +y, 4 -y, 5 +z, 6 -z. Other values do nothing.
    // A move begun before is taken over first.
    void move(int direction);

    // The same move with its work on a worker thread; the window changes only when the move is
    // taken over. A move begun before is taken over first, so moves keep their order. False,
    // and nothing begun, for a direction outside 1..6 or a window not built.
    bool beginMove(int direction);

    // Takes over a begun move whose work is done: cheap enough for every frame. True when the
    // window changed.
    bool finishMoveIfReady();

    // Waits for a begun move and takes it over; true when the window changed. Call before
    // anything else writes to the catalogue, draws from its random sources or changes the
    // window's cubes: a rebuild, a route search, an export, loading a system.
    bool settle();

    // Whether a begun move has not been taken over yet.
    bool moving() const { return pending_.valid(); }

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
    std::future<WindowStep> pending_;

    void releaseAll();
    std::unique_ptr<GalaxyCube> populated(int x, int y, int z, int catalogueLimit);
    void generateCentreSystems();
    const GalaxyCube& nextCentre(const WindowStep& step) const;
    void takeOver(WindowStep step);
};

// Gives every star of the cube not read from a file its planetary system, with seeds drawn
// from `random` reseeded for the cube; the systems are generated with `systemRandom`.
void generateSystems(GalaxyCube& cube, int x, int y, int z, double systemseed, MwcRandom& random,
                     LcgRandom& systemRandom);

// The same systems without touching the stars: one per star in the cube's order, null where a
// star keeps the system read from its file.
std::vector<std::unique_ptr<GeneratedSystem>> systemsFor(const GalaxyCube& cube, int x, int y, int z,
                                                         double systemseed, MwcRandom& random,
                                                         LcgRandom& systemRandom);

// Hands systems made by systemsFor() to the cube's stars.
void installSystems(GalaxyCube& cube, std::vector<std::unique_ptr<GeneratedSystem>> systems);

// Drops the generated systems of the cube's stars, except those read from files.
void releaseSystems(GalaxyCube& cube);
