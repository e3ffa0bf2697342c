#include "texgen/planet_painter.h"

#include <algorithm>
#include <cmath>

namespace texgen {

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kDeg = kPi / 180.0f;

struct Rgb {
    float r = 0.0f, g = 0.0f, b = 0.0f;
};

constexpr Rgb rgb8(int r, int g, int b) {
    return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f,
            static_cast<float>(b) / 255.0f};
}
inline Rgb mix(Rgb a, Rgb b, float t) {
    return {lerp(a.r, b.r, t), lerp(a.g, b.g, t), lerp(a.b, b.b, t)};
}
inline Rgb scale(Rgb a, float s) { return {a.r * s, a.g * s, a.b * s}; }
inline uint8_t to_byte(float v) {
    return static_cast<uint8_t>(clamp01(v) * 255.0f + 0.5f);
}

inline Vec3 unit_vector(float cos_lat, float sin_lat, float cos_lng, float sin_lng) {
    return {cos_lat * cos_lng, cos_lat * sin_lng, sin_lat};
}

// Octaves worth evaluating at a texture level: the finest has a wavelength of about four
// pixels at the level's equatorial resolution (anything finer would only alias).
int octaves_for_level(int level, float base_frequency) {
    const float width = static_cast<float>(32 << clamp_level(level));
    const float finest = width / (8.0f * kPi);
    const int n = 1 + static_cast<int>(std::lround(std::log2(std::max(finest / base_frequency, 1.0f))));
    return std::clamp(n, 3, Fractal::kMaxOctaves);
}

// Evenly spread points on the sphere, used to measure the distribution of a field.
std::vector<Vec3> sphere_samples(int n) {
    std::vector<Vec3> pts;
    pts.reserve(static_cast<size_t>(n));
    const float golden = kPi * (3.0f - std::sqrt(5.0f));
    for (int i = 0; i < n; ++i) {
        const float z = 1.0f - (2.0f * static_cast<float>(i) + 1.0f) / static_cast<float>(n);
        const float r = std::sqrt(std::max(0.0f, 1.0f - z * z));
        const float a = golden * static_cast<float>(i);
        pts.push_back({r * std::cos(a), r * std::sin(a), z});
    }
    return pts;
}

class Quantiles {
public:
    void build(std::vector<float> values) {
        std::sort(values.begin(), values.end());
        sorted_ = std::move(values);
    }
    float at(float q) const {
        if (sorted_.empty()) return 0.0f;
        const float pos = clamp01(q) * static_cast<float>(sorted_.size() - 1);
        const auto i = static_cast<size_t>(pos);
        const size_t j = std::min(i + 1, sorted_.size() - 1);
        return lerp(sorted_[i], sorted_[j], pos - static_cast<float>(i));
    }

private:
    std::vector<float> sorted_;
};

// Impact craters kept in a coarse latitude-longitude grid so that a pixel only looks at the
// few craters that can reach it.
class CraterField {
public:
    void build(uint64_t seed, int count, float r_min, float r_max) {
        cells_.assign(kRows * kCols, {});
        craters_.clear();
        SplitMix rng(seed);
        for (int i = 0; i < count; ++i) {
            const float z = static_cast<float>(rng.unit() * 2.0 - 1.0);
            const float a = static_cast<float>(rng.unit() * 2.0 * kPi);
            const float u = static_cast<float>(rng.unit());
            const float r = r_min * std::pow(r_max / r_min, u * u);
            const float fresh = static_cast<float>(0.25 + 0.75 * rng.unit());
            const float rho = std::sqrt(std::max(0.0f, 1.0f - z * z));
            const float reach = kReach * r;
            Crater c{{rho * std::cos(a), rho * std::sin(a), z}, r, fresh, reach * reach};
            insert(c, static_cast<uint32_t>(craters_.size()));
            craters_.push_back(c);
        }
    }

    bool empty() const { return craters_.empty(); }

    // Adds the craters' relief to height and their brightness change to albedo.
    void sample(Vec3 p, float lat_deg, float lng_deg, float& height, float& albedo) const {
        if (craters_.empty()) return;
        const std::vector<uint32_t>& cell = cells_[cell_index(lat_deg, lng_deg)];
        for (uint32_t idx : cell) {
            const Crater& c = craters_[idx];
            const Vec3 d = p - c.centre;
            const float d2 = dot(d, d);
            if (d2 >= c.reach_squared) continue;
            const float x = std::sqrt(d2) / c.radius;
            float profile;
            if (x < 1.0f) {
                profile = x * x - 1.0f;
                if (c.radius > 0.04f) {  // large craters: flat floor and a central peak
                    profile = std::max(profile, -0.7f) + 0.35f * bump(x / 0.2f);
                }
            } else {
                profile = 0.0f;
            }
            profile += 0.3f * bump((x - 1.0f) / 0.35f) * smoothstep(kReach, 1.25f, x);
            height += profile * 0.8f * c.radius * c.fresh;
            albedo += c.fresh * (0.10f * smoothstep(kReach, 1.0f, x) * (x > 0.95f ? 1.0f : 0.3f) -
                                 0.05f * (x < 1.0f ? 1.0f : 0.0f));
        }
    }

private:
    struct Crater {
        Vec3 centre;
        float radius;
        float fresh;
        float reach_squared;  // of the distance from the centre the crater reaches
    };
    static constexpr int kRows = 72, kCols = 144;

    // Smooth bump of width 1 each side of 0, zero beyond.
    static float bump(float t) {
        const float u = 1.0f - t * t;
        return u > 0.0f ? u * u : 0.0f;
    }
    static constexpr float kReach = 1.6f;

    static size_t cell_index(float lat_deg, float lng_deg) {
        int row = static_cast<int>((90.0f - lat_deg) * (kRows / 180.0f));
        row = std::clamp(row, 0, kRows - 1);
        int col = static_cast<int>(std::floor((lng_deg + 180.0f) * (kCols / 360.0f)));
        col %= kCols;
        if (col < 0) col += kCols;
        return static_cast<size_t>(row * kCols + col);
    }

    void insert(const Crater& c, uint32_t idx) {
        const float lat = std::asin(std::clamp(c.centre.z, -1.0f, 1.0f)) / kDeg;
        const float lng = std::atan2(c.centre.y, c.centre.x) / kDeg;
        // Chord reach converted to an angle, with a margin for the cell rounding.
        const float ext = 2.0f * std::asin(std::min(1.0f, kReach * c.radius * 0.5f)) / kDeg + 0.01f;
        const float lat_top = lat + ext, lat_bottom = lat - ext;
        int row0 = static_cast<int>((90.0f - lat_top) * (kRows / 180.0f));
        int row1 = static_cast<int>((90.0f - lat_bottom) * (kRows / 180.0f));
        row0 = std::clamp(row0, 0, kRows - 1);
        row1 = std::clamp(row1, 0, kRows - 1);
        bool all_cols = lat_top >= 89.0f || lat_bottom <= -89.0f;
        int col0 = 0, col1 = kCols - 1;
        if (!all_cols) {
            const float widest = std::max(std::fabs(lat_top), std::fabs(lat_bottom));
            const float dlng = ext / std::cos(widest * kDeg);
            if (dlng >= 175.0f) {
                all_cols = true;
            } else {
                col0 = static_cast<int>(std::floor((lng - dlng + 180.0f) * (kCols / 360.0f)));
                col1 = static_cast<int>(std::floor((lng + dlng + 180.0f) * (kCols / 360.0f)));
                if (col1 - col0 >= kCols - 1) all_cols = true;
            }
        }
        if (all_cols) {
            col0 = 0;
            col1 = kCols - 1;
        }
        for (int row = row0; row <= row1; ++row) {
            for (int col = col0; col <= col1; ++col) {
                int cc = col % kCols;
                if (cc < 0) cc += kCols;
                cells_[static_cast<size_t>(row * kCols + cc)].push_back(idx);
            }
        }
    }

    std::vector<Crater> craters_;
    std::vector<std::vector<uint32_t>> cells_;
};

// Per-pixel inputs of the colour functions.
struct Sample {
    Vec3 p;
    float h = 0.0f;       // terrain height (or band coordinate of a gas giant)
    float m = 0.0f;       // slow variation: moisture, albedo patches
    float albedo = 0.0f;  // crater brightness change
    float d_east = 0.0f;  // slope of h per radian toward east
    float d_north = 0.0f; // and toward north
};

constexpr int kCoarseStep = 4;     // pixels between coarse grid nodes
constexpr int kFineOctaves = 2;    // octaves evaluated at every pixel
constexpr int kPlainOctavesLeftOut = 2;  // the finest octaves a plain surface does without

}  // namespace

struct PlanetPainter::Impl {
    BodyParams bp;
    int octaves = 5;      // terrain
    int cloud_octaves = 5;
    int cloud_fine = 2;   // cloud octaves evaluated per pixel; soft clouds need fewer at high levels
    Fractal terrain;
    Fractal variation;
    Fractal detail;       // ridges of ice bodies, turbulence of gas giants
    Fractal cloud;
    Fractal warp_x, warp_y, warp_z;
    CraterField craters;
    Quantiles height_q, cloud_q;
    float sea_level = -10.0f;
    float height_low = -1.0f, height_high = 1.0f;
    float cloud_threshold = 10.0f;
    float cloud_softness = 0.1f;
    float cloud_opacity = 0.0f;
    Rgb cloud_colour{1.0f, 1.0f, 1.0f};
    // Gas giants.
    Rgb belt_colour, zone_colour, spot_colour;
    float band_phase[4] = {};
    Vec3 spot_centre;
    float spot_size = 0.1f;
    // Rocky bodies.
    Rgb rock_dark, rock_light;

    Impl(const BodyParams& params, int level)
        : bp(params),
          terrain(params.seed ^ 0x1111, params.style == kStyleGasGiant ? 2.0f : 1.4f),
          variation(params.seed ^ 0x2222, 1.3f),
          detail(params.seed ^ 0x3333, params.style == kStyleGasGiant ? 3.0f : 6.0f),
          cloud(params.cloud_seed ^ 0x4444, 2.2f, 0.55f),
          warp_x(params.cloud_seed ^ 0x5555, 1.6f),
          warp_y(params.cloud_seed ^ 0x6666, 1.6f),
          warp_z(params.cloud_seed ^ 0x7777, 1.6f) {
        octaves = octaves_for_level(level, 1.4f);
        cloud_octaves = octaves_for_level(level, 2.2f);
        if (!params.detailed) {
            octaves = std::max(3, octaves - kPlainOctavesLeftOut);
            cloud_octaves = std::max(3, cloud_octaves - kPlainOctavesLeftOut);
        }
        cloud_fine = level >= 7 ? 1 : kFineOctaves;
        setup_craters();
        setup_colours();
        measure();
    }

    bool is_gas() const { return bp.style == kStyleGasGiant; }

    void setup_craters() {
        int count = 0;
        float r_max = 0.2f;
        switch (bp.style) {
            case kStyleRock: count = 900; r_max = 0.25f; break;
            case kStyleMartian: count = 700; r_max = 0.22f; break;
            case kStyleIce: count = 350; r_max = 0.18f; break;
            case kStyleVenusian: count = 60; r_max = 0.08f; break;
            default: count = 0; break;
        }
        if (count > 0) craters.build(bp.seed ^ 0x8888, count, 0.006f, r_max);
    }

    void setup_colours() {
        SplitMix rng(bp.seed ^ 0x9999);
        const float t = bp.temperature;
        if (is_gas()) {
            // From cold ice giants through Saturn- and Jupiter-like to dark hot giants.
            struct Anchor {
                float temp;
                Rgb belt, zone;
            };
            const Anchor anchors[] = {
                {-210.0f, rgb8(92, 148, 200), rgb8(150, 205, 222)},
                {-160.0f, rgb8(120, 178, 196), rgb8(186, 220, 214)},
                {-120.0f, rgb8(186, 156, 104), rgb8(228, 210, 160)},
                {-60.0f, rgb8(168, 108, 66), rgb8(232, 222, 198)},
                {150.0f, rgb8(150, 96, 60), rgb8(214, 190, 150)},
                {600.0f, rgb8(96, 60, 50), rgb8(156, 110, 80)},
                {1500.0f, rgb8(70, 34, 30), rgb8(140, 70, 40)},
            };
            const int n = static_cast<int>(sizeof anchors / sizeof anchors[0]);
            belt_colour = anchors[0].belt;
            zone_colour = anchors[0].zone;
            for (int i = 0; i + 1 < n; ++i) {
                if (t >= anchors[i].temp) {
                    const float f = smoothstep(anchors[i].temp, anchors[i + 1].temp, t);
                    belt_colour = mix(anchors[i].belt, anchors[i + 1].belt, f);
                    zone_colour = mix(anchors[i].zone, anchors[i + 1].zone, f);
                }
            }
            for (float& ph : band_phase) ph = static_cast<float>(rng.unit() * 2.0 * kPi);
            const float lat = static_cast<float>((rng.unit() - 0.5) * 0.9);  // radians
            const float lng = static_cast<float>(rng.unit() * 2.0 * kPi);
            spot_centre = {std::cos(lat) * std::cos(lng), std::cos(lat) * std::sin(lng), std::sin(lat)};
            spot_size = static_cast<float>(0.06 + 0.08 * rng.unit());
            spot_colour = t < -150.0f ? rgb8(40, 70, 140) : rgb8(196, 110, 80);
            build_band_table();
        }
        // Grey or brownish rock, shifted by the surface temperature.
        const float hue = static_cast<float>(rng.unit());
        rock_dark = mix(rgb8(78, 76, 74), rgb8(92, 78, 64), hue);
        rock_light = mix(rgb8(178, 174, 168), rgb8(186, 164, 136), hue);
        if (t > 150.0f) {
            rock_dark = mix(rock_dark, rgb8(70, 56, 48), 0.5f);
            rock_light = mix(rock_light, rgb8(160, 130, 110), 0.4f);
        } else if (t < -150.0f) {
            rock_light = mix(rock_light, rgb8(200, 204, 210), 0.4f);
        }

        // Clouds: thicker classes are more opaque and sharper edged.
        const int cc = std::clamp(bp.cloud_class, 2, 6);
        const float opacity[] = {1.0f, 0.95f, 0.85f, 0.7f, 0.5f};
        const float softness[] = {0.25f, 0.3f, 0.35f, 0.4f, 0.45f};
        cloud_opacity = opacity[cc - 2];
        cloud_softness = softness[cc - 2];
        cloud_colour = rgb8(250, 250, 250);
        if (bp.style == kStyleVenusian) cloud_colour = rgb8(236, 218, 168);
    }

    // Full height without craters, used to measure its distribution.
    float full_height(Vec3 p) const {
        if (is_gas()) return 0.0f;
        return terrain.sum(p, 0, octaves);
    }
    float full_cloud(Vec3 p) const {
        const Vec3 w = {warp_x.sum(p, 0, 2), warp_y.sum(p, 0, 2), warp_z.sum(p, 0, 2)};
        return cloud.sum(cloud_space(p, w), 0, cloud_octaves);
    }
    static Vec3 cloud_space(Vec3 p, Vec3 w) {
        const Vec3 q = p + w * 0.35f;
        return {q.x, q.y, q.z * 1.8f};  // zonal: stretched along the parallels
    }

    void measure() {
        const std::vector<Vec3> pts = sphere_samples(3000);
        if (!is_gas()) {
            std::vector<float> hs;
            hs.reserve(pts.size());
            for (const Vec3& p : pts) hs.push_back(full_height(p));
            height_q.build(std::move(hs));
            height_low = height_q.at(0.01f);
            height_high = height_q.at(0.995f);
            float water = bp.water;
            if (bp.style == kStyleOceanic) water = std::max(water, 0.9f);
            if (bp.style == kStyleTerrestrial || bp.style == kStyleOceanic ||
                bp.style == kStyleMartian) {
                sea_level = water > 0.005f ? height_q.at(water) : height_low - 10.0f;
            } else {
                sea_level = height_low - 10.0f;
            }
        }
        if (bp.cloud_cover > 0.0f) {
            std::vector<float> cs;
            cs.reserve(pts.size());
            for (const Vec3& p : pts) cs.push_back(full_cloud(p));
            cloud_q.build(std::move(cs));
            const float spread = cloud_q.at(0.95f) - cloud_q.at(0.05f);
            cloud_softness *= std::max(spread, 0.05f);
            cloud_threshold = cloud_q.at(1.0f - bp.cloud_cover);
        }
    }

    // ---- colour of one surface pixel ----

    // Polar caps covering the fraction ice of the globe; 0..1.
    float polar_ice(const Sample& s) const {
        if (bp.ice <= 0.0f) return 0.0f;
        const float edge = 1.0f - bp.ice;  // |sin lat| beyond which the caps lie
        const float e = (s.h - height_low) / std::max(height_high - height_low, 0.05f);
        const float wobble = 0.04f * s.m + 0.03f * e;
        return smoothstep(edge - 0.01f, edge + 0.01f, std::fabs(s.p.z) + wobble);
    }

    float relief(const Sample& s, float strength) const {
        const float lit = 0.6f * s.d_east - 0.6f * s.d_north;
        return std::clamp(1.0f + strength * lit, 0.55f, 1.45f);
    }

    // Rough surface temperature at a latitude (z = sine of latitude), in degrees Celsius.
    float local_temperature(float z) const { return bp.temperature + 12.0f - 52.0f * z * z; }

    Rgb ocean(const Sample& s) const {
        const float depth = (sea_level - s.h) / std::max(sea_level - height_low, 0.05f);
        Rgb c = mix(rgb8(36, 98, 138), rgb8(10, 30, 74), smoothstep(0.0f, 0.4f, depth));
        if (bp.temperature > 50.0f) c = mix(c, rgb8(60, 84, 70), smoothstep(50.0f, 150.0f, bp.temperature) * 0.6f);
        const float local = local_temperature(s.p.z);
        const float sea_ice = smoothstep(-8.0f, -22.0f, local + 4.0f * s.m);
        return mix(c, rgb8(222, 230, 240), sea_ice);
    }

    Rgb land_terrestrial(const Sample& s) const {
        const float e = clamp01((s.h - sea_level) / std::max(height_high - sea_level, 0.05f));
        const float local = local_temperature(s.p.z) - 35.0f * e;
        const float wet = smoothstep(-0.25f, 0.35f, s.m + 0.15f);
        const Rgb hot = mix(rgb8(206, 176, 122), rgb8(44, 84, 34), wet);
        const Rgb mild = mix(rgb8(150, 142, 92), rgb8(58, 98, 48), wet);
        const Rgb cool = mix(rgb8(118, 112, 92), rgb8(62, 82, 58), wet);
        const Rgb snow = rgb8(238, 242, 248);
        Rgb c = mix(cool, mild, smoothstep(-2.0f, 10.0f, local));
        c = mix(c, hot, smoothstep(16.0f, 28.0f, local));
        // No plant life on a scorching world: bare, sun-baked ground.
        c = mix(c, mix(rgb8(168, 128, 92), rgb8(120, 96, 80), wet), smoothstep(45.0f, 90.0f, bp.temperature));
        c = mix(c, mix(rgb8(120, 108, 96), rgb8(150, 140, 130), e), smoothstep(0.35f, 0.75f, e));
        c = mix(c, snow, smoothstep(-10.0f, -18.0f, local));
        c = mix(c, rgb8(196, 184, 150), 0.5f * smoothstep(0.02f, 0.0f, e));  // beaches
        return scale(c, relief(s, 0.03f));
    }

    Rgb land_martian(const Sample& s) const {
        const float e = clamp01((s.h - height_low) / std::max(height_high - height_low, 0.05f));
        Rgb c = mix(rgb8(110, 62, 42), rgb8(184, 104, 60), smoothstep(0.1f, 0.5f, e));
        c = mix(c, rgb8(210, 150, 104), smoothstep(0.55f, 0.95f, e));
        c = mix(c, rgb8(92, 70, 58), 0.6f * smoothstep(0.15f, 0.55f, s.m));  // dark albedo features
        if (bp.temperature < -80.0f) c = mix(c, rgb8(196, 170, 150), 0.25f);
        c = scale(c, 1.0f + s.albedo);
        return scale(c, relief(s, 0.04f));
    }

    Rgb land_rock(const Sample& s) const {
        const float e = clamp01((s.h - height_low) / std::max(height_high - height_low, 0.05f));
        // Dark lowland plains, lighter cratered highlands.
        const float highland = smoothstep(0.3f, 0.5f, e + 0.25f * s.m);
        Rgb c = mix(rock_dark, rock_light, 0.25f + 0.6f * highland + 0.15f * (e - 0.5f));
        c = scale(c, 1.0f + s.albedo * 1.2f);
        return scale(c, relief(s, 0.035f));
    }

    Rgb land_venusian(const Sample& s) const {
        const float e = clamp01((s.h - height_low) / std::max(height_high - height_low, 0.05f));
        Rgb c = mix(rgb8(128, 90, 56), rgb8(190, 150, 100), smoothstep(0.2f, 0.85f, e));
        c = mix(c, rgb8(84, 58, 40), 0.55f * smoothstep(0.25f, 0.6f, s.m));  // lava flows
        c = scale(c, 1.0f + s.albedo);
        return scale(c, relief(s, 0.03f));
    }

    Rgb land_ice(const Sample& s, float lines) const {
        const float e = clamp01((s.h - height_low) / std::max(height_high - height_low, 0.05f));
        Rgb c = mix(rgb8(196, 206, 216), rgb8(236, 240, 244), e);
        c = mix(c, rgb8(186, 168, 146), 0.5f * smoothstep(0.1f, 0.6f, s.m));  // dirty ice
        if (bp.temperature > -60.0f) c = mix(c, rgb8(170, 196, 214), 0.3f);
        c = mix(c, rgb8(150, 104, 78), 0.75f * lines);
        c = scale(c, 1.0f + s.albedo);
        return scale(c, relief(s, 0.04f));
    }

    // Colour of the cloud bands along the band coordinate (about the sine of latitude),
    // tabulated over -kBandRange..kBandRange.
    static constexpr int kBandSteps = 4096;
    static constexpr float kBandRange = 1.5f;
    std::vector<Rgb> band_table;

    void build_band_table() {
        band_table.resize(kBandSteps + 1);
        for (int i = 0; i <= kBandSteps; ++i) {
            const float t = -kBandRange + 2.0f * kBandRange * static_cast<float>(i) / kBandSteps;
            const float v = 0.5f * std::sin(t * 18.0f + band_phase[0]) + 0.35f * std::sin(t * 31.0f + band_phase[1]) +
                            0.3f * std::sin(t * 7.0f + band_phase[2]);
            const Rgb c = mix(belt_colour, zone_colour, smoothstep(-0.45f, 0.45f, v));
            const float tint = 0.5f + 0.5f * std::sin(t * 11.0f + band_phase[3]);
            band_table[static_cast<size_t>(i)] = scale(c, 0.9f + 0.2f * tint);
        }
    }

    Rgb gas(const Sample& s) const {
        const float pos = (std::clamp(s.h, -kBandRange, kBandRange) + kBandRange) * (kBandSteps / (2.0f * kBandRange));
        const auto i = std::min(static_cast<size_t>(pos), static_cast<size_t>(kBandSteps - 1));
        Rgb c = mix(band_table[i], band_table[i + 1], pos - static_cast<float>(i));
        // One great oval storm.
        const Vec3 d = s.p - spot_centre;
        const float dz = d.z, dh = std::sqrt(std::max(0.0f, dot(d, d) - dz * dz));
        const float oval = (dh * dh) / (spot_size * spot_size) + (dz * dz) / (0.25f * spot_size * spot_size);
        c = mix(c, spot_colour, 0.8f * smoothstep(1.0f, 0.5f, oval));
        c = scale(c, 1.0f - 0.3f * smoothstep(0.75f, 1.0f, std::fabs(s.p.z)));
        return c;
    }

    Rgb surface_colour(const Sample& s, float lines) const {
        Rgb c;
        switch (bp.style) {
            case kStyleGasGiant: return gas(s);
            case kStyleIce: c = land_ice(s, lines); break;
            case kStyleVenusian: c = land_venusian(s); break;
            case kStyleTerrestrial:
            case kStyleOceanic: c = s.h < sea_level ? ocean(s) : land_terrestrial(s); break;
            case kStyleMartian: c = s.h < sea_level ? ocean(s) : land_martian(s); break;
            default: c = land_rock(s); break;
        }
        return mix(c, rgb8(236, 240, 246), polar_ice(s));
    }

    // ---- rendering ----

    // Coarse part of the per-pixel fields: slow octaves that are interpolated between grid
    // nodes. Surface: {height, variation}; gas giant: {band coordinate, unused}.
    void coarse_surface(Vec3 p, float out[2]) const {
        if (is_gas()) {
            const Vec3 q{p.x, p.y, p.z * 5.0f};
            out[0] = p.z + 0.05f * detail.sum(q, 0, std::max(0, octaves - kFineOctaves));
            out[1] = 0.0f;
            return;
        }
        out[0] = terrain.sum(p, 0, std::max(0, octaves - kFineOctaves));
        out[1] = variation.sum(p, 0, 3);
    }
    float fine_surface(Vec3 p) const {
        if (is_gas()) {
            const Vec3 q{p.x, p.y, p.z * 5.0f};
            return 0.05f * detail.sum(q, std::max(0, octaves - kFineOctaves), octaves);
        }
        return terrain.sum(p, std::max(0, octaves - kFineOctaves), octaves);
    }
    void coarse_cloud(Vec3 p, float out[4]) const {
        const Vec3 w = {warp_x.sum(p, 0, 2), warp_y.sum(p, 0, 2), warp_z.sum(p, 0, 2)};
        out[0] = cloud.sum(cloud_space(p, w), 0, std::max(0, cloud_octaves - cloud_fine));
        out[1] = w.x;
        out[2] = w.y;
        out[3] = w.z;
    }
    float fine_cloud(Vec3 p, Vec3 w) const {
        return cloud.sum(cloud_space(p, w), std::max(0, cloud_octaves - cloud_fine), cloud_octaves);
    }

    // Positions of pixel coordinates (with a margin of one pixel each side) of an image.
    struct Frame {
        int size = 0, margin = 0, span = 0;
        std::vector<float> lat_deg, lng_deg, cos_lat, sin_lat, cos_lng, sin_lng;
        // Coarse grid: intervals of about kCoarseStep pixels laid so that the first and last
        // pixel of the image sit exactly on nodes, and neighbouring images agree on their
        // shared edges; one extra node each side covers the margin.
        int intervals = 1, nodes = 0;
        float node_per_pixel = 1.0f;
        std::vector<float> node_cos_lat, node_sin_lat, node_cos_lng, node_sin_lng;

        Frame(const ImageGeometry& g, int margin_px) {
            size = g.size;
            margin = margin_px;
            span = size + 2 * margin;
            auto fill = [](std::vector<float>& deg, std::vector<float>& c, std::vector<float>& s,
                           int n, double start, double step) {
                deg.resize(static_cast<size_t>(n));
                c.resize(static_cast<size_t>(n));
                s.resize(static_cast<size_t>(n));
                for (int i = 0; i < n; ++i) {
                    const double v = start + step * i;
                    deg[static_cast<size_t>(i)] = static_cast<float>(v);
                    c[static_cast<size_t>(i)] = static_cast<float>(std::cos(v * (3.14159265358979323846 / 180.0)));
                    s[static_cast<size_t>(i)] = static_cast<float>(std::sin(v * (3.14159265358979323846 / 180.0)));
                }
            };
            fill(lat_deg, cos_lat, sin_lat, span, g.lat0 - g.dlat * margin, g.dlat);
            fill(lng_deg, cos_lng, sin_lng, span, g.lng0 - g.dlng * margin, g.dlng);
            intervals = std::max(1, (size - 1 + kCoarseStep - 1) / kCoarseStep);
            nodes = intervals + 3;
            const double pixels_per_node = static_cast<double>(size - 1) / intervals;
            node_per_pixel = static_cast<float>(intervals) / static_cast<float>(std::max(size - 1, 1));
            std::vector<float> unused;
            fill(unused, node_cos_lat, node_sin_lat, nodes, g.lat0 - g.dlat * pixels_per_node, g.dlat * pixels_per_node);
            fill(unused, node_cos_lng, node_sin_lng, nodes, g.lng0 - g.dlng * pixels_per_node, g.dlng * pixels_per_node);
        }

        Vec3 pixel(int x, int y) const {
            return unit_vector(cos_lat[static_cast<size_t>(y)], sin_lat[static_cast<size_t>(y)],
                               cos_lng[static_cast<size_t>(x)], sin_lng[static_cast<size_t>(x)]);
        }
        Vec3 node(int i, int j) const {
            return unit_vector(node_cos_lat[static_cast<size_t>(j)], node_sin_lat[static_cast<size_t>(j)],
                               node_cos_lng[static_cast<size_t>(i)], node_sin_lng[static_cast<size_t>(i)]);
        }
    };

    // Evaluates K coarse values on the grid and returns a per-pixel bilinear interpolator.
    template <int K, typename Fn>
    static std::vector<float> coarse_grid(const Frame& f, Fn fn) {
        std::vector<float> grid(static_cast<size_t>(f.nodes * f.nodes * K));
        for (int j = 0; j < f.nodes; ++j)
            for (int i = 0; i < f.nodes; ++i) fn(f.node(i, j), &grid[static_cast<size_t>((j * f.nodes + i) * K)]);
        return grid;
    }
    // x, y: pixel position in the frame's span (margin included).
    template <int K>
    static void interpolate(const Frame& f, const std::vector<float>& grid, int x, int y, float out[K]) {
        const float gx = static_cast<float>(x - f.margin) * f.node_per_pixel + 1.0f;
        const float gy = static_cast<float>(y - f.margin) * f.node_per_pixel + 1.0f;
        const int i = std::clamp(static_cast<int>(gx), 0, f.nodes - 2);
        const int j = std::clamp(static_cast<int>(gy), 0, f.nodes - 2);
        const float u = gx - static_cast<float>(i), v = gy - static_cast<float>(j);
        const int i1 = i + 1, j1 = j + 1;
        const float* a = &grid[static_cast<size_t>((j * f.nodes + i) * K)];
        const float* b = &grid[static_cast<size_t>((j * f.nodes + i1) * K)];
        const float* c = &grid[static_cast<size_t>((j1 * f.nodes + i) * K)];
        const float* d = &grid[static_cast<size_t>((j1 * f.nodes + i1) * K)];
        for (int k = 0; k < K; ++k) out[k] = lerp(lerp(a[k], b[k], u), lerp(c[k], d[k], u), v);
    }

    void surface(const ImageGeometry& g, uint8_t* rgba) const {
        const Frame f(g, 1);
        const int span = f.span;
        const std::vector<float> grid =
            coarse_grid<2>(f, [this](Vec3 p, float* out) { coarse_surface(p, out); });
        // Scratch buffers live as long as the rendering thread, so images do not pay for them.
        // Used through plain pointers: each use of a thread_local in a plug-in goes through a
        // lookup of the thread's storage.
        thread_local std::vector<float> heightScratch, varScratch, albScratch;
        const auto pixels = static_cast<size_t>(span * span);
        heightScratch.resize(pixels);
        varScratch.resize(pixels);
        albScratch.resize(pixels);
        float* const height = heightScratch.data();
        float* const var = varScratch.data();
        float* const alb = albScratch.data();
        for (int y = 0; y < span; ++y) {
            for (int x = 0; x < span; ++x) {
                const Vec3 p = f.pixel(x, y);
                float c[2];
                interpolate<2>(f, grid, x, y, c);
                float h = c[0] + fine_surface(p);
                float a = 0.0f;
                craters.sample(p, f.lat_deg[static_cast<size_t>(y)], f.lng_deg[static_cast<size_t>(x)], h, a);
                const auto k = static_cast<size_t>(y * span + x);
                height[k] = h;
                var[k] = c[1];
                alb[k] = a;
            }
        }
        const float step_lng = static_cast<float>(g.dlng) * kDeg, step_lat = static_cast<float>(g.dlat) * kDeg;
        for (int y = 0; y < g.size; ++y) {
            const int yy = y + 1;
            const float cl = std::max(f.cos_lat[static_cast<size_t>(yy)], 0.02f);
            for (int x = 0; x < g.size; ++x) {
                const int xx = x + 1;
                const auto k = static_cast<size_t>(yy * span + xx);
                Sample s;
                s.p = f.pixel(xx, yy);
                s.h = height[k];
                s.m = var[k];
                s.albedo = alb[k];
                s.d_east = (height[k + 1] - height[k - 1]) / (2.0f * step_lng * cl);
                s.d_north = (height[k + static_cast<size_t>(span)] - height[k - static_cast<size_t>(span)]) / (2.0f * step_lat);
                float lines = 0.0f;
                if (bp.style == kStyleIce) {
                    const float r = detail.ridged(s.p, 0, 2) / 1.5f;
                    lines = smoothstep(0.80f, 0.97f, r);
                }
                const Rgb c = surface_colour(s, lines);
                uint8_t* px = rgba + (static_cast<size_t>(y) * static_cast<size_t>(g.size) + static_cast<size_t>(x)) * 4;
                px[0] = to_byte(c.r);
                px[1] = to_byte(c.g);
                px[2] = to_byte(c.b);
                px[3] = 255;
            }
        }
    }

    void clouds(const ImageGeometry& g, uint8_t* rgba) const {
        const Frame f(g, 0);
        const std::vector<float> grid =
            coarse_grid<4>(f, [this](Vec3 p, float* out) { coarse_cloud(p, out); });
        for (int y = 0; y < g.size; ++y) {
            for (int x = 0; x < g.size; ++x) {
                const Vec3 p = f.pixel(x, y);
                float c[4];
                interpolate<4>(f, grid, x, y, c);
                const float v = c[0] + fine_cloud(p, {c[1], c[2], c[3]});
                const float density = clamp01((v - cloud_threshold) / cloud_softness + 0.15f);
                const float a = cloud_opacity * std::sqrt(density);
                const Rgb col = scale(cloud_colour, 0.9f + 0.1f * a);
                uint8_t* px = rgba + (static_cast<size_t>(y) * static_cast<size_t>(g.size) + static_cast<size_t>(x)) * 4;
                px[0] = to_byte(col.r);
                px[1] = to_byte(col.g);
                px[2] = to_byte(col.b);
                px[3] = to_byte(a);
            }
        }
    }
};

PlanetPainter::PlanetPainter(const BodyParams& params, int detail_level)
    : impl_(std::make_unique<Impl>(params, detail_level)) {}

PlanetPainter::~PlanetPainter() = default;

void PlanetPainter::render_surface(const ImageGeometry& g, uint8_t* rgba) const { impl_->surface(g, rgba); }

void PlanetPainter::render_clouds(const ImageGeometry& g, uint8_t* rgba) const { impl_->clouds(g, rgba); }

void PlanetPainter::render_map(int w, int h, uint8_t* rgb) const {
    for (int ty = 0; ty < h; ty += kMapTile)
        for (int tx = 0; tx < w; tx += kMapTile) render_map_tile(w, h, tx, ty, rgb);
}

void PlanetPainter::render_map_tile(int w, int h, int tx, int ty, uint8_t* rgb) const {
    // Rendered through the surface renderer as a square tile of the equirectangular map.
    const int tile = kMapTile;
    std::vector<uint8_t> buf(static_cast<size_t>(tile * tile * 4));
    ImageGeometry g;
    g.size = tile;
    g.dlng = 360.0 / w;
    g.lng0 = -180.0 + (tx + 0.5) * g.dlng;
    g.dlat = -180.0 / h;
    g.lat0 = 90.0 + (ty + 0.5) * g.dlat;
    impl_->surface(g, buf.data());
    for (int y = 0; y < tile && ty + y < h; ++y)
        for (int x = 0; x < tile && tx + x < w; ++x)
            for (int c = 0; c < 3; ++c)
                rgb[(static_cast<size_t>(ty + y) * static_cast<size_t>(w) + static_cast<size_t>(tx + x)) * 3 +
                    static_cast<size_t>(c)] = buf[(static_cast<size_t>(y) * tile + static_cast<size_t>(x)) * 4 +
                                                  static_cast<size_t>(c)];
}

}  // namespace texgen
