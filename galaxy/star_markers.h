#pragma once
// How a star is shown in the 3D view (its marker's identifier, size and colour), and the
// interface through which the galaxy window asks the view to create, move and remove the
// scene nodes of a cube. The core never touches the engine; the atlas implements CubeDisplay
// with scene nodes, the command line and the tests with NoCubeDisplay.

#include <cstdint>
#include <string>

#include "galaxy/galaxy_cube.h"
#include "platform/pixel_image.h"

// Scene-node identifier of star `index` of the cube at (dx, dy, dz) from the centre.
int markerId(int dx, int dy, int dz, int index);

// Marker radius of a star in a cube of `count` stars.
float markerRadius(const StellarData& star, int count);

// Emissive colour of a star's marker by spectral class.
PixelColour markerColour(const std::string& spectralclass);

class CubeDisplay {
public:
    virtual ~CubeDisplay() = default;
    // Makes the markers of a cube placed at (dx, dy, dz) from the centre cube.
    virtual void createMarkers(GalaxyCube& cube, int dx, int dy, int dz) = 0;
    // Removes the cube's markers, labels and stalks, wherever they exist.
    virtual void removeNodes(GalaxyCube& cube) = 0;
    // Moves the cube's existing nodes to its new place (dx, dy, dz) from the centre.
    virtual void moveNodes(GalaxyCube& cube, int dx, int dy, int dz) = 0;
    // Makes labels and stalks for the cube's shown stars, where the view's toggles ask for them.
    virtual void createLabelsAndStalks(GalaxyCube& cube, int dx, int dy, int dz) = 0;
    // Gives the star's stalk, where it has one, an emissive colour.
    virtual void colourStalk(StarRecord& /*star*/, PixelColour /*colour*/) {}
};

// A display without a scene: it only keeps the cube's flags as a real one would.
class NoCubeDisplay : public CubeDisplay {
public:
    void createMarkers(GalaxyCube& cube, int, int, int) override { cube.markersshown = 1; }
    void removeNodes(GalaxyCube& cube) override {
        cube.markersshown = 0;
        cube.labelsshown = 0;
        cube.stalksshown = 0;
    }
    void moveNodes(GalaxyCube&, int, int, int) override {}
    void createLabelsAndStalks(GalaxyCube&, int, int, int) override {}
};
