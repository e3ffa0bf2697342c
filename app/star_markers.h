#pragma once
// How a star is shown in the 3D view: its marker's size and colour. Kept apart from the engine
// so that they can be checked alone.

#include <string>

#include "platform/pixel_image.h"
#include "galaxy/star_record.h"

// Marker radius of a star in a cube of `count` stars.
float markerRadius(const StellarData& star, int count);

// Emissive colour of a star's marker by spectral class.
PixelColour markerColour(const std::string& spectralclass);
