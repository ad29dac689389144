// Small three-component vector and the engine's two interpolation functions,
// used by animation key tracks and by scenes that blend positions or colours.
//
// Use:
//   Float3 p{1.0f, 2.0f, 3.0f};          plain value, passed and returned by copy.
//   lerp(a, b, t)                         a + t * (b - a), per component.
//   cubicInterpolate(p0, p1, p2, p3, t)   cubic through p1 (t = 0) and p2 (t = 1);
//                                         p0 and p3 shape the tangents.
// Everything is single precision; powers of t are formed by repeated
// multiplication (t*t, t*t*t), never pow(), so results are bit-reproducible
// across compilers that keep float arithmetic in float.
// Nothing here allocates or owns anything.
#pragma once

namespace Kestrane {

struct Float3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

inline Float3 operator+(Float3 a, Float3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Float3 operator-(Float3 a, Float3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Float3 operator*(Float3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline Float3 operator*(float s, Float3 a) { return {a.x * s, a.y * s, a.z * s}; }
inline bool operator==(Float3 a, Float3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

inline Float3 lerp(Float3 a, Float3 b, float t) {
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z)};
}

namespace detail {
inline float cubicComponent(float p0, float p1, float p2, float p3, float t) {
    const float a0 = p3 - p2 - p0 + p1;
    const float a1 = p0 - p1 - a0;
    const float a2 = p2 - p0;
    const float t2 = t * t;
    const float t3 = t2 * t;
    return p1 + ((a0 * t3 + a1 * t2) + a2 * t);
}
}  // namespace detail

inline Float3 cubicInterpolate(Float3 p0, Float3 p1, Float3 p2, Float3 p3, float t) {
    return {detail::cubicComponent(p0.x, p1.x, p2.x, p3.x, t),
            detail::cubicComponent(p0.y, p1.y, p2.y, p3.y, t),
            detail::cubicComponent(p0.z, p1.z, p2.z, p3.z, t)};
}

}  // namespace Kestrane
