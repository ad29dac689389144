// The Balloon scene: its drawable's blending by material alpha, left off
// after each mesh, the star layers that do not change from frame to frame,
// and the scene files it refuses at start-up.
#include "SceneFixture.h"

#include "prod/Animation.h"
#include "prod/Balloon.h"
#include "kestrane/State.h"

#include <epoxy/gl.h>

using namespace SceneTests;

namespace {

float beat(double b)
{
    return Prod::atBeat(b, 163.0f);
}

const float EntryStart = beat(332);

// A camera node "Camera01" of cameraType looking at a plain node
// "Camera01.Target"; the target node itself only when withTarget.
KestraneExt::ZTXSceneData cameraScene(std::int32_t cameraType, bool withTarget)
{
    KestraneExt::ZTXSceneData data;
    KestraneExt::ZTXNodeData& camera = data.nodes.emplace_back();
    camera.type = cameraType;
    camera.name = "Camera01";
    camera.camera.targetName = "Camera01.Target";
    if (withTarget)
        data.nodes.emplace_back().name = "Camera01.Target";
    return data;
}

using BalloonTest = SceneTests::SceneTest;

}  // namespace

TEST_F(BalloonTest, UntexturedMeshesBlendByTheirAlphaAndBlendingEndsWithEachMesh)
{
    // Two green untextured panes over red: "glass" (alpha 0) on the lower
    // right half of the screen, "solid" (alpha 1) on the upper left.
    KestraneExt::ZTXSceneData data;
    for (const auto& [name, alpha] : {std::pair{"glass", 0.0f}, std::pair{"solid", 1.0f}}) {
        KestraneExt::ZTXMaterialData& material = data.materials.emplace_back();
        material.name = name;
        material.colors[1] = {0, 1, 0};
        material.scalars[0] = alpha;
        KestraneExt::ZTXNodeData& pane = data.nodes.emplace_back();
        pane.type = Zentrix::MeshNodeType;
        pane.name = name;
        pane.mesh.material = name;
        pane.mesh.positions = alpha == 0.0f ? std::vector<Kestrane::Float3>{{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}}
                                            : std::vector<Kestrane::Float3>{{-1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
        pane.mesh.indices = {0, 1, 2};
    }
    // Drawables live as long as the demo they registered with.
    auto* balloon = new Prod::Balloon::ZTXDrawable(&sharedProd(), writeScene("panes.ztx", data));
    Kestrane::State::resetAll();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    balloon->drawAt(0.0f);
    EXPECT_TRUE(pixelIs(600, 150, {255, 0, 0, 255}, 1)) << "the glass pane lets the red through";
    const Rgba8 solid = readPixel(200, 450);
    EXPECT_GT(solid.g, solid.r) << "the solid pane covers the red";
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(BalloonTest, TheStarLayersAreTheSameWhateverRanBefore)
{
    // The same moment after another Balloon frame and after a Pils frame
    // (which leaves the random generator elsewhere): identical pictures.
    const float t = EntryStart + 5.0f;
    renderAt(EntryStart + 12.0f);
    const auto afterBalloon = renderAt(t);
    renderAt(beat(140) + 7.3f);
    const auto afterPils = renderAt(t);
    EXPECT_EQ(differingBytes(afterBalloon, afterPils), 0u);
}

using BalloonDeathTest = BalloonTest;

TEST_F(BalloonDeathTest, ASceneWithoutItsCameraOrTargetEndsTheShowNamingFileAndNode)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        std::string file;
        KestraneExt::ZTXSceneData data;
        std::string message;
    } cases[] = {
        {"nocamera.ztx", {}, "nocamera.ztx\" has no top-level camera node \"Camera01\""},
        {"plain.ztx", cameraScene(Zentrix::PlainNode, true), "plain.ztx\": node \"Camera01\" is not a camera node"},
        {"notarget.ztx", cameraScene(Zentrix::CameraNodeType, false),
         "notarget.ztx\": the target node \"Camera01.Target\" of camera \"Camera01\" is missing"},
    };
    for (const auto& c : cases) {
        const std::string path = writeScene(c.file, c.data);
        EXPECT_EXIT(new Prod::Balloon(&sharedProd(), path), testing::ExitedWithCode(1), c.message) << c.file;
    }
}
