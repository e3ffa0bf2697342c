#pragma once
// One move of the window by a cube, worked out apart from the window so that the work can run
// on a worker thread while the frame thread goes on showing the window as it is: the cubes of
// the new leading face, the catalogue stars they complete on their first visit, and the
// planetary systems of the new centre cube. The window takes the step over on the frame thread.
//
// Working a step out writes nothing but the step. It reads the catalogue's parameters, stellar
// tables, density picture and index of stars by cube; of each catalogue star of an arriving cube
// its cube, `classified`, physical data, alias, system flag and orientation (completion works on
// a copy of these); of each star of the cube that becomes the centre its system flag and
// physical data. The frame thread may read anything meanwhile, and may write what the step never
// reads (the `connected` marks of a route), but nothing it reads.

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "galaxy/galaxy_catalogue.h"
#include "galaxy/galaxy_cube.h"
#include "galaxy/star_completion.h"

struct WindowStep {
    int axis = 0;  // 0 x, 1 y, 2 z
    int sign = 1;  // +1 or -1 along the axis
    std::array<float, 3> centre{0.0f, 0.0f, 0.0f};  // the window's centre before the step
    // The catalogue's random sources, as the window left them and then as the step leaves them.
    MwcRandom starRandom;
    LcgRandom systemRandom;
    // The cubes of the new leading face with the node each takes, in node order.
    std::vector<std::pair<int, std::unique_ptr<GalaxyCube>>> arriving;
    DeferredCompletions completions;
    // The new centre cube's systems, one per star in its order; null where a star keeps the
    // system read from its file.
    std::vector<std::unique_ptr<GeneratedSystem>> centreSystems;
};

// Offsets (dx, dy, dz), each -1, 0 or 1, of a node of the window from its centre.
inline std::array<int, 3> nodeOffset(int node) { return {node % 3 - 1, (node / 3) % 3 - 1, node / 9 - 1}; }

// The step for direction 1 +x, 2 -x, 3 +y, 4 -y, 5 +z, 6 -z from a window centred on `centre`,
// starting from the catalogue's random sources; nothing worked out yet.
WindowStep startStep(int direction, const std::array<float, 3>& centre, const GalaxyCatalogue& catalogue);

// Populates the arriving cubes in node order, then draws the systems of `nextCentre`, the cube
// that becomes the centre: the draw order of the same move made in place.
void workOutStep(WindowStep& step, const GalaxyCatalogue& catalogue, const GalaxyCube& nextCentre);
