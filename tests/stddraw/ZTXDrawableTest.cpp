#include <epoxy/gl.h>

#include "StdDrawFixture.h"
#include "support/TestSupport.h"

#include "kestrane/State.h"
#include "kestrane_ext/ZTXWriter.h"
#include "vessara/ZTXDrawable.h"

#include <array>

using namespace StdDrawTests;
using StdVessara::ZTXDrawable;

namespace {

constexpr Colour Red{255, 0, 0, 255};
constexpr Colour Green{0, 255, 0, 255};
constexpr Colour Black{0, 0, 0, 255};

// A shader painting every pixel the colour `rgba` (Cg float4 arguments).
std::string flatShader(const std::string& rgba)
{
    return "float4x4 StateComplete;\n"
           "float4 vsMain(float4 position : POSITION) : POSITION { return mul(StateComplete, position); }\n"
           "float4 psMain() : COLOR { return float4(" + rgba + "); }\n";
}

KestraneExt::ZTXMaterialData material(const std::string& name, const std::string& texture,
                                      const std::string& bump)
{
    KestraneExt::ZTXMaterialData m;
    m.name = name;
    m.textureMap = texture;
    m.bumpMap = bump;
    return m;
}

// A mesh node: a square of half-size 0.4 in the renderer's z = 0 plane (mesh
// vertices are not turned from the file's axes; node positions are), at file
// position (x, 0, 0), with texture channel 1 so it gets tangent frames.
KestraneExt::ZTXNodeData squareNode(const std::string& name, const std::string& materialName,
                                    float x)
{
    KestraneExt::ZTXNodeData node;
    node.type = Zentrix::MeshNodeType;
    node.name = name;
    node.position = {x, 0, 0};
    node.mesh.material = materialName;
    node.mesh.positions = {{-0.4f, -0.4f, 0}, {0.4f, -0.4f, 0}, {0.4f, 0.4f, 0}, {-0.4f, 0.4f, 0}};
    node.mesh.texCoords[1] = {{{0, 0}}, {{1, 0}}, {{1, 1}}, {{0, 1}}};
    node.mesh.indices = {0, 1, 2, 0, 2, 3};
    return node;
}

class ZTXDrawableTest : public StdDrawTest {
protected:
    void SetUp() override
    {
        StdDrawTest::SetUp();
        cacheTexture("skin.png", 2, 2, {Red, Green, Green, Red}, Kestrane::Linear);
        cacheTexture("normal_bumps.png", 1, 1, {{128, 128, 255, 255}}, Kestrane::Linear);
        // Camera 2 units in front: squares at x = -1.2, 0, 1.2 are centred on
        // columns 220, 400 and 580 of row 300, 120 pixels wide.
        restart();
    }

    // The three material kinds side by side: bumped, textured, plain.
    KestraneExt::ZTXSceneData threeKinds()
    {
        KestraneExt::ZTXSceneData data;
        data.materials.push_back(material("bumped", "skin.png", "bumps.png"));
        data.materials.push_back(material("textured", "skin.png", ""));
        KestraneExt::ZTXMaterialData plain = material("plain", "", "");
        plain.colors[1] = {0.25f, 0.5f, 0.75f};
        plain.colors[2] = {0.4f, 0.9f, 0.9f};
        plain.scalars[0] = 0.2f;
        data.materials.push_back(plain);
        data.nodes.push_back(squareNode("bumpedSquare", "bumped", -1.2f));
        data.nodes.push_back(squareNode("texturedSquare", "textured", 0.0f));
        data.nodes.push_back(squareNode("plainSquare", "plain", 1.2f));
        return data;
    }

    std::unique_ptr<ZTXDrawable> load(const KestraneExt::ZTXSceneData& data)
    {
        const std::string path = dir.file("scene.ztx");
        std::string error;
        EXPECT_TRUE(KestraneExt::writeZTX(path, data, &error)) << error;
        return std::make_unique<ZTXDrawable>(demo.get(), path);
    }

    void useRealShaders()
    {
        useDataShader("vessara_specularbump.cg");
        useDataShader("vessara_texturespecular.cg");
        useDataShader("vessara_colorspecular.cg");
    }

    TestSupport::TempDir dir;
};

}  // namespace

TEST_F(ZTXDrawableTest, EachMaterialKindSelectsItsShader)
{
    // Stand-ins that paint the choice: bump red, texture green, colour its "color".
    cacheShader("vessara_specularbump.cg", flatShader("1, 0, 0, 1").c_str());
    cacheShader("vessara_texturespecular.cg", flatShader("0, 1, 0, 1").c_str());
    cacheShader("vessara_colorspecular.cg", ColorShaderSource);
    std::unique_ptr<ZTXDrawable> ztx = load(threeKinds());

    ztx->drawAt(0.0f);

    EXPECT_TRUE(pixelIs(220, 300, Red));
    EXPECT_TRUE(pixelIs(400, 300, Green));
    // The untextured colour is colour 2 with colour 3's red as alpha, drawn
    // unblended whatever "alpha" says.
    EXPECT_TRUE(pixelIs(580, 300, {64, 128, 191, 255}));
    EXPECT_TRUE(pixelIs(310, 300, Black));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(ZTXDrawableTest, BumpedMaterialsBindTheirMapsAndALightAtTheOrigin)
{
    useRealShaders();
    KestraneExt::ZTXSceneData bumped;
    bumped.materials.push_back(material("bumped", "skin.png", "bumps.png"));
    bumped.nodes.push_back(squareNode("square", "bumped", 0.0f));

    std::unique_ptr<ZTXDrawable> a = load(bumped);
    a->drawAt(0.0f);
    EXPECT_EQ(a->currentShader, demo->shaders["vessara_specularbump.cg"]);
    EXPECT_EQ(a->boundTextures, (std::vector<std::string>{"tex0", "tex1"}));
    CGprogram pixel = a->currentShader->pixel->program;
    EXPECT_EQ(cgGLGetTextureParameter(cgGetNamedParameter(pixel, "tex0")), demo->textures["skin.png"]->id());
    EXPECT_EQ(cgGLGetTextureParameter(cgGetNamedParameter(pixel, "tex1")),
              demo->textures["normal_bumps.png"]->id());
    float light[4];
    cgGetParameterValuefr(cgGetNamedParameter(pixel, "lightPosition"), 4, light);
    EXPECT_EQ((std::array<float, 4>{light[0], light[1], light[2], light[3]}),
              (std::array<float, 4>{0, 0, 0, 1}));
    const Rgba8 lit = readPixel(400, 300);
    EXPECT_GT(lit.r + lit.g, 60) << "the bumped square is drawn and lit";
}

using ZTXDrawableDeathTest = ZTXDrawableTest;

TEST_F(ZTXDrawableDeathTest, MissingMaterialsMapsAndFilesAreFatalAndNamed)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    useRealShaders();
    KestraneExt::ZTXSceneData noMaterial;
    noMaterial.nodes.push_back(squareNode("lonely", "nowhere", 0.0f));
    std::unique_ptr<ZTXDrawable> a = load(noMaterial);
    EXPECT_EXIT(a->drawAt(0.0f), testing::ExitedWithCode(1), "mesh node \"lonely\" has no material");

    KestraneExt::ZTXSceneData missingMap;
    missingMap.materials.push_back(material("m", "skin.png", "gone.png"));
    missingMap.nodes.push_back(squareNode("square", "m", 0.0f));
    std::unique_ptr<ZTXDrawable> b = load(missingMap);
    EXPECT_EXIT(b->drawAt(0.0f), testing::ExitedWithCode(1), "not loaded: normal_gone.png");

    EXPECT_EXIT(ZTXDrawable(demo.get(), dir.file("absent.ztx")), testing::ExitedWithCode(1),
                "absent.ztx");
}
