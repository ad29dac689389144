#include "TestScene.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Immediate.h"
#include "kestrane/Shader.h"
#include "kestrane/Texture.h"
#include "vessara/Demo.h"
#include "vessara/ResourceProxies.h"

#include <cstdint>
#include <vector>

namespace FrameworkTests {

namespace {

// Per-vertex colour lit by one directional light, normals in world space.
const char* const litSource =
    "float4x4 StateComplete;\n"
    "float4x4 StateWorld;\n"
    "struct Fragment { float4 position : POSITION; float4 colour : COLOR0; float3 normal : TEXCOORD1; };\n"
    "Fragment vsMain(float4 position : POSITION, float4 colour : COLOR0, float3 normal : NORMAL)\n"
    "{\n"
    "    Fragment o;\n"
    "    o.position = mul(StateComplete, position);\n"
    "    o.colour = colour;\n"
    "    o.normal = mul(StateWorld, float4(normal, 0.0)).xyz;\n"
    "    return o;\n"
    "}\n"
    "float4 psMain(float4 colour : COLOR0, float3 normal : TEXCOORD1) : COLOR\n"
    "{\n"
    "    float3 light = normalize(float3(0.5, 0.8, 0.4));\n"
    "    float diffuse = saturate(dot(normalize(normal), light));\n"
    "    return float4(colour.rgb * (0.3 + 0.7 * diffuse), 1.0);\n"
    "}\n";

Kestrane::CompleteShader* litShader()
{
    static Kestrane::CompleteShader* shader = new Kestrane::CompleteShader(litSource, "vsMain", "psMain");
    return shader;
}

void vertex(float x, float y, float z)
{
    Kestrane::vertexAttribute(0, x, y, z, 1.0f);
}

}  // namespace

TestScene::TestScene(Vessara::Demo* demo, int size) : Element(size, size, demo, "TestScene")
{
    std::vector<std::uint8_t> pixels(64 * 64 * 3);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool light = ((x / 8) + (y / 8)) % 2 == 0;
            std::uint8_t* p = &pixels[(size_t(y) * 64 + x) * 3];
            p[0] = light ? 220 : 40;
            p[1] = light ? 210 : 60;
            p[2] = light ? 190 : 90;
        }
    checker = std::make_unique<Kestrane::Texture>(64, 64, pixels.data(), Kestrane::Rgb, Kestrane::Mipmapped);
    demo->shaders.cache["test_scene_lit.cg"] = litShader();
}

TestScene::~TestScene() = default;

void TestScene::render()
{
    bind();
    resetRenderState();
    Kestrane::clear(0, 0, 0, 1, true, true, true);
    draw();
}

void TestScene::draw()
{
    using namespace Kestrane;
    resetAll();
    setDepthFunction(CompareFunction::LessEqual);

    // Sky: a gradient in one screen quad (drawn without depth).
    useShader("vessara_color.cg");
    setFloat4("color", 0.35f, 0.55f, 0.85f, 1.0f);
    drawQuad(-1, 0, 1, 1);
    setFloat4("color", 0.75f, 0.8f, 0.9f, 1.0f);
    drawQuad(-1, -1, 1, 0);

    setProjection(50.0f, 1.0f, 1.0f, 100.0f);
    setView(0.0f, 3.0f, 9.0f, 0.0f, 0.5f, 0.0f, 0.0f, 1.0f, 0.0f);

    // Floor: the checker texture, repeated, far into the distance.
    useShader("vessara_texture.cg");
    setFloat("alpha", 1.0f);
    setTexture("tex0", checker.get());
    uploadCamera();
    begin(Quads);
    vertexAttribute(2, 0.0f, 0.0f, 0.0f, 1.0f);
    vertex(-40.0f, 0.0f, 10.0f);
    vertexAttribute(2, 12.0f, 0.0f, 0.0f, 1.0f);
    vertex(40.0f, 0.0f, 10.0f);
    vertexAttribute(2, 12.0f, 12.0f, 0.0f, 1.0f);
    vertex(40.0f, 0.0f, -70.0f);
    vertexAttribute(2, 0.0f, 12.0f, 0.0f, 1.0f);
    vertex(-40.0f, 0.0f, -70.0f);
    end();
    releaseTextures();

    useShader("test_scene_lit.cg");
    box(-2.2f, 0.0f, 2.0f, 1.0f, 1.6f, 1.0f, 0.9f, 0.25f, 0.2f);
    box(0.4f, 0.0f, -1.0f, 1.2f, 2.6f, 1.2f, 0.2f, 0.6f, 0.9f);
    box(3.5f, 0.0f, -8.0f, 1.5f, 4.0f, 1.5f, 0.3f, 0.8f, 0.3f);
    box(-5.0f, 0.0f, -20.0f, 3.0f, 6.0f, 3.0f, 0.8f, 0.7f, 0.3f);
    box(1.6f, 1.8f, 3.0f, 0.5f, 0.5f, 0.5f, 3.0f, 2.6f, 1.6f);  // the bright block
}

void TestScene::box(float x, float y, float z, float sx, float sy, float sz, float r, float g, float b)
{
    using namespace Kestrane;
    pushWorld();
    translateWorld(x, y, z);
    rotateWorld(25.0f, 0.0f, 1.0f, 0.0f);
    scaleWorld(sx * 0.5f, sy, sz * 0.5f);
    uploadCamera();
    begin(Quads);
    vertexAttribute(11, r, g, b, 1.0f);
    // Six faces of the box from (-1, 0, -1) to (1, 1, 1): normal, then corners.
    const float faces[6][3][3] = {
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},   {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
        {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}},  {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}},  {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
    };
    for (const auto& face : faces) {
        const float* n = face[0];
        const float* u = face[1];
        const float* v = face[2];
        vertexAttribute(10, n[0], n[1], n[2], 0.0f);
        const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& c : corners) {
            // Box centre at (0, 0.5, 0) in the unit cube y range 0..1.
            const float px = n[0] + c[0] * u[0] + c[1] * v[0];
            const float py = 0.5f + 0.5f * (n[1] + c[0] * u[1] + c[1] * v[1]);
            const float pz = n[2] + c[0] * u[2] + c[1] * v[2];
            vertex(px, py, pz);
        }
    }
    end();
    popWorld();
}

}  // namespace FrameworkTests
