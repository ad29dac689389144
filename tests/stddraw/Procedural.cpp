#include "Procedural.h"

#include <algorithm>
#include <cmath>

namespace StdDrawTests::Procedural {

namespace {

using Kestrane::Float3;
constexpr float Pi = 3.14159265f;

Float3 cross(Float3 a, Float3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float dot(Float3 a, Float3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Float3 vertexAt(const KestraneExt::VXMMeshData& mesh, int i)
{
    const float* v = &mesh.vertices[static_cast<size_t>(i) * KestraneExt::VXMMeshData::FloatsPerVertex];
    return {v[0], v[1], v[2]};
}

// The loader takes cross(c - a, b - a) as a triangle's normal: order the
// corners so that it points along `outward`.
void addFacing(KestraneExt::VXMMeshData& mesh, int a, int b, int c, Float3 outward)
{
    const Float3 pa = vertexAt(mesh, a), pb = vertexAt(mesh, b), pc = vertexAt(mesh, c);
    if (dot(cross(pc - pa, pb - pa), outward) >= 0)
        mesh.addTriangle(a, b, c);
    else
        mesh.addTriangle(a, c, b);
}

// A grid surface: point(u, v) and outward(u, v) for u, v in 0..1.
template <typename Point, typename Normal>
KestraneExt::VXMMeshData grid(int nu, int nv, float su, float sv, Point point, Normal outward)
{
    KestraneExt::VXMMeshData mesh;
    mesh.name = "surface";
    for (int j = 0; j <= nv; ++j)
        for (int i = 0; i <= nu; ++i) {
            const float u = float(i) / nu, v = float(j) / nv;
            mesh.addVertex(point(u, v), u * su, v * sv);
        }
    for (int j = 0; j < nv; ++j)
        for (int i = 0; i < nu; ++i) {
            const int a = j * (nu + 1) + i, b = a + 1, c = a + nu + 2, d = a + nu + 1;
            const Float3 n = outward((i + 0.5f) / nu, (j + 0.5f) / nv);
            addFacing(mesh, a, b, c, n);
            addFacing(mesh, a, c, d, n);
        }
    return mesh;
}

float hash(int x, int y)
{
    unsigned h = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return float((h ^ (h >> 16)) & 0xffff) / 65535.0f;
}

// Smooth value noise with wrap-around period p (cells).
float noise(float x, float y, int p)
{
    const int ix = int(std::floor(x)), iy = int(std::floor(y));
    const float fx = x - ix, fy = y - iy;
    auto at = [p](int a, int b) { return hash(((a % p) + p) % p, ((b % p) + p) % p); };
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * sx;
    const float bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * sx;
    return top + (bottom - top) * sy;
}

float fractal(float x, float y, int p)
{
    float sum = 0, amplitude = 0.5f;
    for (int octave = 0; octave < 4; ++octave, x *= 2, y *= 2, p *= 2, amplitude *= 0.5f)
        sum += amplitude * noise(x, y, p);
    return sum;
}

uint8_t byte(float v) { return uint8_t(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); }
Colour rgb(Float3 c) { return {byte(c.x), byte(c.y), byte(c.z), 255}; }
Float3 mix(Float3 a, Float3 b, float t) { return a + (b - a) * std::clamp(t, 0.0f, 1.0f); }

template <typename Fn>
Pixels image(int w, int h, Fn texel)
{
    Pixels p{w, h, {}};
    p.texels.reserve(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.texels.push_back(texel((x + 0.5f) / w, (y + 0.5f) / h));
    return p;
}

// Height of the tile pattern (4 x 4 tiles) at s, t: 1 on a tile, falling
// to 0 across a bevel into the grout.
float tileHeight(float s, float t)
{
    const float u = s * 4 - std::floor(s * 4), v = t * 4 - std::floor(t * 4);
    const float edge = std::min(std::min(u, 1 - u), std::min(v, 1 - v));
    return std::clamp((edge - 0.03f) / 0.06f, 0.0f, 1.0f) * (0.9f + 0.1f * fractal(s * 16, t * 16, 16));
}

Float3 skyColour(float up)
{
    const Float3 ground{0.16f, 0.13f, 0.16f}, haze{1.0f, 0.62f, 0.36f}, zenith{0.08f, 0.16f, 0.42f};
    if (up < 0)
        return mix(haze * 0.55f, ground, -up * 4);
    return mix(haze, zenith, std::pow(up, 0.35f));
}

}  // namespace

KestraneExt::VXMMeshData torus(float R, float r, int segments, int sides, float around)
{
    auto point = [=](float u, float v) {
        const float a = 2 * Pi * u, b = 2 * Pi * v;
        return Float3{(R + r * std::cos(b)) * std::cos(a), (R + r * std::cos(b)) * std::sin(a),
                      r * std::sin(b)};
    };
    auto outward = [=](float u, float v) {
        const float a = 2 * Pi * u, b = 2 * Pi * v;
        return Float3{std::cos(b) * std::cos(a), std::cos(b) * std::sin(a), std::sin(b)};
    };
    return grid(segments, sides, around, 1.0f, point, outward);
}

KestraneExt::VXMMeshData sphere(float radius, int slices, int stacks)
{
    auto outward = [](float u, float v) {
        const float a = 2 * Pi * u, b = Pi * (v - 0.5f);
        return Float3{std::cos(b) * std::cos(a), std::cos(b) * std::sin(a), std::sin(b)};
    };
    auto point = [=](float u, float v) { return outward(u, v) * radius; };
    return grid(slices, stacks, 2.0f, 1.0f, point, outward);
}

KestraneExt::VXMMeshData floorSquare(float h, float repeat)
{
    return grid(1, 1, repeat, repeat, [=](float u, float v) { return Float3{(2 * u - 1) * h, (2 * v - 1) * h, 0}; },
                [](float, float) { return Float3{0, 0, 1}; });
}

Pixels sky(int size)
{
    return image(size, size, [](float s, float t) {
        const float up = 2 * t - 1;
        Float3 c = skyColour(up);
        if (up > 0.02f) {
            const float cloud = std::clamp((fractal(s * 8, t * 6, 8) - 0.48f) * 3.0f, 0.0f, 1.0f);
            c = mix(c, Float3{1.0f, 0.86f, 0.78f}, cloud * (1 - up) * 0.8f);
        }
        return rgb(c);
    });
}

Pixels tiles(int size)
{
    return image(size, size, [](float s, float t) {
        const int ts = int(s * 4), tt = int(t * 4);
        const float tint = hash(ts, tt);
        const Float3 tile = mix(Float3{0.72f, 0.33f, 0.2f}, Float3{0.86f, 0.55f, 0.3f}, tint);
        const Float3 grout{0.78f, 0.76f, 0.7f};
        const float grain = 0.85f + 0.15f * fractal(s * 32, t * 32, 32);
        return rgb(mix(grout, tile * grain, tileHeight(s, t)));
    });
}

Pixels tilesNormalMap(int size)
{
    const float d = 1.0f / size;
    return image(size, size, [d](float s, float t) {
        const float ds = (tileHeight(s + d, t) - tileHeight(s - d, t)) / (2 * d);
        const float dt = (tileHeight(s, t + d) - tileHeight(s, t - d)) / (2 * d);
        Float3 n{-ds * 0.02f, -dt * 0.02f, 1.0f};
        n = n * (1.0f / std::sqrt(dot(n, n)));
        return rgb(n * 0.5f + Float3{0.5f, 0.5f, 0.5f});
    });
}

Pixels sphereMap(int size)
{
    return image(size, size, [](float s, float t) {
        const float x = 2 * s - 1, y = 2 * t - 1, rr = x * x + y * y;
        if (rr >= 1)
            return rgb(skyColour(-1));
        // The mirror ball's normal there and the direction it reflects.
        const Float3 n{x, y, std::sqrt(1 - rr)};
        const Float3 r = n * (2 * n.z) - Float3{0, 0, 1};
        Float3 c = skyColour(r.y);
        const Float3 sun{0.45f, 0.55f, 0.70f};
        const float toSun = dot(r, sun * (1.0f / std::sqrt(dot(sun, sun))));
        c = c + Float3{1.0f, 0.9f, 0.7f} * std::pow(std::max(toSun, 0.0f), 60.0f) * 1.5f;
        return rgb(c);
    });
}

Pixels studio(int size)
{
    return image(size, size, [](float s, float t) {
        Float3 c = mix(Float3{0.05f, 0.05f, 0.07f}, Float3{0.55f, 0.6f, 0.7f}, t * t);
        // Two soft boxes and a warm strip light.
        auto box = [s, t](float x0, float y0, float x1, float y1) {
            const float dx = std::max(std::max(x0 - s, s - x1), 0.0f);
            const float dy = std::max(std::max(y0 - t, t - y1), 0.0f);
            return std::exp(-(dx * dx + dy * dy) * 4000.0f);
        };
        c = c + Float3{1.0f, 1.0f, 1.0f} * box(0.18f, 0.55f, 0.42f, 0.85f);
        c = c + Float3{0.9f, 0.95f, 1.0f} * box(0.62f, 0.6f, 0.8f, 0.9f);
        c = c + Float3{1.0f, 0.7f, 0.4f} * box(0.05f, 0.2f, 0.95f, 0.24f);
        return rgb(c);
    });
}

Pixels checker(int size)
{
    return image(size, size, [](float s, float t) {
        const bool dark = (int(s * 8) + int(t * 8)) % 2;
        const float grain = 0.9f + 0.1f * fractal(s * 16, t * 16, 16);
        return rgb((dark ? Float3{0.25f, 0.32f, 0.28f} : Float3{0.55f, 0.6f, 0.52f}) * grain);
    });
}

Pixels sparkle(int size)
{
    return image(size, size, [](float s, float t) {
        const float x = 2 * s - 1, y = 2 * t - 1, r = std::sqrt(x * x + y * y);
        const float glow = std::pow(std::max(1 - r, 0.0f), 2.5f);
        const float rays = std::max(0.0f, 1 - std::abs(x) * 12) * std::max(0.0f, 1 - std::abs(y)) +
                           std::max(0.0f, 1 - std::abs(y) * 12) * std::max(0.0f, 1 - std::abs(x));
        const float v = std::min(glow + 0.5f * rays, 1.0f);
        return Colour{byte(v), byte(v), byte(v), byte(v)};
    });
}

}  // namespace StdDrawTests::Procedural
