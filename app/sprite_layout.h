#pragma once
// Where the pictures of bodies and stars lie on the thumbnail sheet, and how large a body is
// drawn. No engine needed.

#include <optional>
#include <string>

#include "galaxy/star_record.h"

struct SheetRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The thumbnail of a body type in the system view; unknown and jovian bodies, which have no
// picture of their own, borrow the rock and the first giant.
SheetRect bodyThumbnail(PlanetType type);

// The picture of a body type in the galaxy view's system pictogram.
std::optional<SheetRect> pictogramBody(PlanetType type);

// The sprite of a star by spectral class (and type name), if it has one.
std::optional<SheetRect> starSprite(const StellarData& star);

// Where the star sprite goes in a strip whose top is `top`, by luminosity class.
std::optional<SheetRect> starTarget(const StellarData& star, int top);

// The largest planet radius of a system, at least 40000 km.
double largestPlanetRadius(const GeneratedSystem& system);

// Edge of a body's picture for base size `size`; a belt gets a quarter of it.
int bodyEdge(const PlanetRecord& body, int size, double largest);
