#include <epoxy/gl.h>

#include "StdDrawFixture.h"

#include "kestrane/State.h"
#include "kestrane_ext/VXMLoader.h"
#include "kestrane_ext/VXMWriter.h"
#include "vessara/ResourceProxies.h"

#include <array>

using namespace StdDrawTests;

namespace {

// A square of half-size h in the z = 0 plane whose four corners share the
// texture coordinate (u, v), so the texture-coordinate shader paints it flat.
KestraneExt::VXMMeshData square(float h, float u, float v)
{
    KestraneExt::VXMMeshData mesh;
    mesh.name = "square";
    mesh.addVertex({-h, -h, 0}, u, v);
    mesh.addVertex({h, -h, 0}, u, v);
    mesh.addVertex({h, h, 0}, u, v);
    mesh.addVertex({-h, h, 0}, u, v);
    mesh.addTriangle(0, 1, 2);
    mesh.addTriangle(0, 2, 3);
    return mesh;
}

constexpr Colour Outer{51, 0, 0, 255};      // mesh 0, uv (0.2, 0)
constexpr Colour Middle{0, 153, 0, 255};    // mesh 1, uv (0, 0.6)
constexpr Colour Inner{255, 255, 0, 255};   // mesh 2, uv (1, 1)
constexpr Colour Black{0, 0, 0, 255};

class CameraOperationsTest : public StdDrawTest {
protected:
    void SetUp() override
    {
        StdDrawTest::SetUp();
        // Three nested squares, largest first; drawn in file order without
        // depth testing each covers the middle of the one before.
        const std::vector<uint8_t> bytes =
            KestraneExt::encodeVXM({square(1.0f, 0.2f, 0.0f), square(0.6f, 0.0f, 0.6f),
                                    square(0.3f, 1.0f, 1.0f)});
        nested = std::make_unique<KestraneExt::VXMLoader>(bytes.data(), bytes.size(), "nested.vxm",
                                                          4, 4);
        demo->meshes.cache["nested.vxm"] = nested.get();
        cacheShader("texcoord.cg", TexCoordShaderSource);

        perspective(90.0f);
        scene->setCamera(0, 0, 2, 0, 0, 0, 0, 1, 0);
        Kestrane::State::disable(Kestrane::Capability::DepthTest);
        scene->useShader("texcoord.cg");
        scene->uploadCamera();
    }

    std::unique_ptr<KestraneExt::VXMLoader> nested;
};

}  // namespace

TEST_F(CameraOperationsTest, DrawMeshDrawsEveryMeshOnceOrTheOneAtItsIndex)
{
    // Six triangles: each of the three squares exactly once.
    EXPECT_EQ(queryCount(GL_PRIMITIVES_GENERATED, [&] { scene->drawMesh(-1, "nested.vxm"); }), 6u);
    EXPECT_TRUE(pixelIs(400, 300, Inner));
    EXPECT_TRUE(pixelIs(465, 300, Middle));
    EXPECT_TRUE(pixelIs(400, 235, Middle));
    EXPECT_TRUE(pixelIs(520, 300, Outer));
    EXPECT_TRUE(pixelIs(400, 420, Outer));
    EXPECT_TRUE(pixelIs(560, 300, Black));

    // One index draws that mesh only.
    clearScreen();
    EXPECT_EQ(queryCount(GL_PRIMITIVES_GENERATED, [&] { scene->drawMesh(1, "nested.vxm"); }), 2u);
    EXPECT_TRUE(pixelIs(400, 300, Middle));
    EXPECT_TRUE(pixelIs(465, 300, Middle));
    EXPECT_TRUE(pixelIs(520, 300, Black));

    clearScreen();
    EXPECT_EQ(queryCount(GL_PRIMITIVES_GENERATED, [&] { scene->drawMesh(0, "nested.vxm"); }), 2u);
}

TEST_F(CameraOperationsTest, AFileWithoutMeshesDrawsNothing)
{
    const std::vector<uint8_t> bytes = KestraneExt::encodeVXM({});
    KestraneExt::VXMLoader empty(bytes.data(), bytes.size(), "empty.vxm", 4, 4);
    demo->meshes.cache["empty.vxm"] = &empty;
    EXPECT_EQ(queryCount(GL_PRIMITIVES_GENERATED, [&] { scene->drawMesh(-1, "empty.vxm"); }), 0u);
}

using CameraOperationsDeathTest = CameraOperationsTest;

TEST_F(CameraOperationsDeathTest, MeshIndicesOutsideTheFileAreFatalAndNamed)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(scene->drawMesh(3, "nested.vxm"), testing::ExitedWithCode(1),
                "drawMesh: mesh 3 of \"nested.vxm\", which has 3 meshes");
    EXPECT_EXIT(scene->drawMesh(-2, "nested.vxm"), testing::ExitedWithCode(1), "mesh -2");
}
