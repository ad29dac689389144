// The mesh builders, checked through the engine's own VXM loader (client
// memory, so no GL context): counts, closed seams, outward normals after the
// loader's tangent-frame pass, triangulation of outlines with holes, and
// the build's generated meshes in data/ loading with finite frames.
#include "Content.h"
#include "Geometry2D.h"
#include "MeshShapes.h"
#include "Text.h"

#include "kestrane_ext/StreamTypes.h"
#include "kestrane_ext/VXMLoader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace Forge;
namespace Sem = KestraneExt::Semantic;

namespace {

struct Loaded {
    std::vector<Float3> positions, normals, tangents;
    std::vector<int> indices;
};

Loaded loadBytes(const std::vector<std::uint8_t>& bytes, const std::string& name) {
    KestraneExt::VXMLoader loader(bytes.data(), bytes.size(), name, 0, 0);
    Loaded out;
    for (int m = 0; m < loader.meshCount(); ++m) {
        KestraneExt::Geometry& g = loader.mesh(m);
        auto p = g.createAttribute(Sem::Position);
        auto n = g.createAttribute(Sem::Normal);
        auto t = g.createAttribute(Sem::TexCoord2);
        auto ix = g.createIndices();
        const int base = static_cast<int>(out.positions.size());
        const int count = g.lowestStream()->vertexCount();
        for (int i = 0; i < count; ++i) {
            float a[4] = {}, b[4] = {}, c[4] = {};
            p->get(i, a);
            n->get(i, b);
            t->get(i, c);
            out.positions.push_back({a[0], a[1], a[2]});
            out.normals.push_back({b[0], b[1], b[2]});
            out.tangents.push_back({c[0], c[1], c[2]});
        }
        for (int i = 0; i < ix->count(); ++i) out.indices.push_back(base + static_cast<int>(ix->get(i)));
    }
    return out;
}

Loaded load(const Mesh& mesh) { return loadBytes(KestraneExt::encodeVXM({mesh.toVXM("test")}), "test.vxm"); }

// Signed volume of the loaded triangles with the loader's own face normal
// (P0 - P1) x (P2 - P1): positive when the faces point outwards.
double loaderVolume(const Loaded& l) {
    double v = 0.0;
    for (std::size_t i = 0; i + 2 < l.indices.size(); i += 3) {
        const Float3 p0 = l.positions[static_cast<std::size_t>(l.indices[i])];
        const Float3 p1 = l.positions[static_cast<std::size_t>(l.indices[i + 1])];
        const Float3 p2 = l.positions[static_cast<std::size_t>(l.indices[i + 2])];
        const Float3 n = cross(p0 - p1, p2 - p1);
        v += dot((p0 + p1 + p2) * (1.0f / 3.0f), n) / 6.0;
    }
    return v;
}

// Number of edges (by position) not shared by exactly two triangles.
int openEdges(const Mesh& mesh) {
    Mesh welded = mesh;
    for (MeshVertex& v : welded.vertices) v.u = v.v = 0.0f;
    welded.weld(1e-4f);
    std::map<std::pair<int, int>, int> uses;
    for (const auto& t : welded.triangles)
        for (int k = 0; k < 3; ++k) {
            const int a = t[static_cast<std::size_t>(k)], b = t[static_cast<std::size_t>((k + 1) % 3)];
            ++uses[{std::min(a, b), std::max(a, b)}];
        }
    int open = 0;
    for (const auto& [edge, count] : uses) open += count != 2 ? 1 : 0;
    return open;
}

Contour square(float half, bool clockwise = false) {
    Contour c{{-half, -half}, {half, -half}, {half, half}, {-half, half}};
    if (clockwise) std::reverse(c.begin(), c.end());
    return c;
}

}  // namespace

TEST(Lathe, CountsSeamsAndOutwardNormals) {
    // Open profile of four rings of 16: only the two end rims are open, the
    // seam is closed.
    EXPECT_EQ(openEdges(lathe({{1, 0}, {1.5f, 1}, {1.2f, 2}, {0.8f, 3}}, 16)), 32);
    const Mesh closed = lathe({{0, 0}, {1, 0.5f}, {1, 1.5f}, {0, 2}}, 16);
    EXPECT_EQ(openEdges(closed), 0);
    const Loaded l = load(closed);
    EXPECT_GT(loaderVolume(l), 0.0);
    for (std::size_t i = 0; i < l.positions.size(); ++i) {
        const Float3 p = l.positions[i], n = l.normals[i];
        const Float3 fromAxis{p.x, p.y - 1.0f, p.z};
        EXPECT_GT(dot(n, fromAxis), 0.0f) << "vertex " << i;
        EXPECT_NEAR(length(n), 1.0f, 1e-4f);
    }
    // A crease (a repeated point) splits the rings: a hard edge, still closed.
    EXPECT_EQ(openEdges(lathe({{0, 0}, {1, 0}, {1, 0}, {1, 2}, {1, 2}, {0, 2}}, 12)), 0);
}

TEST(Extrude, SquareHasOutwardAxisNormalsAfterLoading) {
    ExtrudeStyle style;
    style.depth = 1.0f;
    const Mesh box = extrude(groupContours({square(1.0f)}), style);
    EXPECT_EQ(openEdges(box), 0);
    EXPECT_EQ(box.degenerateUVTriangles(), 0);
    const Loaded l = load(box);
    ASSERT_EQ(l.positions.size(), box.vertices.size());
    for (std::size_t i = 0; i < l.positions.size(); ++i) {
        const Float3 n = l.normals[i], p = l.positions[i];
        // Hard edges: every normal is one axis, pointing away from the centre.
        const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
        EXPECT_NEAR(std::max({ax, ay, az}), 1.0f, 1e-5f) << "vertex " << i;
        EXPECT_NEAR(ax + ay + az, 1.0f, 1e-5f) << "vertex " << i;
        EXPECT_GT(dot(n, p), 0.0f) << "vertex " << i;
    }
    EXPECT_NEAR(loaderVolume(l), 4.0, 1e-4);
}

TEST(Extrude, BevelledShapeWithAHoleIsClosedAndOutward) {
    ExtrudeStyle style;
    style.depth = 1.0f;
    style.bevel = 0.2f;
    style.bevelSteps = 3;
    const Mesh frame = extrude(groupContours({square(2.0f), square(1.0f, true)}), style);
    EXPECT_EQ(openEdges(frame), 0);
    EXPECT_EQ(frame.degenerateUVTriangles(), 0);
    const Loaded l = load(frame);
    // Less than the unbevelled 12 (16 - 4), more than the caps' inset frame.
    const double volume = loaderVolume(l);
    EXPECT_LT(volume, 12.0);
    EXPECT_GT(volume, 10.0);
    for (std::size_t i = 0; i < l.normals.size(); ++i) EXPECT_NEAR(length(l.normals[i]), 1.0f, 1e-4f);
}

TEST(Triangulate, OutlinesWithHolesKeepTheirArea) {
    std::vector<Vec2> points;
    const Shape ring{square(2.0f), {square(1.0f, true)}};
    double area = 0.0;
    for (const auto& t : triangulate(ring, points)) {
        const Vec2 a = points[static_cast<std::size_t>(t[0])], b = points[static_cast<std::size_t>(t[1])],
                   c = points[static_cast<std::size_t>(t[2])];
        const float twice = cross(b - a, c - a);
        EXPECT_GT(twice, 0.0f);
        area += 0.5 * twice;
    }
    EXPECT_NEAR(area, 12.0, 1e-4);

    // Every glyph of the logo, holes and all: triangles cover exactly the
    // outline's area.
    for (const Shape& s : groupContours(Font::bold().outlines("Quarnel&B8", 10.0f))) {
        double expected = signedArea(s.outer);
        for (const Contour& h : s.holes) expected += signedArea(h);
        double got = 0.0;
        for (const auto& t : triangulate(s, points))
            got += 0.5 * cross(points[static_cast<std::size_t>(t[1])] - points[static_cast<std::size_t>(t[0])],
                               points[static_cast<std::size_t>(t[2])] - points[static_cast<std::size_t>(t[0])]);
        EXPECT_NEAR(got, expected, 1e-3 * std::fabs(expected));
    }
}

TEST(Tube, ClosedLoopIsATorus) {
    std::vector<Float3> circle;
    for (int i = 0; i < 64; ++i) {
        const float a = 6.2831853f * static_cast<float>(i) / 64.0f;
        circle.push_back({3.0f * std::cos(a), 0.0f, 3.0f * std::sin(a)});
    }
    const Mesh torus = tube(circle, [](float, float) { return 0.5f; }, 16, true);
    EXPECT_EQ(openEdges(torus), 0);
    const Loaded l = load(torus);
    // 2 pi^2 R r^2, less a little for the polygonal sections.
    EXPECT_NEAR(loaderVolume(l), 2.0 * 9.8696 * 3.0 * 0.25, 0.5);
    for (std::size_t i = 0; i < l.positions.size(); ++i) {
        const Float3 p = l.positions[i];
        const Float3 centre = normalize({p.x, 0.0f, p.z}) * 3.0f;
        EXPECT_GT(dot(l.normals[i], p - centre), 0.0f);
    }
    // An open, capped tube is closed too.
    const Mesh rod = tube({{0, 0, 0}, {0, 1, 0}, {0.3f, 2, 0}}, [](float, float) { return 0.2f; }, 8, false, true);
    EXPECT_EQ(openEdges(rod), 0);
    EXPECT_GT(loaderVolume(load(rod)), 0.0);
}

TEST(MeshOps, MirrorMergeAndDisplace) {
    ExtrudeStyle style;
    Mesh half = extrude(groupContours({Contour{{0.5f, 0}, {2, 0}, {2, 1}, {0.5f, 1}}}), style);
    Mesh both = half;
    both.append(mirrored(half, Axis::X));
    EXPECT_GT(loaderVolume(load(both)), 0.0) << "the mirrored half still faces outwards";
    EXPECT_NEAR(loaderVolume(load(both)), 2.0 * loaderVolume(load(half)), 1e-3);

    Mesh ball = lathe({{0, -1}, {0.7f, -0.7f}, {1, 0}, {0.7f, 0.7f}, {0, 1}}, 24);
    const double before = loaderVolume(load(ball));
    ball.displace([](Float3, Float3) { return 0.1f; });
    EXPECT_GT(loaderVolume(load(ball)), before * 1.2);
}

TEST(Content, GeneratedMeshesLoadWithFiniteFrames) {
    int meshes = 0;
    for (const Asset& asset : allAssets()) {
        if (asset.name.size() < 4 || asset.name.substr(asset.name.size() - 4) != ".vxm") continue;
        ++meshes;
        const std::string file = TestSupport::readFile("data/" + asset.name);
        ASSERT_FALSE(file.empty()) << "data/" << asset.name << " is missing: build forge_content";
        const Loaded l = loadBytes({file.begin(), file.end()}, asset.name);
        ASSERT_FALSE(l.indices.empty()) << asset.name;
        for (std::size_t i = 0; i < l.normals.size(); ++i) {
            ASSERT_NEAR(length(l.normals[i]), 1.0f, 1e-3f) << asset.name << " vertex " << i;
            ASSERT_TRUE(std::isfinite(l.tangents[i].x) && std::isfinite(l.tangents[i].y) && std::isfinite(l.tangents[i].z))
                << asset.name << " vertex " << i;
        }
        EXPECT_GT(loaderVolume(l), 0.0) << asset.name << " faces inwards";
    }
    EXPECT_GE(meshes, 4);
}
