#include "MeshShapes.h"

#include "Text.h"

#include <algorithm>
#include <cmath>

namespace Forge {

namespace {
constexpr float Pi = 3.14159265358979f;
}

Mesh lathe(const std::vector<Vec2>& profile, int segments) {
    Mesh mesh;
    if (profile.size() < 2 || segments < 3) return mesh;
    // Texture v follows the profile's length.
    std::vector<float> along(profile.size(), 0.0f);
    for (std::size_t i = 1; i < profile.size(); ++i) along[i] = along[i - 1] + length(profile[i] - profile[i - 1]);
    const float total = std::max(along.back(), 1e-6f);

    // One ring (or a pole) per profile point.
    std::vector<std::vector<int>> rings;
    for (std::size_t i = 0; i < profile.size(); ++i) {
        const Vec2 p = profile[i];
        const float v = along[i] / total;
        std::vector<int> ring;
        if (p.x <= 1e-7f) {
            const int pole = mesh.addVertex({0.0f, p.y, 0.0f}, 0.5f, v);
            ring.assign(static_cast<std::size_t>(segments), pole);
        } else {
            for (int k = 0; k < segments; ++k) {
                const float a = 2.0f * Pi * static_cast<float>(k) / static_cast<float>(segments);
                ring.push_back(mesh.addVertex({p.x * std::cos(a), p.y, p.x * std::sin(a)},
                                              static_cast<float>(k) / static_cast<float>(segments), v));
            }
        }
        rings.push_back(std::move(ring));
    }
    for (std::size_t i = 0; i + 1 < profile.size(); ++i) {
        const Vec2 a = profile[i], b = profile[i + 1];
        if (a.x == b.x && a.y == b.y) continue;  // a crease: the two rings are not joined
        const auto& r0 = rings[i];
        const auto& r1 = rings[i + 1];
        for (int k = 0; k < segments; ++k) {
            const auto k0 = static_cast<std::size_t>(k), k1 = static_cast<std::size_t>((k + 1) % segments);
            if (r0[k0] == r0[k1])
                mesh.addTriangle(r0[k0], r1[k0], r1[k1]);
            else if (r1[k0] == r1[k1])
                mesh.addTriangle(r0[k0], r1[k0], r0[k1]);
            else
                mesh.addQuad(r0[k0], r1[k0], r1[k1], r0[k1]);
        }
    }
    return mesh;
}

namespace {

// One contour's side wall through the given rings (inset, z), front first.
void extrudeSide(Mesh& mesh, const Contour& contour, const std::vector<std::pair<float, float>>& rings,
                 const ExtrudeStyle& style) {
    const std::size_t n = contour.size();
    // A corner is hard when the outline turns sharply there.
    std::vector<bool> hard(n);
    const float creaseCos = std::cos(style.creaseDegrees * Pi / 180.0f);
    for (std::size_t i = 0; i < n; ++i) {
        Vec2 e0 = contour[i] - contour[(i + n - 1) % n], e1 = contour[(i + 1) % n] - contour[i];
        e0 = e0 * (1.0f / std::max(length(e0), 1e-12f));
        e1 = e1 * (1.0f / std::max(length(e1), 1e-12f));
        hard[i] = dot(e0, e1) < creaseCos;
    }
    std::vector<float> along(n + 1, 0.0f);
    for (std::size_t i = 0; i < n; ++i) along[i + 1] = along[i] + length(contour[(i + 1) % n] - contour[i]);

    // Per ring, per point: the vertex ending the edge into it and the one
    // starting the edge out of it (the same one at a smooth corner).
    struct Corner {
        int in, out;
    };
    std::vector<std::vector<Corner>> ringVertices;
    for (std::size_t j = 0; j < rings.size(); ++j) {
        const Contour ring = rings[j].first > 0.0f ? inset(contour, rings[j].first) : contour;
        const float z = rings[j].second;
        const float v = (style.depth * 0.5f - z) * style.uvScale;
        std::vector<Corner> corners(n);
        for (std::size_t i = 0; i < n; ++i) {
            const Float3 p{ring[i].x, ring[i].y, z};
            const int out = mesh.addVertex(p, along[i] * style.uvScale, v);
            const int in = hard[i] ? mesh.addVertex(p, (i == 0 ? along[n] : along[i]) * style.uvScale, v) : out;
            corners[i] = {in, out};
        }
        ringVertices.push_back(std::move(corners));
    }
    for (std::size_t j = 0; j + 1 < rings.size(); ++j)
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t next = (i + 1) % n;
            mesh.addQuad(ringVertices[j][i].out, ringVertices[j + 1][i].out, ringVertices[j + 1][next].in,
                         ringVertices[j][next].in);
        }
}

void extrudeCap(Mesh& mesh, const Shape& shape, float insetBy, float z, bool front, const ExtrudeStyle& style) {
    Shape s{insetBy > 0.0f ? inset(shape.outer, insetBy) : shape.outer, {}};
    for (const Contour& h : shape.holes) s.holes.push_back(insetBy > 0.0f ? inset(h, insetBy) : h);
    std::vector<Vec2> points;
    const auto tris = triangulate(s, points);
    const int base = static_cast<int>(mesh.vertices.size());
    for (const Vec2& p : points) mesh.addVertex({p.x, p.y, z}, p.x * style.uvScale, p.y * style.uvScale);
    for (const auto& t : tris) {
        if (front)
            mesh.addTriangle(base + t[0], base + t[1], base + t[2]);
        else
            mesh.addTriangle(base + t[0], base + t[2], base + t[1]);
    }
}

}  // namespace

Mesh extrude(const std::vector<Shape>& shapes, const ExtrudeStyle& style) {
    Mesh mesh;
    const float half = style.depth * 0.5f;
    const float bevel = std::clamp(style.bevel, 0.0f, half);
    // Rings (inset, z) from the front cap's edge round to the back cap's.
    std::vector<std::pair<float, float>> rings;
    if (bevel > 0.0f) {
        const int steps = std::max(1, style.bevelSteps);
        for (int j = 0; j <= steps; ++j) {
            const float phi = 0.5f * Pi * static_cast<float>(j) / static_cast<float>(steps);
            rings.push_back({bevel * (1.0f - std::sin(phi)), half - bevel * (1.0f - std::cos(phi))});
        }
        for (int j = steps; j >= 0; --j) {
            const float phi = 0.5f * Pi * static_cast<float>(j) / static_cast<float>(steps);
            rings.push_back({bevel * (1.0f - std::sin(phi)), -half + bevel * (1.0f - std::cos(phi))});
        }
        // The two middle rings coincide when the wall has no straight part.
        if (bevel >= half) rings.erase(rings.begin() + steps + 1);
    } else {
        rings = {{0.0f, half}, {0.0f, -half}};
    }
    for (const Shape& shape : shapes) {
        const Contour outer = cleaned(shape.outer);
        if (outer.size() < 3) continue;
        extrudeSide(mesh, outer, rings, style);
        for (const Contour& hole : shape.holes) {
            const Contour h = cleaned(hole);
            if (h.size() >= 3) extrudeSide(mesh, h, rings, style);
        }
        extrudeCap(mesh, shape, bevel, half, true, style);
        extrudeCap(mesh, shape, bevel, -half, false, style);
    }
    return mesh;
}

Mesh extrudeText(const Font& font, const std::string& text, float height, const ExtrudeStyle& style) {
    return extrude(groupContours(font.outlines(text, height)), style);
}

Mesh tube(const std::vector<Float3>& path, const std::function<float(float t, float angle)>& radius, int sides,
          bool closed, bool capped) {
    Mesh mesh;
    const std::size_t n = path.size();
    if (n < 2 || sides < 3) return mesh;
    // Tangents, then frames carried along by parallel transport.
    std::vector<Float3> tangent(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Float3 prev = closed ? path[(i + n - 1) % n] : path[i == 0 ? 0 : i - 1];
        const Float3 next = closed ? path[(i + 1) % n] : path[i + 1 >= n ? n - 1 : i + 1];
        tangent[i] = normalize(next - prev);
    }
    std::vector<Float3> normal(n);
    {
        const Float3 t = tangent[0];
        const Float3 helper = std::fabs(t.y) < 0.9f ? Float3{0, 1, 0} : Float3{1, 0, 0};
        normal[0] = normalize(cross(cross(t, helper), t));
    }
    auto transport = [](Float3 nrm, Float3 from, Float3 to) {
        const Float3 axis = cross(from, to);
        const float s = length(axis);
        if (s < 1e-7f) return nrm;
        return rotateAbout(nrm, axis, std::atan2(s, dot(from, to)));
    };
    for (std::size_t i = 1; i < n; ++i)
        normal[i] = normalize(transport(normal[i - 1], tangent[i - 1], tangent[i]));
    if (closed) {
        // Spread the twist left after going round once over the whole loop.
        const Float3 back = normalize(transport(normal[n - 1], tangent[n - 1], tangent[0]));
        const float twist = std::atan2(dot(cross(normal[0], back), tangent[0]), dot(normal[0], back));
        for (std::size_t i = 1; i < n; ++i)
            normal[i] = rotateAbout(normal[i], tangent[i], -twist * static_cast<float>(i) / static_cast<float>(n));
    }
    const std::size_t count = closed ? n : n;
    std::vector<std::vector<int>> rings(count);
    for (std::size_t i = 0; i < count; ++i) {
        const float t = closed ? static_cast<float>(i) / static_cast<float>(n)
                               : static_cast<float>(i) / static_cast<float>(n - 1);
        const Float3 binormal = cross(tangent[i], normal[i]);
        for (int k = 0; k < sides; ++k) {
            const float a = 2.0f * Pi * static_cast<float>(k) / static_cast<float>(sides);
            const float r = radius(t, a);
            const Float3 offset = normal[i] * std::cos(a) + binormal * std::sin(a);
            rings[i].push_back(mesh.addVertex(path[i] + offset * r, t, static_cast<float>(k) / static_cast<float>(sides)));
        }
    }
    const std::size_t spans = closed ? n : n - 1;
    for (std::size_t i = 0; i < spans; ++i) {
        const auto& r0 = rings[i];
        const auto& r1 = rings[(i + 1) % n];
        for (int k = 0; k < sides; ++k) {
            const auto k0 = static_cast<std::size_t>(k), k1 = static_cast<std::size_t>((k + 1) % sides);
            mesh.addQuad(r0[k0], r0[k1], r1[k1], r1[k0]);
        }
    }
    if (!closed && capped) {
        for (int end = 0; end < 2; ++end) {
            const std::size_t i = end == 0 ? 0 : n - 1;
            const Float3 centre = path[i];
            const int c = mesh.addVertex(centre, 0.5f, 0.5f);
            std::vector<int> rim;
            for (int k = 0; k < sides; ++k) {
                const float a = 2.0f * Pi * static_cast<float>(k) / static_cast<float>(sides);
                const MeshVertex& v = mesh.vertices[static_cast<std::size_t>(rings[i][static_cast<std::size_t>(k)])];
                rim.push_back(mesh.addVertex(v.position, 0.5f + 0.5f * std::cos(a), 0.5f + 0.5f * std::sin(a)));
            }
            for (int k = 0; k < sides; ++k) {
                const int a = rim[static_cast<std::size_t>(k)], b = rim[static_cast<std::size_t>((k + 1) % sides)];
                if (end == 0)
                    mesh.addTriangle(c, b, a);
                else
                    mesh.addTriangle(c, a, b);
            }
        }
    }
    return mesh;
}

}  // namespace Forge
