// Scenes written with the scene builder and read back by the engine's own
// ZTX reader: the camera and its keys as written, and mesh nodes facing
// outwards after the loader's tangent frames.
#include "MeshShapes.h"
#include "SceneBuilder.h"

#include "kestrane_ext/Scene.h"
#include "kestrane_ext/StreamTypes.h"
#include "kestrane_ext/ZTXLoader.h"

#include <gtest/gtest.h>

using namespace Forge;

TEST(SceneBuilder, CameraAndKeysReadBackAsWritten) {
    SceneBuilder b;
    auto& cam = b.camera("Camera01", {0, -200, 50}, {0, 0, 10}, 45, 2, 900);
    SceneBuilder::positionKey(cam, 0, {0, -200, 50});
    SceneBuilder::positionKey(cam, 50, {100, -200, 50});
    const std::vector<std::uint8_t> bytes = b.encode();
    const Zentrix::Scene scene(bytes.data(), bytes.size(), "sample.ztx");
    const auto* c = dynamic_cast<const Zentrix::CameraNode*>(scene.findNode("Camera01"));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->camera.fieldOfView, 45.0f);
    EXPECT_EQ(c->camera.nearPlane, 2.0f);
    EXPECT_EQ(c->camera.farPlane, 900.0f);
    EXPECT_NEAR(c->positionAt(25).x, 50.0f, 1e-3f);  // halfway between the keys
}

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
