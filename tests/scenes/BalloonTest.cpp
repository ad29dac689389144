// The Balloon scene: its drawable's blended untextured materials against the
// standard drawable's opaque ones (pixels read back), the black start, the
// star layers that do not change from frame to frame, and the scene files
// it refuses at start-up.
#include "SceneFixture.h"
#include "support/TestSupport.h"

#include "kestrane/FrameServices.h"
#include "kestrane/State.h"
#include "kestrane_ext/ZTXWriter.h"
#include "prod/Animation.h"
#include "prod/Balloon.h"

#include <epoxy/gl.h>

#include <cstdlib>

using namespace SceneTests;

namespace {

float beat(double b)
{
    return Prod::atBeat(b, 163.0f);
}

const float EntryStart = beat(332);

// A square of half-size 1 in the renderer's z = 0 plane (mesh vertices are
// stored in the renderer's axes) with an untextured material: colour 2 green,
// colour 3's red 0.9 (what the standard drawable sends as the fourth value of
// "color"), scalar 1 = 0.5.
KestraneExt::ZTXSceneData halfTransparentSquare()
{
    KestraneExt::ZTXSceneData data;
    KestraneExt::ZTXMaterialData glass;
    glass.name = "glass";
    glass.colors[1] = {0.2f, 0.9f, 0.2f};
    glass.colors[2] = {0.9f, 0.9f, 0.9f};
    glass.scalars[0] = 0.5f;
    data.materials.push_back(glass);
    KestraneExt::ZTXNodeData square;
    square.type = Zentrix::MeshNodeType;
    square.name = "pane";
    square.mesh.material = "glass";
    square.mesh.positions = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    square.mesh.normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    square.mesh.indices = {0, 1, 2, 0, 2, 3};
    data.nodes.push_back(square);
    return data;
}

// A camera node "Camera01" looking at a plain node named targetName; the
// target node itself only when withTarget.
KestraneExt::ZTXSceneData cameraScene(std::int32_t cameraType, bool withTarget)
{
    KestraneExt::ZTXSceneData data = halfTransparentSquare();
    KestraneExt::ZTXNodeData camera;
    camera.type = cameraType;
    camera.name = "Camera01";
    camera.camera.targetName = "Camera01.Target";
    data.nodes.push_back(camera);
    if (withTarget) {
        KestraneExt::ZTXNodeData target;
        target.name = "Camera01.Target";
        data.nodes.push_back(target);
    }
    return data;
}

std::string writeScene(const TestSupport::TempDir& dir, const std::string& name, const KestraneExt::ZTXSceneData& data)
{
    const std::string path = dir.file(name);
    std::string error;
    EXPECT_TRUE(KestraneExt::writeZTX(path, data, &error)) << error;
    return path;
}

class BalloonTest : public SceneTests::SceneTest {
protected:

    // The centre pixel of the square drawn by drawable over a screen
    // cleared to the background colour.
    Rgba8 centreOver(StdVessara::ZTXDrawable& drawable, float r, float g, float b)
    {
        Kestrane::State::resetRenderState();
        Kestrane::clear(r, g, b, 1.0f, true, true, false);
        Kestrane::State::resetAll();
        Kestrane::State::setProjection(90.0f, 800.0f / 600.0f, 0.1f, 100.0f);
        drawable.setCamera(0, 0, 2, 0, 0, 0, 0, 1, 0);
        drawable.drawAt(0.0f);
        glFinish();
        return readPixel(400, 300);
    }

    TestSupport::TempDir dir;
};

}  // namespace

TEST_F(BalloonTest, UntexturedMaterialsBlendWithScalarOne)
{
    const std::string path = writeScene(dir, "pane.ztx", halfTransparentSquare());
    // Drawables live as long as the demo they registered with.
    auto* balloon = new Prod::Balloon::ZTXDrawable(&sharedProd(), path);

    // Over red and over blue: half of the background shows through the
    // balloon's pane (the standard drawable's is opaque: ZTXDrawableTest).
    const Rgba8 onRed = centreOver(*balloon, 1, 0, 0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "blending is turned off again after each mesh";
    const Rgba8 onBlue = centreOver(*balloon, 0, 0, 1);
    EXPECT_NEAR(onRed.r - onBlue.r, 128, 2);
    EXPECT_NEAR(onBlue.b - onRed.b, 128, 2);
    EXPECT_EQ(onRed.g, onBlue.g);
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
    KestraneExt::ZTXSceneData noCamera = halfTransparentSquare();
    const struct {
        std::string file;
        KestraneExt::ZTXSceneData data;
        std::string message;
    } cases[] = {
        {"nocamera.ztx", noCamera, "nocamera.ztx\" has no top-level camera node \"Camera01\""},
        {"plain.ztx", cameraScene(Zentrix::PlainNode, true), "plain.ztx\": node \"Camera01\" is not a camera node"},
        {"notarget.ztx", cameraScene(Zentrix::CameraNodeType, false),
         "notarget.ztx\": the target node \"Camera01.Target\" of camera \"Camera01\" is missing"},
    };
    for (const auto& c : cases) {
        const std::string path = writeScene(dir, c.file, c.data);
        EXPECT_EXIT(new Prod::Balloon(&sharedProd(), path), testing::ExitedWithCode(1), c.message) << c.file;
    }
}
