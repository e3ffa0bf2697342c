#pragma once
// The pictogram of a generated system drawn over the galaxy view while its star is hovered:
// the star and its planets with their moons, in a band at the top or the bottom of the view
// (away from the mouse).

#include "app/atlas_context.h"

void drawSystemPictogram(const AtlasContext& atlas, const StarRecord& star);
