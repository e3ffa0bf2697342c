#pragma once
// Names of stars without one of their own, made from where they lie as seen from the galaxy's
// reference position: galactic longitude, latitude and distance in light years, each with one
// decimal and a letter for the next two digits. A catalogue star whose name was "NIL" gets a
// leading "!".

#include "galaxy/galaxy_parameters.h"
#include "galaxy/star_record.h"

// Writes the coordinate name of `star`, which lies in cube (x, y, z).
void nameStar(const GalaxyParameters& catalogue, StarRecord& star, double x, double y, double z);

// Direction of the vector (a, -b) in degrees, in [0, 360).
double directionDegrees(double a, double b);
