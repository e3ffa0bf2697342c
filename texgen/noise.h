// Seeded 3D gradient noise and the small helpers the painters share.
// Everything is sampled on the unit sphere, so textures wrap in longitude and meet at the poles.
#ifndef STARVANE_TEXGEN_NOISE_H
#define STARVANE_TEXGEN_NOISE_H

#include <array>
#include <cstddef>
#include <cstdint>

namespace texgen {

struct Vec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// splitmix64: the only source of pseudo-random numbers in the plug-in.
class SplitMix {
public:
    explicit SplitMix(uint64_t seed) : state_(seed) {}
    uint64_t next();
    // Uniform in [0, 1).
    double unit();

private:
    uint64_t state_;
};

// Improved-Perlin style gradient noise with a seeded permutation; values roughly in [-1, 1].
// The lattice repeats every 4096 cells, far more than the finest octave spans across a globe.
class GradientNoise {
public:
    explicit GradientNoise(uint64_t seed);
    float operator()(float x, float y, float z) const;
    float operator()(Vec3 p) const { return (*this)(p.x, p.y, p.z); }

private:
    static constexpr size_t kPeriod = 4096;
    std::array<uint16_t, 2 * kPeriod> perm_{};
};

// A sum of octaves of one noise; octaves [first, last) can be evaluated separately so that
// the smooth low octaves may be computed on a coarse grid and the fine ones per pixel.
class Fractal {
public:
    Fractal(uint64_t seed, float base_frequency, float gain = 0.5f, float lacunarity = 2.03f);
    float sum(Vec3 p, int first, int last) const;
    // Sum of 1 - |noise| octaves (sharp ridges).
    float ridged(Vec3 p, int first, int last) const;

    static constexpr int kMaxOctaves = 14;

private:
    GradientNoise noise_;
    float frequency_[kMaxOctaves];
    float amplitude_[kMaxOctaves];
    Vec3 offset_[kMaxOctaves];
};

inline float clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }
inline float lerp(float a, float b, float t) { return a + (b - a) * t; }
inline float smoothstep(float e0, float e1, float x) {
    const float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

}  // namespace texgen

#endif
