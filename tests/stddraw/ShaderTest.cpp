// The standard drawables' shaders: the lighting and mapping do what their
// descriptions say, read back from pixels.
#include <epoxy/gl.h>

#include "StdDrawFixture.h"

#include "kestrane/State.h"
#include "kestrane_ext/VXMLoader.h"
#include "kestrane_ext/VXMWriter.h"
#include "vessara/ResourceProxies.h"

using namespace StdDrawTests;

namespace {

// A 2 x 2 square facing +z at the origin, seen by a camera 2 units away.
class StdShaderLookTest : public StdDrawTest {
protected:
    void SetUp() override
    {
        StdDrawTest::SetUp();
        KestraneExt::VXMMeshData mesh;
        mesh.name = "plate";
        mesh.addVertex({-1, -1, 0}, 0, 0);
        mesh.addVertex({1, -1, 0}, 1, 0);
        mesh.addVertex({1, 1, 0}, 1, 1);
        mesh.addVertex({-1, 1, 0}, 0, 1);
        // Clockwise seen from +z: the mesh loaders' normals then face +z.
        mesh.addTriangle(0, 2, 1);
        mesh.addTriangle(0, 3, 2);
        const std::vector<uint8_t> bytes = KestraneExt::encodeVXM({mesh});
        plate = std::make_unique<KestraneExt::VXMLoader>(bytes.data(), bytes.size(), "plate.vxm", 4, 4);
        demo->meshes.cache["plate.vxm"] = plate.get();
        cacheTexture("white.png", 1, 1, {{255, 255, 255, 255}}, Kestrane::Linear);
        restart();
    }

    void drawPlate()
    {
        scene->uploadCamera();
        scene->drawMesh(-1, "plate.vxm");
    }

    static int brightness(const Rgba8& p) { return p.r + p.g + p.b; }

    std::unique_ptr<KestraneExt::VXMLoader> plate;
};

}  // namespace

TEST_F(StdShaderLookTest, SpecularLightingPeaksWhereTheLightReflectsIntoTheEye)
{
    useDataShader("vessara_texturespecular.cg");
    cacheTexture("grey.png", 1, 1, {{128, 128, 128, 255}}, Kestrane::Linear);
    scene->useShader("vessara_texturespecular.cg");
    scene->setTexture("tex0", "grey.png");
    // Light and eye both 2 in front, the light 1 to the right: the highlight
    // sits halfway, at x = 0.5 (column 475), brighter than the centre and
    // far brighter than the left edge.
    scene->setFloat4("lightPosition", 1, 0, 2, 1);
    drawPlate();
    const int highlight = brightness(readPixel(475, 300));
    const int centre = brightness(readPixel(400, 300));
    const int left = brightness(readPixel(255, 300));
    EXPECT_GT(highlight, 3 * 230);
    EXPECT_GT(highlight, centre + 90);
    EXPECT_GT(centre, left + 60);
    EXPECT_GT(left, 3 * 60) << "the side away from the light keeps some light";
}

TEST_F(StdShaderLookTest, BumpMappingTurnsTheNormalAlongTheMeshTangent)
{
    useDataShader("vessara_specularbump.cg");
    cacheTexture("grey.png", 1, 1, {{128, 128, 128, 255}}, Kestrane::Linear);
    cacheTexture("flat.png", 1, 1, {{128, 128, 255, 255}}, Kestrane::Linear);
    // Tilted towards +s, which on this plate is world +x.
    cacheTexture("tilted.png", 1, 1, {{218, 128, 218, 255}}, Kestrane::Linear);
    auto draw = [&](const char* normalMap) {
        restart();
        scene->useShader("vessara_specularbump.cg");
        scene->setTexture("tex0", "grey.png");
        scene->setTexture("tex1", normalMap);
        scene->setFloat4("lightPosition", 20, 0, 2, 1);  // far to the right
        drawPlate();
        return readPixel(320, 300);
    };
    const Rgba8 flat = draw("flat.png");
    const Rgba8 tilted = draw("tilted.png");
    EXPECT_GT(brightness(tilted), brightness(flat) + 45)
        << "flat " << brightness(flat) << ", tilted " << brightness(tilted);
}

TEST_F(StdShaderLookTest, DiffuseLightingFollowsTheCameraKeyLight)
{
    useDataShader("vessara_texturediffuse.cg");
    scene->useShader("vessara_texturediffuse.cg");
    scene->setTexture("tex0", "white.png");
    drawPlate();
    const Rgba8 front = readPixel(400, 300);
    // Seen from behind the plate is lit the same: both faces are lit.
    restart();
    scene->setCamera(0, 0, -2, 0, 0, 0, 0, 1, 0);
    scene->useShader("vessara_texturediffuse.cg");
    scene->setTexture("tex0", "white.png");
    drawPlate();
    const Rgba8 back = readPixel(400, 300);
    EXPECT_GT(brightness(front), 3 * 150);
    EXPECT_NEAR(brightness(front), brightness(back), 6);
}
