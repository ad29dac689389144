// The Dragonfly scene: its flash rule, no dragonfly at the camera's target
// (pixels of real frames), and the path scene files it refuses at start-up.
#include "SceneFixture.h"

#include "kestrane/FrameServices.h"
#include "kestrane/State.h"
#include "prod/Animation.h"
#include "prod/Dragonfly.h"

#include <gtest/gtest.h>

using namespace SceneTests;
using Prod::Dragonfly;

namespace {

constexpr float Tempo = 163.0f;

float beat(double b)
{
    return Prod::atBeat(b, Tempo);
}

TEST(DragonflyRules, FlashIsWhiteOnEverySixteenthBeatAndGoneHalfABeatLater)
{
    const struct {
        float t, expected;
    } cases[] = {
        {0.0f, 0.0f},
        {beat(15.9375), 0.0f},     // rising starts
        {beat(15.96875), 0.5f},    // halfway up
        {beat(16), 1.0f},          // full white
        {beat(16.25), 0.5f},       // halfway down
        {beat(16.5), 0.0f},        // gone
        {beat(48), 1.0f},          // and again on every sixteenth beat
        {beat(160), 1.0f},         // the last of the ten
    };
    for (const auto& c : cases)
        EXPECT_NEAR(Dragonfly::flash(c.t, Tempo), c.expected, 1e-4f) << "beat " << c.t * Tempo / 60.0f;
}

// A path scene: Box01 (a mesh, the ground, behind the camera; a plain node
// when boxIsMesh is false), Camera01 120 units from its target at the
// origin, and the target; less the node named leaveOut.
KestraneExt::ZTXSceneData pathScene(const std::string& leaveOut = "", bool boxIsMesh = true)
{
    KestraneExt::ZTXSceneData scene;
    for (const std::string name : {"Box01", "Camera01", "Camera01.Target"}) {
        if (name == leaveOut)
            continue;
        KestraneExt::ZTXNodeData& n = scene.nodes.emplace_back();
        n.name = name;
        n.type = Zentrix::PlainNode;
        if (name == "Camera01") {
            n.type = Zentrix::CameraNodeType;
            n.position = {-120.0f, 0.0f, 0.0f};
            n.camera.targetName = "Camera01.Target";
        } else if (name == "Box01" && boxIsMesh) {
            n.type = Zentrix::MeshNodeType;
            n.position = {-1000.0f, 0.0f, 0.0f};
            n.mesh.positions = {{-10, 0, -10}, {10, 0, -10}, {10, 0, 10}, {-10, 0, 10}};
            n.mesh.texCoords[1] = {{{0, 0}}, {{1, 0}}, {{1, 1}}, {{0, 1}}};
            n.mesh.indices = {0, 1, 2, 0, 2, 3};
        }
    }
    return scene;
}

class DragonflyTest : public SceneTests::SceneTest {
protected:
    // Like every scene, it stays registered with the demo until process exit.
    static Dragonfly* load(const std::string& dragonflyFile, const std::string& pathsFile)
    {
        return new Dragonfly(&sharedProd(), dragonflyFile, pathsFile, "data/solsikke.ztx");
    }

    // One frame of the scene at local time 1, read back from its target.
    static std::vector<std::uint8_t> frameOf(Dragonfly& scene)
    {
        sharedProd().time = 1.0f;
        Kestrane::State::resetRenderState();
        scene.frameStep(0.0f, 30.0f);
        scene.bind();
        std::vector<std::uint8_t> pixels = readPixels(0, 0, scene.width, scene.height);
        Kestrane::useScreenTarget();
        return pixels;
    }
};

TEST_F(DragonflyTest, TheCameraTargetCarriesNoDragonfly)
{
    // The target sits in the middle of the picture, yet the frame is that of
    // a dragonfly scene with nothing in it.
    const std::string paths = writeScene("paths.ztx", pathScene());
    const auto background = frameOf(*load(writeScene("nothing.ztx", {}), paths));
    ASSERT_GT(meanLevel(background), 20.0);
    EXPECT_EQ(differingBytes(frameOf(*load("data/dragonfly.ztx", paths)), background), 0u);
}

using DragonflyDeathTest = DragonflyTest;

TEST_F(DragonflyDeathTest, PathScenesWithoutTheirNodesAndWrongTagsEndTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        const char* file;
        const char* leaveOut;
        bool boxIsMesh;
        const char* message;
    } cases[] = {
        {"nocamera.ztx", "Camera01", true, "nocamera\\.ztx\" has no top-level node \"Camera01\""},
        {"notarget.ztx", "Camera01.Target", true, "notarget\\.ztx\" has no top-level node \"Camera01\\.Target\""},
        {"nobox.ztx", "Box01", true, "nobox\\.ztx\" has no top-level node \"Box01\""},
        {"plainbox.ztx", "", false, "plainbox\\.ztx\": node \"Box01\" is not a mesh"},
    };
    for (const auto& c : cases) {
        const std::string path = writeScene(c.file, pathScene(c.leaveOut, c.boxIsMesh));
        EXPECT_EXIT(load("data/dragonfly.ztx", path), testing::ExitedWithCode(1), c.message) << c.file;
    }
}

}  // namespace
