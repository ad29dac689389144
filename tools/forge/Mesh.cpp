#include "Mesh.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace Forge {

int Mesh::addVertex(Float3 position, float u, float v) {
    vertices.push_back({position, u, v});
    return static_cast<int>(vertices.size()) - 1;
}

void Mesh::addQuad(int a, int b, int c, int d) {
    addTriangle(a, b, c);
    addTriangle(a, c, d);
}

void Mesh::append(const Mesh& other) {
    const int base = static_cast<int>(vertices.size());
    vertices.insert(vertices.end(), other.vertices.begin(), other.vertices.end());
    for (const auto& t : other.triangles) triangles.push_back({t[0] + base, t[1] + base, t[2] + base});
}

void Mesh::transform(const std::function<Float3(Float3)>& f) {
    for (MeshVertex& v : vertices) v.position = f(v.position);
}

void Mesh::flip() {
    for (auto& t : triangles) std::swap(t[1], t[2]);
}

std::vector<Float3> Mesh::normals() const {
    std::vector<Float3> n(vertices.size());
    for (const auto& t : triangles) {
        const Float3 a = vertices[static_cast<std::size_t>(t[0])].position;
        const Float3 b = vertices[static_cast<std::size_t>(t[1])].position;
        const Float3 c = vertices[static_cast<std::size_t>(t[2])].position;
        const Float3 face = cross(b - a, c - a);
        for (int i : t) n[static_cast<std::size_t>(i)] = n[static_cast<std::size_t>(i)] + face;
    }
    for (Float3& x : n) x = normalize(x);
    return n;
}

void Mesh::displace(const std::function<float(Float3 position, Float3 normal)>& offset) {
    const std::vector<Float3> n = normals();
    for (std::size_t i = 0; i < vertices.size(); ++i)
        vertices[i].position = vertices[i].position + n[i] * offset(vertices[i].position, n[i]);
}

void Mesh::weld(float epsilon) {
    // Bucket by quantised position, then compare within the bucket.
    const float cell = std::max(epsilon * 4.0f, 1e-6f);
    std::map<std::tuple<long, long, long>, std::vector<int>> buckets;
    std::vector<int> remap(vertices.size());
    std::vector<MeshVertex> kept;
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const MeshVertex& v = vertices[i];
        const auto key = std::make_tuple(std::lround(v.position.x / cell), std::lround(v.position.y / cell),
                                         std::lround(v.position.z / cell));
        int found = -1;
        for (int k : buckets[key]) {
            const MeshVertex& w = kept[static_cast<std::size_t>(k)];
            if (length(w.position - v.position) <= epsilon && std::fabs(w.u - v.u) <= 1e-6f &&
                std::fabs(w.v - v.v) <= 1e-6f) {
                found = k;
                break;
            }
        }
        if (found < 0) {
            found = static_cast<int>(kept.size());
            kept.push_back(v);
            buckets[key].push_back(found);
        }
        remap[i] = found;
    }
    vertices = std::move(kept);
    for (auto& t : triangles)
        for (int& i : t) i = remap[static_cast<std::size_t>(i)];
    std::erase_if(triangles, [](const std::array<int, 3>& t) { return t[0] == t[1] || t[1] == t[2] || t[0] == t[2]; });
}

int Mesh::degenerateUVTriangles() const {
    int count = 0;
    for (const auto& t : triangles) {
        const MeshVertex& a = vertices[static_cast<std::size_t>(t[0])];
        const MeshVertex& b = vertices[static_cast<std::size_t>(t[1])];
        const MeshVertex& c = vertices[static_cast<std::size_t>(t[2])];
        const float det = (b.u - a.u) * (c.v - a.v) - (c.u - a.u) * (b.v - a.v);
        if (std::fabs(det) < 1e-12f) ++count;
    }
    return count;
}

KestraneExt::VXMMeshData Mesh::toVXM(const std::string& name) const {
    // Only triangles with an area and the vertices they use: a vertex with
    // no area around it would get no normal from the loader.
    std::vector<std::array<int, 3>> kept;
    for (const auto& t : triangles) {
        const Float3 a = vertices[static_cast<std::size_t>(t[0])].position;
        const Float3 b = vertices[static_cast<std::size_t>(t[1])].position;
        const Float3 c = vertices[static_cast<std::size_t>(t[2])].position;
        if (length(cross(b - a, c - a)) > 0.0f) kept.push_back(t);
    }
    std::vector<int> remap(vertices.size(), -1);
    KestraneExt::VXMMeshData out;
    out.name = name;
    for (const auto& t : kept)
        for (int i : t) {
            int& r = remap[static_cast<std::size_t>(i)];
            if (r < 0) {
                const MeshVertex& v = vertices[static_cast<std::size_t>(i)];
                out.addVertex(v.position, v.u, v.v);
                r = out.vertexCount() - 1;
            }
        }
    for (const auto& t : kept)
        out.addTriangle(remap[static_cast<std::size_t>(t[0])], remap[static_cast<std::size_t>(t[2])],
                        remap[static_cast<std::size_t>(t[1])]);
    return out;
}

Mesh mirrored(const Mesh& mesh, Axis axis) {
    Mesh m = mesh;
    m.transform([axis](Float3 p) {
        switch (axis) {
            case Axis::X: p.x = -p.x; break;
            case Axis::Y: p.y = -p.y; break;
            case Axis::Z: p.z = -p.z; break;
        }
        return p;
    });
    m.flip();
    return m;
}

void planarUV(Mesh& mesh, Float3 uAxis, Float3 vAxis, float scale) {
    for (MeshVertex& v : mesh.vertices) {
        v.u = dot(v.position, uAxis) * scale;
        v.v = dot(v.position, vAxis) * scale;
    }
}

namespace {
constexpr float TwoPi = 6.28318530718f;
float around(Float3 p) {
    const float a = std::atan2(p.z, p.x) / TwoPi;
    return a < 0.0f ? a + 1.0f : a;
}
}  // namespace

void cylindricalUV(Mesh& mesh, float vScale) {
    for (MeshVertex& v : mesh.vertices) {
        v.u = around(v.position);
        v.v = v.position.y * vScale;
    }
}

void sphericalUV(Mesh& mesh) {
    for (MeshVertex& v : mesh.vertices) {
        const Float3 d = normalize(v.position);
        v.u = around(d);
        v.v = std::acos(std::clamp(d.y, -1.0f, 1.0f)) / 3.14159265f;
    }
}

void boxUV(Mesh& mesh, float scale) {
    const std::vector<Float3> n = mesh.normals();
    for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
        MeshVertex& v = mesh.vertices[i];
        const Float3 a{std::fabs(n[i].x), std::fabs(n[i].y), std::fabs(n[i].z)};
        if (a.x >= a.y && a.x >= a.z) {
            v.u = v.position.z * scale;
            v.v = v.position.y * scale;
        } else if (a.y >= a.z) {
            v.u = v.position.x * scale;
            v.v = v.position.z * scale;
        } else {
            v.u = v.position.x * scale;
            v.v = v.position.y * scale;
        }
    }
}

}  // namespace Forge
