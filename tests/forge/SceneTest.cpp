// A mesh node written with the scene builder and read back by the engine's
// own ZTX loader faces outwards after the loader's tangent frames. (What the
// builder writes for cameras, tracks and materials shows in the show's
// reference frames.)
#include "MeshShapes.h"
#include "SceneBuilder.h"

#include "kestrane_ext/StreamTypes.h"
#include "kestrane_ext/ZTXLoader.h"

#include <gtest/gtest.h>

using namespace Forge;

TEST(SceneBuilder, MeshNodesFaceOutwardsAfterLoading) {
    SceneBuilder b;
    b.material("chrome", "bgenv.jpg");
    ExtrudeStyle style;
    style.depth = 2.0f;
    b.mesh("Box01", extrude(groupContours({Contour{{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}}), style), "chrome");
    const std::vector<std::uint8_t> bytes = b.encode();
    KestraneExt::ZTXLoader loader(bytes.data(), bytes.size(), "sample.ztx", 0);
    KestraneExt::Geometry* g = loader.findGeometry("Box01");
    ASSERT_NE(g, nullptr);
    auto positions = g->createAttribute(KestraneExt::Semantic::Position);
    auto normals = g->createAttribute(KestraneExt::Semantic::Normal);
    ASSERT_TRUE(positions && normals);
    for (int i = 0; i < g->lowestStream()->vertexCount(); ++i) {
        float p[4] = {}, n[4] = {};
        positions->get(i, p);
        normals->get(i, n);
        EXPECT_GT(p[0] * n[0] + p[1] * n[1] + p[2] * n[2], 0.0f) << "vertex " << i;
    }
}
