// Procedural surface and cloud colours of one body, sampled on the unit sphere.
#ifndef STARVANE_TEXGEN_PLANET_PAINTER_H
#define STARVANE_TEXGEN_PLANET_PAINTER_H

#include <cstdint>
#include <memory>
#include <vector>

#include "texgen/noise.h"
#include "texgen/tex_layout.h"

namespace texgen {

// Surface styles as passed in the request.
enum Style : int {
    kStyleIce = 1,
    kStyleRock = 2,
    kStyleGasGiant = 3,
    kStyleVenusian = 4,
    kStyleTerrestrial = 10,
    kStyleOceanic = 12,
    kStyleMartian = 13,
};

// A request with every field made finite and brought into range.
struct BodyParams {
    int style = kStyleRock;
    int cloud_class = 4;       // 2 (thick) .. 6 (thin)
    int atmosphere_class = 1;  // 1 .. 21
    float temperature = 0.0f;  // degrees Celsius
    float cloud_cover = 0.0f;  // 0 .. 1
    float water = 0.0f;        // ocean fraction 0 .. 1
    float ice = 0.0f;          // polar cap fraction 0 .. 1
    float radius_km = 1000.0f;
    uint64_t seed = 0;         // terrain
    uint64_t cloud_seed = 0;   // cloud layer
    bool detailed = true;      // plain surfaces leave out the finest octaves
};

class PlanetPainter {
public:
    // detail_level sets how many noise octaves are worth evaluating (1 to 8).
    PlanetPainter(const BodyParams& params, int detail_level);
    ~PlanetPainter();
    PlanetPainter(const PlanetPainter&) = delete;
    PlanetPainter& operator=(const PlanetPainter&) = delete;

    // size x size RGBA pixels (alpha 255) of one image.
    void render_surface(const ImageGeometry& g, uint8_t* rgba) const;
    // size x size RGBA pixels with alpha = cloud opacity.
    void render_clouds(const ImageGeometry& g, uint8_t* rgba) const;
    // Equirectangular w x h RGB map, north up, west on the left.
    void render_map(int w, int h, uint8_t* rgb) const;
    // The kMapTile x kMapTile pixels of that map from column tx and row ty (multiples of
    // kMapTile), as render_map() paints them; tiles may be painted on different threads.
    void render_map_tile(int w, int h, int tx, int ty, uint8_t* rgb) const;
    static constexpr int kMapTile = 64;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace texgen

#endif
