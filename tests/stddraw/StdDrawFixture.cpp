#include <epoxy/gl.h>

#include "StdDrawFixture.h"

#include "kestrane/FrameServices.h"
#include "kestrane/State.h"
#include "vessara/ResourceProxies.h"

#include <map>

namespace StdDrawTests {

const char* const TexCoordShaderSource =
    "float4x4 StateComplete;\n"
    "struct Fragment { float4 position : POSITION; float2 uv : TEXCOORD0; };\n"
    "Fragment vsMain(float4 position : POSITION, float4 uv : TEXCOORD0)\n"
    "{ Fragment o; o.position = mul(StateComplete, position); o.uv = uv.xy; return o; }\n"
    "float4 psMain(float2 uv : TEXCOORD0) : COLOR { return float4(uv, 0.0, 1.0); }\n";

const char* const ColorShaderSource =
    "float4x4 StateComplete;\n"
    "uniform float4 color;\n"
    "float4 vsMain(float4 position : POSITION) : POSITION { return mul(StateComplete, position); }\n"
    "float4 psMain() : COLOR { return color; }\n";

namespace {

// Compiled shaders outlive every demo: they are made once per process.
std::map<std::string, Kestrane::CompleteShader*>& compiledShaders()
{
    static std::map<std::string, Kestrane::CompleteShader*> shaders;
    return shaders;
}

}  // namespace

void StdDrawTest::SetUp()
{
    GLTest::SetUp();
    demo = std::make_unique<Vessara::Demo>();
    scene = std::make_unique<Vessara::Drawable>(demo.get(), "scene");
    clearScreen();
}

void StdDrawTest::TearDown()
{
    Kestrane::State::resetRenderState();
    Kestrane::State::resetAll();
    GLTest::TearDown();
}

Kestrane::CompleteShader* StdDrawTest::useDataShader(const std::string& name)
{
    Kestrane::CompleteShader*& shader = compiledShaders()["data:" + name];
    if (!shader)
        shader = demo->shaders.load("vessara_data/" + name);
    demo->shaders.cache[name] = shader;
    return shader;
}

Kestrane::CompleteShader* StdDrawTest::cacheShader(const std::string& name, const char* source)
{
    Kestrane::CompleteShader*& shader = compiledShaders()["test:" + name];
    if (!shader)
        shader = new Kestrane::CompleteShader(source, "vsMain", "psMain");
    demo->shaders.cache[name] = shader;
    return shader;
}

Kestrane::Texture* StdDrawTest::cacheTexture(const std::string& name, int w, int h,
                                             const std::vector<Colour>& pixels,
                                             Kestrane::TextureFilter filter)
{
    ownedTextures.push_back(
        std::make_unique<Kestrane::Texture>(w, h, pixels.data(), Kestrane::Rgba, filter));
    demo->textures.cache[name] = ownedTextures.back().get();
    return ownedTextures.back().get();
}

void StdDrawTest::clearScreen(float r, float g, float b, float a)
{
    Kestrane::useScreenTarget();
    Kestrane::State::resetRenderState();
    Kestrane::State::setDepthFunction(Kestrane::CompareFunction::LessEqual);
    Kestrane::State::resetAll();
    Kestrane::State::setViewport(0, 0, ScreenWidth, ScreenHeight);
    Kestrane::clear(r, g, b, a, true, true, true);
}

void StdDrawTest::restart()
{
    clearScreen();
    perspective(90.0f);
    scene->setCamera(0, 0, 2, 0, 0, 0, 0, 1, 0);
}

void StdDrawTest::perspective(float fovDegrees, float aspect, float nearPlane, float farPlane)
{
    demo->camera.fieldOfView = fovDegrees;
    demo->camera.aspect = aspect;
    demo->camera.nearPlane = nearPlane;
    demo->camera.farPlane = farPlane;
    Kestrane::State::setProjection(fovDegrees, aspect, nearPlane, farPlane);
}

}  // namespace StdDrawTests
