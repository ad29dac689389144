// The animation utilities every scene of the production builds on: a cosine
// ease, musical time, the production's own random generator, a smooth random
// noise vector, rotation of a vector about an axis and the spectrum beat
// trigger. Scene layouts and camera paths are defined through these exact
// formulas, so they must not change.
//
// Use, on the rendering thread, inside a scene's draw():
//   srand(1); float a = u();            the same numbers every frame
//   Float3 eye = noise(0, t, NoiseMode::Linear) * 310;   (reseeds the generator)
//   ease((t - start) / (end - start))   0 .. 1 with soft ends
//   atBeat(16, demo->tempo)             seconds of beat 16
//   if (fire(trigger, spectrum[1], 0.3f, *frameDelta)) ...
// The generator is one process-wide state (the rendering thread's), seeded by
// srand and advanced by rand and u(); nothing here allocates.
#pragma once

#include "kestrane/Float3.h"
#include "vessara/BeatTrigger.h"

namespace Prod {

// Linear congruential generator: state <- state * 214013 + 2531011 (mod 2^32),
// rand() = (state >> 16) & 32767. srand(s) sets state = s. Being our own, the
// layouts are the same whatever the C library's generator is.
inline constexpr int RandMax = 32767;
void srand(unsigned seed);
int rand();

// 0.5 - 0.5 cos(pi x) with x clamped to [0, 1], in single precision.
float ease(float x);

// Seconds of a musical position `beats` at `tempo` beats per minute.
float atBeat(double beats, float tempo);

// 2 rand() / 32767 - 1: uniform in [-1, 1].
float u();

// (u(), u(), u()), drawn x first, then y, then z.
Kestrane::Float3 randomVector();

enum class NoiseMode { Linear, Cubic };

// Smooth random vector in [-1, 1]^3 (cubic mode may overshoot a little): for
// j = 0..3 the generator is seeded with trunc(channel + x + j) and a random
// vector R_j drawn (x, y, z); with w = x - floor(x) the result is
// lerp(R0, R1, w) or cubicInterpolate(R0, R1, R2, R3, w). Leaves the generator
// seeded with trunc(channel + x + 3) and three values drawn.
Kestrane::Float3 noise(int channel, float x, NoiseMode mode);

// Turns v about axis k by theta radians, opposite to the right-hand rule:
// v' = v cos + (v x k^) sin + k^ (k^ . v)(1 - cos), then rescaled to |v|.
void rotate(Kestrane::Float3& v, Kestrane::Float3 axis, float theta);

// The beat trigger on a scene's own trigger state: true on the frame it fires
// (the level above the threshold, at most once per hold time while it stays
// high, re-armed at once when it falls).
bool fire(Vessara::BeatTrigger& trigger, float level, float threshold, float frameDelta);

}  // namespace Prod
