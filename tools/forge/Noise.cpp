#include "Noise.h"

#include <cmath>

namespace Forge {

std::uint32_t hash3(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B1u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA77u;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE3Du;
    h = (h << 17) | (h >> 15);
    h ^= static_cast<std::uint32_t>(z) * 0x27D4EB2Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

namespace {

int wrap(int i, int period) {
    if (period <= 0) return i;
    i %= period;
    return i < 0 ? i + period : i;
}

float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }
float lerpf(float a, float b, float t) { return a + (b - a) * t; }

float unit(std::uint32_t h) { return static_cast<float>(h >> 8) * (1.0f / 16777216.0f); }

// Dot product of the offset with one of 16 evenly spread unit gradients.
float grad2(std::uint32_t h, float dx, float dy) {
    static constexpr float C[16] = {1.0f, 0.92388f, 0.70711f, 0.38268f, 0.0f, -0.38268f, -0.70711f, -0.92388f,
                                    -1.0f, -0.92388f, -0.70711f, -0.38268f, 0.0f, 0.38268f, 0.70711f, 0.92388f};
    const std::uint32_t i = h & 15u;
    return C[i] * dx + C[(i + 12u) & 15u] * dy;
}

// One of 12 cube-edge gradients.
float grad3(std::uint32_t h, float dx, float dy, float dz) {
    switch (h % 12u) {
        case 0: return dx + dy;
        case 1: return -dx + dy;
        case 2: return dx - dy;
        case 3: return -dx - dy;
        case 4: return dx + dz;
        case 5: return -dx + dz;
        case 6: return dx - dz;
        case 7: return -dx - dz;
        case 8: return dy + dz;
        case 9: return -dy + dz;
        case 10: return dy - dz;
        default: return -dy - dz;
    }
}

}  // namespace

float valueNoise(float x, float y, std::uint32_t seed, int period) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = fade(x - fx), ty = fade(y - fy);
    auto v = [&](int i, int j) { return unit(hash3(wrap(ix + i, period), wrap(iy + j, period), 0, seed)); };
    return lerpf(lerpf(v(0, 0), v(1, 0), tx), lerpf(v(0, 1), v(1, 1), tx), ty);
}

float gradientNoise(float x, float y, std::uint32_t seed, int period) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float dx = x - fx, dy = y - fy;
    auto g = [&](int i, int j) {
        return grad2(hash3(wrap(ix + i, period), wrap(iy + j, period), 1, seed), dx - static_cast<float>(i),
                     dy - static_cast<float>(j));
    };
    const float tx = fade(dx), ty = fade(dy);
    return 1.41f * lerpf(lerpf(g(0, 0), g(1, 0), tx), lerpf(g(0, 1), g(1, 1), tx), ty);
}

float gradientNoise3(float x, float y, float z, std::uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy), iz = static_cast<int>(fz);
    const float dx = x - fx, dy = y - fy, dz = z - fz;
    auto g = [&](int i, int j, int k) {
        return grad3(hash3(ix + i, iy + j, iz + k, seed), dx - static_cast<float>(i), dy - static_cast<float>(j),
                     dz - static_cast<float>(k));
    };
    const float tx = fade(dx), ty = fade(dy), tz = fade(dz);
    const float a = lerpf(lerpf(g(0, 0, 0), g(1, 0, 0), tx), lerpf(g(0, 1, 0), g(1, 1, 0), tx), ty);
    const float b = lerpf(lerpf(g(0, 0, 1), g(1, 0, 1), tx), lerpf(g(0, 1, 1), g(1, 1, 1), tx), ty);
    return 0.95f * lerpf(a, b, tz);
}

float fbm2(float x, float y, std::uint32_t seed, int octaves, int period, float gain) {
    float sum = 0.0f, amplitude = 1.0f, norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * gradientNoise(x, y, seed + static_cast<std::uint32_t>(o) * 101u, period);
        norm += amplitude;
        amplitude *= gain;
        x *= 2.0f;
        y *= 2.0f;
        if (period > 0) period *= 2;
    }
    return sum / norm;
}

float fbm3(float x, float y, float z, std::uint32_t seed, int octaves, float gain) {
    float sum = 0.0f, amplitude = 1.0f, norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * gradientNoise3(x, y, z, seed + static_cast<std::uint32_t>(o) * 101u);
        norm += amplitude;
        amplitude *= gain;
        x *= 2.0f;
        y *= 2.0f;
        z *= 2.0f;
    }
    return sum / norm;
}

}  // namespace Forge
