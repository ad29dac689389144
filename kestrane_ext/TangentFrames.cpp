// Geometry::generateTangentFrames: per-vertex normals, tangents and
// binormals accumulated over the triangles that use each vertex.
#include "kestrane_ext/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace KestraneExt {

namespace {

struct V3 {
    float x, y, z;
};

V3 sub(const float a[4], const float b[4]) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// A zero-length sum (a vertex no triangle uses, a degenerate fan) stays zero
// rather than becoming NaN.
V3 normalised(const float v[4]) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!(length > 0.0f)) return {0.0f, 0.0f, 0.0f};
    return {v[0] / length, v[1] / length, v[2] / length};
}

// One element seen through its accessor. Float elements (every mesh the
// loaders make) are read and written straight through the locked pointer,
// which keeps the per-corner work free of virtual calls; other types go
// through the accessor. Vertex numbers are checked by the caller.
class Element {
public:
    explicit Element(Geometry::Attribute& a)
        : accessor(a),
          base(a.elementData()),
          stride(static_cast<std::size_t>(a.stream()->stride())),
          components(a.components()),
          isFloat(dynamic_cast<Geometry::TAttribute<float>*>(&a) != nullptr) {}

    void get(int vertex, float out[4]) const {
        if (isFloat)
            std::memcpy(out, base + static_cast<std::size_t>(vertex) * stride,
                        sizeof(float) * static_cast<std::size_t>(components));
        else
            accessor.get(vertex, out);
    }
    void set(int vertex, float x, float y, float z, float w) {
        if (isFloat) {
            const float in[4] = {x, y, z, w};
            std::memcpy(base + static_cast<std::size_t>(vertex) * stride, in,
                        sizeof(float) * static_cast<std::size_t>(components));
        } else {
            accessor.set(vertex, x, y, z, w);
        }
    }
    void accumulate(int vertex, V3 add) {
        float v[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        get(vertex, v);
        set(vertex, v[0] + add.x, v[1] + add.y, v[2] + add.z, v[3] + 1.0f);
    }

private:
    Geometry::Attribute& accessor;
    std::uint8_t* base;
    std::size_t stride;
    int components;
    bool isFloat;
};

}  // namespace

int Geometry::generateTangentFrames(int texCoordSemantic, int normalSemantic, int tangentSemantic,
                                    int binormalSemantic, int newStreamUsage) {
    if (primitive_ != Kestrane::Triangles) return 0;
    VertexStream* lowest = lowestStream();
    if (!lowest || lowest->vertexCount() == 0) return 0;
    if (!findBinding(Semantic::Position) || !findBinding(texCoordSemantic) || !indices_) return 0;

    int vertexCount = lowest->vertexCount();
    {
        // The sources must be readable before anything is added.
        auto position = createAttribute(Semantic::Position);
        auto texCoord = createAttribute(texCoordSemantic);
        if (!position || !texCoord) return 0;
    }

    // Semantics without a binding share one new stream of 3-float elements.
    int created = 0;
    std::vector<int> missing;
    for (int s : {normalSemantic, tangentSemantic, binormalSemantic})
        if (!findBinding(s)) missing.push_back(s);
    if (!missing.empty()) {
        const std::vector<int> counts(missing.size(), 3);
        auto fresh = std::make_unique<VertexStream>(static_cast<int>(missing.size()), counts.data(),
                                                    vertexCount, newStreamUsage, nullptr);
        const int slot = addStream(std::move(fresh));
        if (slot == MaxStreams) return 0;
        for (std::size_t k = 0; k < missing.size(); ++k) bind(slot, static_cast<int>(k), missing[k]);
        created = slot;
    }

    auto position = createAttribute(Semantic::Position);
    auto texCoord = createAttribute(texCoordSemantic);
    auto normal = createAttribute(normalSemantic);
    auto tangent = createAttribute(tangentSemantic);
    auto binormal = createAttribute(binormalSemantic);
    if (!position || !texCoord || !normal || !tangent || !binormal) return created;
    // An empty index stream has no triangles (and nothing to map).
    const int triangles = indices_->indexCount() / 3;
    auto indices = triangles > 0 ? createIndices() : nullptr;
    if (triangles > 0 && !indices) return created;

    // Streams of one mesh hold the same vertex count; the smallest keeps every
    // access inside all of them if they do not.
    for (Attribute* a : {position.get(), texCoord.get(), normal.get(), tangent.get(), binormal.get()})
        vertexCount = std::min(vertexCount, a->stream()->vertexCount());

    Element positionOf(*position), texCoordOf(*texCoord);
    Element normalOf(*normal), tangentOf(*tangent), binormalOf(*binormal);
    for (int v = 0; v < vertexCount; ++v) {
        normalOf.set(v, 0.0f, 0.0f, 0.0f, 0.0f);
        tangentOf.set(v, 0.0f, 0.0f, 0.0f, 0.0f);
        binormalOf.set(v, 0.0f, 0.0f, 0.0f, 0.0f);
    }

    for (int t = 0; t < triangles; ++t) {
        const std::uint32_t corner[3] = {indices->get(3 * t), indices->get(3 * t + 1),
                                         indices->get(3 * t + 2)};
        if (corner[0] >= static_cast<std::uint32_t>(vertexCount) ||
            corner[1] >= static_cast<std::uint32_t>(vertexCount) ||
            corner[2] >= static_cast<std::uint32_t>(vertexCount))
            continue;
        float p[3][4] = {};
        float uv[3][4] = {};
        for (int k = 0; k < 3; ++k) {
            positionOf.get(static_cast<int>(corner[k]), p[k]);
            texCoordOf.get(static_cast<int>(corner[k]), uv[k]);
        }
        const V3 e1 = sub(p[0], p[1]);
        const V3 e2 = sub(p[2], p[1]);
        const V3 faceNormal = cross(e1, e2);  // not normalised: larger faces weigh more
        const float du1 = uv[0][0] - uv[1][0], dv1 = uv[0][1] - uv[1][1];
        const float du2 = uv[2][0] - uv[1][0], dv2 = uv[2][1] - uv[1][1];
        const float determinant = dv1 * du2 - dv2 * du1;
        V3 faceTangent{0.0f, 0.0f, 0.0f};
        // Collinear texture coordinates give no tangent direction: such a
        // face adds nothing instead of infinities.
        if (determinant != 0.0f) {
            const float r = 1.0f / determinant;
            faceTangent = {r * (dv1 * e2.x - dv2 * e1.x), r * (dv1 * e2.y - dv2 * e1.y),
                           r * (dv1 * e2.z - dv2 * e1.z)};
        }
        for (std::uint32_t c : corner) {
            normalOf.accumulate(static_cast<int>(c), faceNormal);
            tangentOf.accumulate(static_cast<int>(c), faceTangent);
        }
    }

    for (int v = 0; v < vertexCount; ++v) {
        float n4[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        float t4[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        normalOf.get(v, n4);
        tangentOf.get(v, t4);
        const V3 n = normalised(n4);
        const V3 t = normalised(t4);
        const V3 b = cross(n, t);
        normalOf.set(v, n.x, n.y, n.z, 1.0f);
        tangentOf.set(v, t.x, t.y, t.z, 1.0f);
        binormalOf.set(v, b.x, b.y, b.z, 1.0f);
    }
    return created;  // the accessors unlock every stream as they go
}

}  // namespace KestraneExt
