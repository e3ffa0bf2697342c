#include "texgen/noise.h"

#include <cmath>

namespace texgen {

uint64_t SplitMix::next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double SplitMix::unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

GradientNoise::GradientNoise(uint64_t seed) {
    for (size_t i = 0; i < kPeriod; ++i) perm_[i] = static_cast<uint16_t>(i);
    SplitMix rng(seed);
    for (size_t i = kPeriod - 1; i > 0; --i) {
        const auto j = static_cast<size_t>(rng.next() % (i + 1));
        const uint16_t t = perm_[i];
        perm_[i] = perm_[j];
        perm_[j] = t;
    }
    for (size_t i = 0; i < kPeriod; ++i) perm_[kPeriod + i] = perm_[i];
}

namespace {

// The twelve cube-edge directions, four of them repeated to fill sixteen entries.
constexpr float kGradients[16][3] = {
    {1, 1, 0}, {-1, 1, 0}, {1, -1, 0}, {-1, -1, 0}, {1, 0, 1}, {-1, 0, 1}, {1, 0, -1}, {-1, 0, -1},
    {0, 1, 1}, {0, -1, 1}, {0, 1, -1}, {0, -1, -1}, {1, 1, 0}, {0, -1, 1}, {-1, 1, 0}, {0, -1, -1}};

inline float grad(unsigned hash, float x, float y, float z) {
    const float* g = kGradients[hash & 15u];
    return g[0] * x + g[1] * y + g[2] * z;
}

inline float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

inline int fast_floor(float v) {
    const int i = static_cast<int>(v);
    return v < static_cast<float>(i) ? i - 1 : i;
}

}  // namespace

float GradientNoise::operator()(float x, float y, float z) const {
    const int ix = fast_floor(x), iy = fast_floor(y), iz = fast_floor(z);
    constexpr unsigned mask = kPeriod - 1;
    const unsigned X = static_cast<unsigned>(ix) & mask;
    const unsigned Y = static_cast<unsigned>(iy) & mask;
    const unsigned Z = static_cast<unsigned>(iz) & mask;
    x -= static_cast<float>(ix);
    y -= static_cast<float>(iy);
    z -= static_cast<float>(iz);
    const float u = fade(x), v = fade(y), w = fade(z);
    const float x1 = x - 1.0f, y1 = y - 1.0f, z1 = z - 1.0f;
    const uint16_t* p = perm_.data();
    const unsigned A = (p[X] + Y) & mask, B = (p[X + 1] + Y) & mask;
    const unsigned AA = (p[A] + Z) & mask, AB = (p[A + 1] + Z) & mask;
    const unsigned BA = (p[B] + Z) & mask, BB = (p[B + 1] + Z) & mask;
    return lerp(lerp(lerp(grad(p[AA], x, y, z), grad(p[BA], x1, y, z), u),
                     lerp(grad(p[AB], x, y1, z), grad(p[BB], x1, y1, z), u), v),
                lerp(lerp(grad(p[AA + 1], x, y, z1), grad(p[BA + 1], x1, y, z1), u),
                     lerp(grad(p[AB + 1], x, y1, z1), grad(p[BB + 1], x1, y1, z1), u), v),
                w);
}

Fractal::Fractal(uint64_t seed, float base_frequency, float gain, float lacunarity)
    : noise_(seed) {
    SplitMix rng(seed ^ 0x5DEECE66Dull);
    float f = base_frequency, a = 1.0f;
    for (int i = 0; i < kMaxOctaves; ++i) {
        frequency_[i] = f;
        amplitude_[i] = a;
        // A per-octave shift keeps lattice points of the octaves from lining up.
        offset_[i] = {static_cast<float>(rng.unit() * 200.0 - 100.0),
                      static_cast<float>(rng.unit() * 200.0 - 100.0),
                      static_cast<float>(rng.unit() * 200.0 - 100.0)};
        f *= lacunarity;
        a *= gain;
    }
}

float Fractal::sum(Vec3 p, int first, int last) const {
    float s = 0.0f;
    if (first < 0) first = 0;
    if (last > kMaxOctaves) last = kMaxOctaves;
    for (int i = first; i < last; ++i) s += amplitude_[i] * noise_(p * frequency_[i] + offset_[i]);
    return s;
}

float Fractal::ridged(Vec3 p, int first, int last) const {
    float s = 0.0f;
    if (first < 0) first = 0;
    if (last > kMaxOctaves) last = kMaxOctaves;
    for (int i = first; i < last; ++i) {
        const float n = 1.0f - std::fabs(noise_(p * frequency_[i] + offset_[i]));
        s += amplitude_[i] * n * n;
    }
    return s;
}

}  // namespace texgen
