#include "texgen/tex_layout.h"

#include <cstdio>
#include <cstring>

#include <stb/stb_dxt.h>

namespace texgen {

int clamp_level(int level) {
    return level < kMinLevel ? kMinLevel : (level > kMaxLevel ? kMaxLevel : level);
}

int image_count(int level) { return kPatchIndex[clamp_level(level)]; }

namespace {

// Patches per latitude band, from the pole toward the equator, for levels 5..8.
const std::vector<std::vector<int>>& band_patches() {
    static const std::vector<std::vector<int>> bands = {
        {4}, {4, 8}, {6, 12, 16, 16}, {6, 12, 18, 24, 28, 30, 32, 32}};
    return bands;
}

constexpr int kPatchSize = 256;

}  // namespace

std::vector<ImageGeometry> level_images(int level) {
    level = clamp_level(level);
    std::vector<ImageGeometry> images;
    if (level <= 3) {
        // The whole globe squeezed into a square; the mesh insets u by half a texel so the
        // first and last columns sit on -180 and +180 degrees; rows are texel centres.
        const int s = 32 << level;
        images.push_back({s, -180.0, 360.0 / (s - 1), 90.0 - 90.0 / s, -180.0 / s});
        return images;
    }
    const double step = 1.0 / (kPatchSize - 1);
    if (level == 4) {
        // Western and eastern hemispheres; edge texels lie on the patch edges.
        images.push_back({kPatchSize, -180.0, 180.0 * step, 90.0, -180.0 * step});
        images.push_back({kPatchSize, 0.0, 180.0 * step, 90.0, -180.0 * step});
        return images;
    }
    const std::vector<int>& counts = band_patches()[static_cast<size_t>(level - 5)];
    const int nlat = static_cast<int>(counts.size());
    for (int hemisphere = 0; hemisphere < 2; ++hemisphere) {
        for (int b = 0; b < nlat; ++b) {
            const int ilat = nlat - 1 - b;  // pole first
            const int n = counts[static_cast<size_t>(b)];
            const double lat_lo = 90.0 * ilat / nlat, lat_hi = 90.0 * (ilat + 1) / nlat;
            for (int ilng = 0; ilng < n; ++ilng) {
                ImageGeometry g;
                g.size = kPatchSize;
                if (hemisphere == 0) {
                    // North: west on the left, pole side on top.
                    g.lng0 = -180.0 + 360.0 * ilng / n;
                    g.dlng = (360.0 / n) * step;
                    g.lat0 = lat_hi;
                    g.dlat = -(lat_hi - lat_lo) * step;
                } else {
                    // South: the north-up crop of 180 - 360(ilng+1)/n .. 180 - 360 ilng/n,
                    // rotated by 180 degrees: east on the left, the pole on top.
                    g.lng0 = 180.0 - 360.0 * ilng / n;
                    g.dlng = -(360.0 / n) * step;
                    g.lat0 = -lat_hi;
                    g.dlat = (lat_hi - lat_lo) * step;
                }
                images.push_back(g);
            }
        }
    }
    return images;
}

std::vector<ImageGeometry> file_layout(int level) {
    level = clamp_level(level);
    std::vector<ImageGeometry> all;
    for (int l = 1; l <= level; ++l) {
        std::vector<ImageGeometry> images = level_images(l);
        all.insert(all.end(), images.begin(), images.end());
    }
    return all;
}

namespace {

void put32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

size_t pixel_bytes(int size, PixelFormat format) {
    const auto n = static_cast<size_t>(size) * static_cast<size_t>(size);
    switch (format) {
        case PixelFormat::Dxt1: return n / 2;
        case PixelFormat::Dxt5: return n;
        default: return n * 4;
    }
}

constexpr uint32_t fourcc(char a, char b, char c, char d) {
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
           static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

// An opaque DXT1 block must keep colour0 > colour1: equal end points select the three-colour
// mode, whose fourth index is transparent black. Equal end points mean a single colour, which
// is then written as four-colour block with every index on that colour.
void force_four_colour(uint8_t* block) {
    const unsigned c0 = block[0] | (block[1] << 8);
    const unsigned c1 = block[2] | (block[3] << 8);
    if (c0 != c1) return;
    unsigned a = c0, b = c0, index = 0;
    if (c0 > 0) {
        b = c0 - 1;  // every texel on index 0 = colour0
    } else {
        a = 1;       // black: every texel on index 1 = colour1 = 0
        index = 0x55555555u;
    }
    block[0] = static_cast<uint8_t>(a);
    block[1] = static_cast<uint8_t>(a >> 8);
    block[2] = static_cast<uint8_t>(b);
    block[3] = static_cast<uint8_t>(b >> 8);
    put32(block + 4, index);
}

}  // namespace

size_t encoded_size(int size, PixelFormat format) { return 128 + pixel_bytes(size, format); }

void append_dds(std::vector<uint8_t>& out, const uint8_t* rgba, int size, PixelFormat format) {
    const size_t start = out.size();
    out.resize(start + encoded_size(size, format), 0);
    uint8_t* h = out.data() + start;
    std::memcpy(h, "DDS ", 4);
    uint8_t* d = h + 4;  // DDS_HEADER
    const auto w = static_cast<uint32_t>(size);
    put32(d + 0, 124);
    put32(d + 8, w);   // height
    put32(d + 12, w);  // width
    uint8_t* pf = d + 72;  // DDS_PIXELFORMAT
    put32(pf + 0, 32);
    if (format == PixelFormat::Argb8) {
        put32(d + 4, 0x100F);  // CAPS | HEIGHT | WIDTH | PITCH | PIXELFORMAT
        put32(d + 16, w * 4);
        put32(pf + 4, 0x41);   // RGB | ALPHAPIXELS
        put32(pf + 12, 32);
        put32(pf + 16, 0x00FF0000u);
        put32(pf + 20, 0x0000FF00u);
        put32(pf + 24, 0x000000FFu);
        put32(pf + 28, 0xFF000000u);
    } else {
        put32(d + 4, 0x81007);  // CAPS | HEIGHT | WIDTH | PIXELFORMAT | LINEARSIZE
        put32(d + 16, static_cast<uint32_t>(pixel_bytes(size, format)));
        put32(pf + 4, 4);       // FOURCC
        put32(pf + 8, format == PixelFormat::Dxt1 ? fourcc('D', 'X', 'T', '1')
                                                  : fourcc('D', 'X', 'T', '5'));
    }
    put32(d + 104, 0x1000);  // caps: TEXTURE; depth, mipmap count and the rest stay 0

    uint8_t* px = h + 128;
    if (format == PixelFormat::Argb8) {
        const auto n = static_cast<size_t>(size) * static_cast<size_t>(size);
        for (size_t i = 0; i < n; ++i) {
            px[4 * i + 0] = rgba[4 * i + 2];
            px[4 * i + 1] = rgba[4 * i + 1];
            px[4 * i + 2] = rgba[4 * i + 0];
            px[4 * i + 3] = rgba[4 * i + 3];
        }
        return;
    }
    const bool alpha = format == PixelFormat::Dxt5;
    const size_t block_bytes = alpha ? 16 : 8;
    uint8_t block[64];
    for (int by = 0; by < size; by += 4) {
        for (int bx = 0; bx < size; bx += 4) {
            for (int y = 0; y < 4; ++y) {
                const uint8_t* row = rgba + (static_cast<size_t>(by + y) * static_cast<size_t>(size) +
                                             static_cast<size_t>(bx)) * 4;
                std::memcpy(block + y * 16, row, 16);
                if (!alpha)
                    for (int x = 0; x < 4; ++x) block[y * 16 + x * 4 + 3] = 255;
            }
            stb_compress_dxt_block(px, block, alpha ? 1 : 0, STB_DXT_NORMAL);
            if (!alpha) force_four_colour(px);
            px += block_bytes;
        }
    }
}

bool write_bmp24(const std::string& path, const uint8_t* rgb, int w, int h) {
    if (w <= 0 || h <= 0) return false;
    const auto row = static_cast<uint32_t>((w * 3 + 3) & ~3);
    const uint32_t image = row * static_cast<uint32_t>(h);
    uint8_t header[54] = {};
    header[0] = 'B';
    header[1] = 'M';
    put32(header + 2, 54 + image);
    put32(header + 10, 54);
    put32(header + 14, 40);
    put32(header + 18, static_cast<uint32_t>(w));
    put32(header + 22, static_cast<uint32_t>(h));  // positive: rows bottom to top
    header[26] = 1;
    header[28] = 24;
    put32(header + 34, image);
    put32(header + 38, 2835);  // 72 dpi
    put32(header + 42, 2835);
    std::vector<uint8_t> data(image, 0);
    for (int y = 0; y < h; ++y) {
        uint8_t* dst = data.data() + static_cast<size_t>(h - 1 - y) * row;
        const uint8_t* src = rgb + static_cast<size_t>(y) * static_cast<size_t>(w) * 3;
        for (int x = 0; x < w; ++x) {
            dst[3 * x + 0] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x + 0];
        }
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header &&
              std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) std::remove(path.c_str());
    return ok;
}

}  // namespace texgen
