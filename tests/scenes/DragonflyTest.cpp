// The Dragonfly scene: its flash rule, which plain nodes of a
// path scene carry a dragonfly (pixels of real frames), the scene files it
// refuses at start-up.
#include "SceneFixture.h"
#include "support/TestSupport.h"

#include "kestrane/FrameServices.h"
#include "kestrane/State.h"
#include "kestrane_ext/ZTXWriter.h"
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

// Path scenes written for the tests: a camera 120 units from its target,
// which sits at the origin; the ground quad lies behind the camera.
KestraneExt::ZTXNodeData node(std::int32_t type, const std::string& name, Kestrane::Float3 position)
{
    KestraneExt::ZTXNodeData n;
    n.type = type;
    n.name = name;
    n.position = position;
    return n;
}

// fliers: plain nodes at the target, after it; leaveOut: a node name to
// leave out; boxIsMesh false makes Box01 a plain node.
KestraneExt::ZTXSceneData pathScene(const std::vector<std::string>& fliers = {}, const std::string& leaveOut = "",
                                    bool boxIsMesh = true)
{
    KestraneExt::ZTXSceneData scene;
    if (leaveOut != "Box01") {
        KestraneExt::ZTXNodeData box = node(boxIsMesh ? Zentrix::MeshNodeType : Zentrix::PlainNode, "Box01",
                                            {-1000.0f, 0.0f, 0.0f});
        if (boxIsMesh) {
            box.mesh.positions = {{-10, 0, -10}, {10, 0, -10}, {10, 0, 10}, {-10, 0, 10}};
            box.mesh.texCoords[1] = {{{0, 0}}, {{1, 0}}, {{1, 1}}, {{0, 1}}};
            box.mesh.indices = {0, 1, 2, 0, 2, 3};
        }
        scene.nodes.push_back(box);
    }
    if (leaveOut != "Camera01") {
        KestraneExt::ZTXNodeData camera = node(Zentrix::CameraNodeType, "Camera01", {-120.0f, 0.0f, 0.0f});
        camera.camera.targetName = "Camera01.Target";
        scene.nodes.push_back(camera);
    }
    if (leaveOut != "Camera01.Target")
        scene.nodes.push_back(node(Zentrix::PlainNode, "Camera01.Target", {0.0f, 0.0f, 0.0f}));
    for (const std::string& name : fliers)
        scene.nodes.push_back(node(Zentrix::PlainNode, name, {0.0f, 0.0f, 0.0f}));
    return scene;
}

class DragonflyTest : public SceneTests::SceneTest {
protected:

    std::string write(const std::string& name, const KestraneExt::ZTXSceneData& scene)
    {
        const std::string path = dir.file(name);
        std::string error;
        EXPECT_TRUE(KestraneExt::writeZTX(path, scene, &error)) << error;
        return path;
    }

    // Like every scene, it stays registered with the demo until process exit.
    static Dragonfly* load(const std::string& dragonflyFile, const std::string& pathsFile)
    {
        return new Dragonfly(&sharedProd(), dragonflyFile, pathsFile, "data/solsikke.ztx");
    }

    // One frame of the scene at local time t, read back from its target.
    static std::vector<std::uint8_t> render(Dragonfly& scene, float t)
    {
        Prod::Prod& prod = sharedProd();
        prod.time = t;
        Kestrane::State::resetRenderState();
        scene.frameStep(0.0f, 30.0f);
        scene.bind();
        std::vector<std::uint8_t> pixels = readPixels(0, 0, scene.width, scene.height);
        Kestrane::useScreenTarget();
        return pixels;
    }

    TestSupport::TempDir dir;
};

TEST_F(DragonflyTest, EveryPlainNodeButTheCameraTargetCarriesADragonfly)
{
    // The same frames with a dragonfly scene that has nothing in it.
    const std::string nothing = write("nothing.ztx", {});
    const std::string alone = write("alone.ztx", pathScene({}));
    const std::string withFly = write("fly.ztx", pathScene({"Fly"}));

    const auto background = render(*load(nothing, alone), 1.0f);
    const auto targetOnly = render(*load("data/dragonfly.ztx", alone), 1.0f);
    const auto fly = render(*load("data/dragonfly.ztx", withFly), 1.0f);

    ASSERT_GT(meanLevel(background), 20.0);
    // The target alone, in the middle of the picture, carries none.
    EXPECT_EQ(differingBytes(targetOnly, background), 0u);
    // A plain node in the same place does: some thousands of pixels change.
    EXPECT_GT(differingBytes(fly, background, 24), 2000u);
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
        const std::string path = write(c.file, pathScene({}, c.leaveOut, c.boxIsMesh));
        EXPECT_EXIT(load("data/dragonfly.ztx", path), testing::ExitedWithCode(1), c.message) << c.file;
    }
}

}  // namespace
