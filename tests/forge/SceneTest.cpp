// Scenes written with the scene builder and read back by the engine's own
// ZTX reader: materials, the node tree, cameras with targets, and tracks
// that evaluate to the keyed positions (in the renderer's axes) and
// rotations; mesh nodes face outwards after the loader's tangent frames.
#include "MeshShapes.h"
#include "SceneBuilder.h"

#include "kestrane_ext/Scene.h"
#include "kestrane_ext/StreamTypes.h"
#include "kestrane_ext/ZTXLoader.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Forge;

namespace {

void expectNear(Float3 a, Float3 b, float eps = 1e-4f) {
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
    EXPECT_NEAR(a.z, b.z, eps);
}

// File axes (z up) as the renderer sees them.
Float3 renderer(Float3 p) { return {p.x, p.z, -p.y}; }

SceneBuilder sampleScene() {
    SceneBuilder b;
    b.material("chrome", "bgenv.jpg");
    b.material("paint", "", {1, 0, 0}, 0.5f);
    ExtrudeStyle style;
    style.depth = 2.0f;
    Mesh box = extrude(groupContours({Contour{{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}}), style);
    auto& node = b.mesh("Box01", box, "chrome");
    SceneBuilder::positionKey(node, 0, {0, 0, 0});
    SceneBuilder::positionKey(node, 100, {10, 20, 30});
    SceneBuilder::positionKey(node, 200, {10, 20, 60});
    SceneBuilder::rotationKey(node, 0, {0, 0, 1}, 0.0f);
    SceneBuilder::rotationKey(node, 100, {0, 0, 1}, 1.5707963f);
    b.mesh("Child", box, "paint", &node);
    auto& cam = b.camera("Camera01", {0, -200, 50}, {0, 0, 10}, 45, 2, 900);
    SceneBuilder::positionKey(cam, 0, {0, -200, 50});
    SceneBuilder::positionKey(cam, 50, {100, -200, 50});
    return b;
}

}  // namespace

TEST(SceneBuilder, CameraAndTracksEvaluateToTheKeys) {
    const std::vector<std::uint8_t> bytes = sampleScene().encode();
    Zentrix::Scene scene(bytes.data(), bytes.size(), "sample.ztx");
    ASSERT_TRUE(scene.errorText().empty());
    ASSERT_EQ(scene.materialCount(), 2);
    EXPECT_EQ(scene.materials()[0]->textureMap(), "bgenv.jpg");
    EXPECT_EQ(scene.materials()[1]->colors[1].x, 1.0f);
    EXPECT_EQ(scene.materials()[1]->scalars[0], 0.5f);

    const auto* cam = dynamic_cast<const Zentrix::CameraNode*>(scene.findNode("Camera01"));
    ASSERT_NE(cam, nullptr);
    EXPECT_EQ(cam->camera.targetName, "Camera01.Target");
    EXPECT_EQ(cam->camera.fieldOfView, 45.0f);
    EXPECT_EQ(cam->camera.nearPlane, 2.0f);
    EXPECT_EQ(cam->camera.farPlane, 900.0f);
    const Zentrix::SceneNode* target = scene.findNode("Camera01.Target");
    ASSERT_NE(target, nullptr);
    expectNear(target->positionAt(0), renderer({0, 0, 10}));
    expectNear(cam->positionAt(0), renderer({0, -200, 50}));
    expectNear(cam->positionAt(25), renderer({50, -200, 50}));
    expectNear(cam->positionAt(80), renderer({100, -200, 50}));  // held after the last key

    const auto* box = dynamic_cast<const Zentrix::MeshNode*>(scene.findNode("Box01"));
    ASSERT_NE(box, nullptr);
    ASSERT_NE(box->material, nullptr);
    EXPECT_EQ(box->material->name(), "chrome");
    expectNear(box->positionAt(0), renderer({0, 0, 0}));
    expectNear(box->positionAt(100), renderer({10, 20, 30}));
    expectNear(box->positionAt(150), renderer({10, 20, 45}));
    const Zentrix::AxisAngle r = box->rotationAt(100);
    EXPECT_NEAR(std::fabs(r.degrees), 90.0f, 1e-2f);
    expectNear({std::fabs(r.axis.x), std::fabs(r.axis.y), std::fabs(r.axis.z)}, {0, 1, 0});  // the file's z is up
    ASSERT_EQ(box->children.size(), 1u);
    EXPECT_EQ(box->children[0]->name, "Child");
    EXPECT_EQ(static_cast<const Zentrix::MeshNode*>(box->children[0].get())->material->name(), "paint");
}

TEST(SceneBuilder, MeshNodesFaceOutwardsAfterLoading) {
    const std::vector<std::uint8_t> bytes = sampleScene().encode();
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
