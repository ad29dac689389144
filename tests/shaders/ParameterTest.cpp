// Shader parameters through CompleteShader: samplers on their own units,
// names a program does not declare, uniforms in both programs, persistence.
#include <epoxy/gl.h>

#include "ShaderTestSupport.h"

#include "kestrane/DefaultShader.h"
#include "kestrane/FrameServices.h"
#include "kestrane/State.h"

#include <memory>
#include <string>
#include <vector>

using namespace Kestrane;
using namespace ShaderTests;

namespace {

const char* const oneTextureSource = R"(
float4x4 StateComplete;
sampler2D tex0;
float4 vsMain(float4 position : POSITION, float2 uv : TEXCOORD0, out float2 uvOut : TEXCOORD0) : POSITION
{
    uvOut = uv;
    return mul(StateComplete, position);
}
float4 psMain(float2 uv : TEXCOORD0) : COLOR { return tex2D(tex0, uv); }
)";

// "tint" is declared once in the source and used by both programs.
const char* const sharedUniformSource = R"(
float4x4 StateComplete;
float4 tint;
float unused;
float4 vsMain(float4 position : POSITION, out float4 color : COLOR0) : POSITION
{
    color = tint;
    return mul(StateComplete, position);
}
float4 psMain(float4 color : COLOR0) : COLOR { return color * tint; }
)";

const char* const alphaSource = R"(
float alpha;
float4 vsMain(float4 position : POSITION) : POSITION { return position; }
float4 psMain() : COLOR { return float4(alpha, alpha, alpha, 1); }
)";

GLuint solidTexture(uint8_t r, uint8_t g, uint8_t b) {
    const uint8_t pixel[4] = {r, g, b, 255};
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    glBindTexture(GL_TEXTURE_2D, 0);
    return id;
}

class ParameterTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        State::resetRenderState();
        State::disable(Capability::DepthTest);
        State::resetAll();
        clear(0, 0, 0, 1, true, true, false);
        red = solidTexture(255, 0, 0);
        green = solidTexture(0, 255, 0);
        blue = solidTexture(0, 0, 255);
    }
    void TearDown() override {
        const GLuint textures[] = {red, green, blue};
        glDeleteTextures(3, textures);
        GLTest::TearDown();
    }
    GLuint red = 0, green = 0, blue = 0;
};

}  // namespace

TEST_F(ParameterTest, SamplerReadsTheTextureBoundToIt) {
    CompleteShader shader(oneTextureSource, "vsMain", "psMain");
    shader.bind();
    shader.setTexture("tex0", red);
    shader.uploadState();
    drawFullScreen();
    EXPECT_TRUE(pixelIs(400, 300, {255, 0, 0, 255}, 2));

    // A new texture on an enabled sampler takes effect at once.
    shader.setTexture("tex0", blue);
    drawFullScreen();
    EXPECT_TRUE(pixelIs(400, 300, {0, 0, 255, 255}, 2));

    // Loading a texture on the active unit does not disturb the sampler.
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, green);
    drawFullScreen();
    EXPECT_TRUE(pixelIs(400, 300, {0, 0, 255, 255}, 2));
    glBindTexture(GL_TEXTURE_2D, 0);
    shader.disableTexture("tex0");
}

TEST_F(ParameterTest, UndeclaredNamesChangeNothing) {
    CompleteShader shader(alphaSource, "vsMain", "psMain");
    shader.bind();
    shader.setFloat("alpha", 0.5f);
    drawFullScreen();
    EXPECT_TRUE(pixelIs(400, 300, {128, 128, 128, 255}, 2));

    CountErrors errors;
    EXPECT_EQ(cgGetNamedParameter(shader.pixel->program, "beta"), nullptr);
    EXPECT_EQ(cgGetNamedParameter(shader.vertex->program, "alpha"), nullptr);
    const float four[4] = {1, 1, 1, 1};
    shader.setFloat("beta", 1.0f);
    shader.setFloat4("beta", four);
    shader.setTexture("tex0", red);
    shader.disableTexture("tex0");
    shader.setFloat("", 1.0f);
    shader.uploadState();  // neither program declares a state matrix
    drawFullScreen();
    EXPECT_TRUE(pixelIs(400, 300, {128, 128, 128, 255}, 2));
    EXPECT_EQ(errors.count(), 0);
}

TEST_F(ParameterTest, ValuesSurviveBindingAnotherShader) {
    CompleteShader gray(alphaSource, "vsMain", "psMain");
    CompleteShader tinted(sharedUniformSource, "vsMain", "psMain");
    gray.bind();
    gray.setFloat("alpha", 0.25f);
    drawFullScreen();
    EXPECT_TRUE(pixelIs(400, 300, {64, 64, 64, 255}, 2));

    tinted.bind();
    const float tint[4] = {1.0f, 0.5f, 0.0f, 1.0f};
    tinted.setFloat4("tint", tint);
    tinted.uploadState();
    drawFullScreen();
    EXPECT_TRUE(pixelIs(400, 300, {255, 64, 0, 255}, 2));

    useDefaultShader();
    drawFullScreen();
    EXPECT_TRUE(pixelIs(400, 300, {255, 255, 255, 255}, 2));

    gray.bind();
    drawFullScreen();
    EXPECT_TRUE(pixelIs(400, 300, {64, 64, 64, 255}, 2));
    tinted.bind();
    drawFullScreen();
    EXPECT_TRUE(pixelIs(400, 300, {255, 64, 0, 255}, 2));

    // A pair never drawn before (tinted vertex, gray pixel) gets both values.
    cgGLBindProgram(tinted.vertex->program);
    cgGLBindProgram(gray.pixel->program);
    drawFullScreen();
    EXPECT_TRUE(pixelIs(400, 300, {64, 64, 64, 255}, 2));
}

TEST_F(ParameterTest, RunningOutOfUnitsIsAnErrorNamingTheSampler) {
    GLint unitCount = 0;
    glGetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS, &unitCount);
    ASSERT_GT(unitCount, 2);
    std::string source = "float4 vsMain(float4 p : POSITION) : POSITION { return p; }\n"
                         "float4 psMain(float2 uv : TEXCOORD0) : COLOR\n{\n"
                         "    float4 sum = float4(0, 0, 0, 0);\n";
    std::string declarations;
    const int perShader = 8;
    for (int i = 0; i < perShader; ++i) {
        declarations += "sampler2D s" + std::to_string(i) + ";\n";
        source += "    sum += tex2D(s" + std::to_string(i) + ", uv);\n";
    }
    source = declarations + source + "    return sum;\n}\n";

    // Enough shaders to need one unit more than unit 0 leaves.
    std::vector<std::unique_ptr<CompleteShader>> shaders;
    for (int enabled = 0; enabled < unitCount - 1; enabled += perShader) {
        shaders.push_back(std::make_unique<CompleteShader>(source.c_str(), "vsMain", "psMain"));
    }
    CountErrors errors;
    int enabled = 0;
    for (auto& shader : shaders) {
        for (int i = 0; i < perShader && enabled < unitCount - 1; ++i, ++enabled) {
            shader->setTexture(("s" + std::to_string(i)).c_str(), red);
        }
    }
    EXPECT_EQ(errors.count(), 0);
    CompleteShader extra(source.c_str(), "vsMain", "psMain");
    extra.setTexture("s0", red);
    EXPECT_EQ(errors.count(), 1);
    EXPECT_EQ(cgGetError(), CG_TEXTURE_UNITS_EXHAUSTED_ERROR);
    const char* listing = cgGetLastListing(testContext().cgContext);
    ASSERT_NE(listing, nullptr);
    EXPECT_NE(std::string(listing).find("\"s0\""), std::string::npos) << listing;

    // Freeing one unit makes room again, for one sampler only (a second
    // disable frees nothing more), and leaves no texture on the unit.
    const unsigned freed = cgGLGetTextureEnum(cgGetNamedParameter(shaders.front()->pixel->program, "s0"));
    ASSERT_NE(freed, 0u);
    shaders.front()->disableTexture("s0");
    shaders.front()->disableTexture("s0");
    GLint bound = -1;
    glActiveTexture(freed);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glActiveTexture(GL_TEXTURE0);
    EXPECT_EQ(bound, 0);
    extra.setTexture("s0", red);
    EXPECT_EQ(errors.count(), 1);
    extra.setTexture("s1", red);
    EXPECT_EQ(errors.count(), 2);
    extra.disableTexture("s1");
    extra.disableTexture("s0");
    for (auto& shader : shaders) {
        for (int i = 0; i < perShader; ++i) shader->disableTexture(("s" + std::to_string(i)).c_str());
    }
}
