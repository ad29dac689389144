// Scenes written with the scene builder and read back by the engine's own
// ZTX reader: the camera and its keys as written, mesh nodes facing
// outwards after the loader's tangent frames, and the forged Balloon scene's
// motion (climbing balloons, a gliding camera, flickering flames).
#include "MeshShapes.h"
#include "SceneBuilder.h"

#include "kestrane_ext/Scene.h"
#include "kestrane_ext/StreamTypes.h"
#include "kestrane_ext/ZTXLoader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

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

namespace {

using Kestrane::Float3;

float dot3(Float3 a, Float3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Float3 cross3(Float3 a, Float3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Float3 unit(Float3 a) { return a * (1.0f / std::sqrt(dot3(a, a))); }

// Where a point lands on the Balloon scene's screen (-1..1 both ways): its
// camera looks from the camera node at the target node with up (0, 0, -1),
// 30 degrees high at aspect 1.7777.
struct BalloonView {
    Float3 eye, forward, right, up;

    BalloonView(const Zentrix::Scene& scene, float A) {
        eye = scene.findNode("Camera01")->positionAt(A);
        forward = unit(scene.findNode("Camera01.Target")->positionAt(A) - eye);
        right = unit(cross3(forward, {0.0f, 0.0f, -1.0f}));
        up = cross3(right, forward);
    }
    std::pair<float, float> onScreen(Float3 p) const {
        const Float3 d = p - eye;
        const float h = std::tan(15.0f * 3.14159265f / 180.0f);
        return {dot3(d, right) / dot3(d, forward) / (1.7777f * h), dot3(d, up) / dot3(d, forward) / h};
    }
};

}  // namespace

TEST(Content, BalloonsClimbApartTheCameraGlidesAndTheFlamesFlicker) {
    const std::string bytes = TestSupport::readFile("data/balloon.ztx");
    ASSERT_FALSE(bytes.empty()) << "data/balloon.ztx is missing: build forge_content";
    const Zentrix::Scene scene(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), "balloon.ztx");
    // Animation time A = 500 x scene time; the entry starts at 122.21 s of
    // the show and lasts 23.56 s.
    const float end = 11780.0f, at126 = 500.0f * (126.0f - 122.21f), at142 = 500.0f * (142.0f - 122.21f);
    const char* balloons[] = {"Balloon", "FarBalloon", "FarBalloon2"};

    // Each balloon climbs (up on screen is -z), each at its own rate.
    std::vector<float> climbs;
    for (const char* name : balloons) {
        const Zentrix::SceneNode* node = scene.findNode(name);
        ASSERT_NE(node, nullptr) << name;
        climbs.push_back(node->positionAt(0.0f).z - node->positionAt(end).z);
        EXPECT_GT(climbs.back(), 60.0f) << name;
    }
    std::sort(climbs.begin(), climbs.end());
    EXPECT_GT(climbs[1], 1.5f * climbs[0]);
    EXPECT_GT(climbs[2], 1.5f * climbs[1]);

    // Between 126 s and 142 s of the show the camera's view changes in the
    // large: the balloons move across the screen by a fifth of its width or
    // more on average, and the camera turns by more than 30 degrees.
    const BalloonView early(scene, at126), late(scene, at142);
    float moved = 0.0f;
    for (const char* name : balloons) {
        const auto [x0, y0] = early.onScreen(scene.findNode(name)->positionAt(at126));
        const auto [x1, y1] = late.onScreen(scene.findNode(name)->positionAt(at142));
        moved += std::hypot(x1 - x0, y1 - y0) / 3.0f;
    }
    EXPECT_GT(moved, 0.4f);
    EXPECT_LT(dot3(early.forward, late.forward), std::cos(30.0f * 3.14159265f / 180.0f));

    // Every flame flickers: its height changes by more than a tenth from one
    // tenth of a second to the next in at least a third of the entry.
    int flames = 0;
    for (const char* name : balloons)
        for (const auto& child : scene.findNode(name)->children) {
            if (child->name.find("Flame") == std::string::npos) continue;
            ++flames;
            int steps = 0, flickers = 0;
            for (float A = 0.0f; A + 50.0f <= end; A += 50.0f, ++steps) {
                const float h0 = child->scaleAt(A).z, h1 = child->scaleAt(A + 50.0f).z;
                if (std::fabs(h1 - h0) > 0.1f * std::max(h0, h1)) ++flickers;
            }
            EXPECT_GT(flickers * 3, steps) << child->name;
        }
    EXPECT_EQ(flames, 6);
}
