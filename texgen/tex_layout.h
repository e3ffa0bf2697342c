// Image order and geometry of Orbiter's legacy planetary .tex files, and the DDS encoding
// of one image. A .tex file for level L is the plain concatenation of image_count(L) DDS files.
#ifndef STARVANE_TEXGEN_TEX_LAYOUT_H
#define STARVANE_TEXGEN_TEX_LAYOUT_H

#include <cstdint>
#include <string>
#include <vector>

namespace texgen {

constexpr int kMinLevel = 1;
constexpr int kMaxLevel = 8;

// Cumulative image counts: a file for level L holds kPatchIndex[L] images.
constexpr int kPatchIndex[kMaxLevel + 1] = {0, 1, 2, 3, 5, 13, 37, 137, 501};

// Where the pixels of one image lie on the globe, in degrees: pixel column x sits at
// longitude lng0 + dlng * x, row y at latitude lat0 + dlat * y (both may run backwards,
// as in the rotated southern patches).
struct ImageGeometry {
    int size = 0;
    double lng0 = 0.0, dlng = 0.0;
    double lat0 = 0.0, dlat = 0.0;
};

int clamp_level(int level);
int image_count(int level);

// All images of a level-L file in file order: the images of levels 1..L-1 are not repeated;
// a level-L file holds the images of every level up to L.
std::vector<ImageGeometry> file_layout(int level);

// Images of one level only (1 for levels 1-3, 2 for level 4, the bands for 5-8).
std::vector<ImageGeometry> level_images(int level);

enum class PixelFormat { Dxt1, Dxt5, Argb8 };

// Size in bytes of one encoded image with its "DDS " magic and header.
size_t encoded_size(int size, PixelFormat format);

// Appends one complete DDS file (magic, 124-byte header, pixels, no mipmaps) for a square
// image of size x size RGBA pixels (bytes R, G, B, A, rows top to bottom).
void append_dds(std::vector<uint8_t>& out, const uint8_t* rgba, int size, PixelFormat format);

// A 24-bit Windows bitmap of w x h pixels given as RGB rows top to bottom. Returns false
// when the file cannot be written (a partial file is removed).
bool write_bmp24(const std::string& path, const uint8_t* rgb, int w, int h);

}  // namespace texgen

#endif
