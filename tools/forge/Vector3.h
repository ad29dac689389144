// Vector helpers over the engine's Float3 for the content tool: dot, cross,
// length, normalisation and rotation about an axis.
//
// Use:
//   Float3 n = normalize(cross(b - a, c - a));
//   Float3 r = rotateAbout(v, axis, radians);     right-handed turn
// Inline pure functions; nothing is allocated.
#pragma once

#include "kestrane/Float3.h"

#include <cmath>

namespace Forge {

using Kestrane::Float3;

inline float dot(Float3 a, Float3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Float3 cross(Float3 a, Float3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float length(Float3 a) { return std::sqrt(dot(a, a)); }
inline Float3 normalize(Float3 a) {
    const float l = length(a);
    return l > 0.0f ? a * (1.0f / l) : Float3{0.0f, 0.0f, 0.0f};
}
inline Float3 rotateAbout(Float3 v, Float3 axis, float angle) {
    const Float3 k = normalize(axis);
    const float c = std::cos(angle), s = std::sin(angle);
    return v * c + cross(k, v) * s + k * (dot(k, v) * (1.0f - c));
}

}  // namespace Forge
