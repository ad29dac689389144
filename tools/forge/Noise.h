// Procedural noise for textures and mesh displacement: value noise and
// gradient noise in 2D (optionally tiling with a period, for textures that
// wrap) and 3D (for patterns painted on spheres, seamless in every
// direction), and fractal sums of octaves (fBm).
//
// Use:
//   float v = valueNoise(x, y, seed);              [0, 1], one random value per lattice point
//   float g = gradientNoise(x, y, seed, 8);        about [-1, 1], repeats every 8 units
//   float f = fbm2(x, y, seed, 5, 8);              5 octaves, tiling at period 8
//   float s = gradientNoise3(x, y, z, seed);   fbm3(x, y, z, seed, octaves)
// Pure functions of their arguments: the same value on every run.
#pragma once

#include <cstdint>

namespace Forge {

float valueNoise(float x, float y, std::uint32_t seed, int period = 0);
float gradientNoise(float x, float y, std::uint32_t seed, int period = 0);
float gradientNoise3(float x, float y, float z, std::uint32_t seed);

// Sum of octaves of gradient noise, each at twice the frequency and `gain`
// times the amplitude of the last; normalised to about [-1, 1]. A period > 0
// makes the first octave tile with that period (and every octave with it).
float fbm2(float x, float y, std::uint32_t seed, int octaves, int period = 0, float gain = 0.5f);
float fbm3(float x, float y, float z, std::uint32_t seed, int octaves, float gain = 0.5f);

// Integer hash used by the noise (also handy for per-cell random values).
std::uint32_t hash3(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed);

}  // namespace Forge
