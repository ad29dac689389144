// The Balloon scene: its drawable's blending left off after each mesh, the
// star layers that do not change from frame to frame, and the scene files it
// refuses at start-up.
#include "SceneFixture.h"

#include "prod/Animation.h"
#include "prod/Balloon.h"

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

TEST_F(BalloonTest, BlendingIsTurnedOffAgainAfterEachMesh)
{
    // A mesh of an untextured material, which the drawable blends.
    KestraneExt::ZTXSceneData data;
    data.materials.emplace_back().name = "glass";
    KestraneExt::ZTXNodeData& pane = data.nodes.emplace_back();
    pane.type = Zentrix::MeshNodeType;
    pane.name = "pane";
    pane.mesh.material = "glass";
    pane.mesh.positions = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}};
    pane.mesh.indices = {0, 1, 2};
    // Drawables live as long as the demo they registered with.
    auto* balloon = new Prod::Balloon::ZTXDrawable(&sharedProd(), writeScene("pane.ztx", data));
    balloon->drawAt(0.0f);
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
