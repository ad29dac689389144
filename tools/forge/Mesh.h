// Triangle meshes as the content tool builds them: positions with one set of
// texture coordinates and triangles, plus the operations the builders share
// (merging, transforming, mirroring, displacement along the normals, texture
// coordinate projections) and conversion to the VXM writer's form.
//
// Use:
//   Mesh m = lathe(profile, 48);                    (MeshShapes.h)
//   m.transform([](Float3 p) { return p * 2.0f; });
//   m.append(mirrored(m, Axis::X));
//   m.displace([](Float3 p, Float3 n) { return 0.1f * noise(p); });
//   sphericalUV(m);
//   writeVXM(path, {m.toVXM("name")})              (kestrane_ext/VXMWriter.h)
// Triangles here run counter-clockwise seen from outside (normal = (b - a) x
// (c - a)). The VXM loader computes normals the other way round, so toVXM()
// writes every triangle as (a, c, b): loaded normals point outwards. Vertices
// shared by triangles are smoothed by the loader; a hard edge needs separate
// vertices. Meshes are plain values.
#pragma once

#include "Vector3.h"

#include "kestrane_ext/VXMWriter.h"

#include <array>
#include <functional>
#include <vector>

namespace Forge {

struct MeshVertex {
    Float3 position;
    float u = 0.0f, v = 0.0f;
};

enum class Axis { X, Y, Z };

class Mesh {
public:
    std::vector<MeshVertex> vertices;
    std::vector<std::array<int, 3>> triangles;

    int addVertex(Float3 position, float u = 0.0f, float v = 0.0f);
    void addTriangle(int a, int b, int c) { triangles.push_back({a, b, c}); }
    // Quad a-b-c-d counter-clockwise, split along a-c.
    void addQuad(int a, int b, int c, int d);
    // Appends another mesh (merging the two into one mesh record).
    void append(const Mesh& other);
    void transform(const std::function<Float3(Float3)>& f);
    // Reverses every triangle (turns the surface inside out).
    void flip();
    // Smooth per-vertex normals (area-weighted face normals of the shared
    // vertices), as the loader will compute them.
    std::vector<Float3> normals() const;
    // Moves every vertex along its normal by offset(position, normal).
    void displace(const std::function<float(Float3 position, Float3 normal)>& offset);
    // Merges vertices closer than epsilon with equal texture coordinates
    // (joins separately built pieces so they shade smoothly).
    void weld(float epsilon = 1e-5f);
    // Triangles whose texture coordinates are collinear (no tangent frame).
    int degenerateUVTriangles() const;

    // Writes (a, c, b) per triangle, leaving out triangles without area and
    // vertices no triangle uses.
    KestraneExt::VXMMeshData toVXM(const std::string& name) const;
};

// A copy mirrored across the plane through the origin normal to axis, with
// its triangles reversed so it still faces outwards.
Mesh mirrored(const Mesh& mesh, Axis axis);

// Texture coordinate projections (replace every vertex's u, v).
void planarUV(Mesh& mesh, Float3 uAxis, Float3 vAxis, float scale = 1.0f);
void cylindricalUV(Mesh& mesh, float vScale = 1.0f);     // u around the y axis, v = y * vScale
void sphericalUV(Mesh& mesh);                             // u around the y axis, v from the pole angle
void boxUV(Mesh& mesh, float scale = 1.0f);              // planar along each vertex's dominant normal axis

}  // namespace Forge
