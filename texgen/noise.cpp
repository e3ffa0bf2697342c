#include "texgen/noise.h"

#include <cmath>

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

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

#if defined(__SSE2__)
// The same directions as rows of four (the fourth 0), to be loaded as vectors.
alignas(16) constexpr float kGradientRows[16][4] = {
    {1, 1, 0, 0}, {-1, 1, 0, 0}, {1, -1, 0, 0}, {-1, -1, 0, 0}, {1, 0, 1, 0}, {-1, 0, 1, 0},
    {1, 0, -1, 0}, {-1, 0, -1, 0}, {0, 1, 1, 0}, {0, -1, 1, 0}, {0, 1, -1, 0}, {0, -1, -1, 0},
    {1, 1, 0, 0}, {0, -1, 1, 0}, {-1, 1, 0, 0}, {0, -1, -1, 0}};

// grad() of four corners at once, lane by lane the same products and sums in the same order:
// the corners of hashes h[0..3] at (x, ys[i], zs[i]).
inline __m128 grad4(const unsigned h[4], float x, __m128 ys, __m128 zs) {
    __m128 r0 = _mm_load_ps(kGradientRows[h[0] & 15u]);
    __m128 r1 = _mm_load_ps(kGradientRows[h[1] & 15u]);
    __m128 r2 = _mm_load_ps(kGradientRows[h[2] & 15u]);
    __m128 r3 = _mm_load_ps(kGradientRows[h[3] & 15u]);
    _MM_TRANSPOSE4_PS(r0, r1, r2, r3);  // r0, r1, r2: the x, y and z parts of the four
    return _mm_add_ps(_mm_add_ps(_mm_mul_ps(r0, _mm_set1_ps(x)), _mm_mul_ps(r1, ys)),
                      _mm_mul_ps(r2, zs));
}
#endif

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
#if defined(__SSE2__)
    // Four lanes: the corners at (y, z), (y+1, z), (y, z+1) and (y+1, z+1), first at x, then
    // at x+1; each lane does the float operations of the nested lerps below in their order.
    const unsigned at_x[4] = {p[AA], p[AB], p[AA + 1], p[AB + 1]};
    const unsigned at_x1[4] = {p[BA], p[BB], p[BA + 1], p[BB + 1]};
    const __m128 ys = _mm_setr_ps(y, y1, y, y1);
    const __m128 zs = _mm_setr_ps(z, z, z1, z1);
    const __m128 a = grad4(at_x, x, ys, zs);
    const __m128 b = grad4(at_x1, x1, ys, zs);
    const __m128 along_x = _mm_add_ps(a, _mm_mul_ps(_mm_sub_ps(b, a), _mm_set1_ps(u)));
    const __m128 low_y = _mm_shuffle_ps(along_x, along_x, _MM_SHUFFLE(2, 2, 2, 0));
    const __m128 high_y = _mm_shuffle_ps(along_x, along_x, _MM_SHUFFLE(3, 3, 3, 1));
    const __m128 along_y = _mm_add_ps(low_y, _mm_mul_ps(_mm_sub_ps(high_y, low_y), _mm_set1_ps(v)));
    alignas(16) float pair[4];
    _mm_store_ps(pair, along_y);
    return lerp(pair[0], pair[1], w);
#else
    return lerp(lerp(lerp(grad(p[AA], x, y, z), grad(p[BA], x1, y, z), u),
                     lerp(grad(p[AB], x, y1, z), grad(p[BB], x1, y1, z), u), v),
                lerp(lerp(grad(p[AA + 1], x, y, z1), grad(p[BA + 1], x1, y, z1), u),
                     lerp(grad(p[AB + 1], x, y1, z1), grad(p[BB + 1], x1, y1, z1), u), v),
                w);
#endif
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
