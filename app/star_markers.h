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

// A marker's radius as one of 256 steps, evenly spaced on a logarithmic scale from 0.0001 (0)
// to 0.1 (255), each 2.7 % from the next; radii beyond the ends go to the ends. The point
// markers carry it in their vertex colour's alpha, as the engine hands points no other field.
unsigned char markerRadiusLevel(float radius);
