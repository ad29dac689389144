// Lookups that work in texels (texel offsets, fetches, size queries,
// rectangle textures) and uniform arrays of structs, through the runtime:
// the runtime hands each sampler's texture size to the program, and sets
// struct-array members by their names ("lights[1].color").
#include <epoxy/gl.h>

#include "ShaderTestSupport.h"

#include "kestrane/Shader.h"
#include "kestrane/State.h"
#include "kestrane/cg/compiler/CgCompiler.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace Kestrane;
using namespace ShaderTests;

namespace {

// 8 x 4 textures (8 x 1 in 1D): texel (x, y) holds (32x, 64y, 0), and (32x,
// 64y, 255) in the 2D texture's smaller levels, so a fetch from the wrong
// level, a swapped offset or a swapped size shows.
std::vector<uint8_t> texels(int w, int h, uint8_t blue) {
    std::vector<uint8_t> data;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) data.insert(data.end(), {uint8_t(32 * x), uint8_t(64 * y), blue, 255});
    return data;
}

GLuint makeTexture(GLenum target) {
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(target, id);
    const bool mipmapped = target == GL_TEXTURE_2D;
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, mipmapped ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    if (target == GL_TEXTURE_1D) {
        glTexImage1D(target, 0, GL_RGBA8, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels(8, 1, 0).data());
    } else {
        glTexImage2D(target, 0, GL_RGBA8, 8, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels(8, 4, 0).data());
    }
    for (int level = 1; mipmapped && level < 4; ++level) {
        const int w = 8 >> level, h = std::max(4 >> level, 1);
        glTexImage2D(target, level, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels(w, h, 255).data());
    }
    glBindTexture(target, 0);
    return id;
}

const char* const lookupPrelude = R"(
sampler2D image;
sampler1D line;
samplerRECT rect;
float4 shifted(sampler s, float2 uv, int2 off);
float4 ramp(const sampler1D s, const float x, const int off) { return tex1D(s, x, off); }
float4 vsMain(float4 p : POSITION) : POSITION { return p; }
float4 shifted(sampler s, float2 uv, int2 off) { return tex2D(s, uv, off); }
)";

struct LookupCase {
    const char* value;  // the fragment program's colour
    Rgba8 expected;
};

class TexelLookupTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        State::resetRenderState();
        State::disable(Capability::DepthTest);
        image = makeTexture(GL_TEXTURE_2D);
        line = makeTexture(GL_TEXTURE_1D);
        rect = makeTexture(GL_TEXTURE_RECTANGLE);
    }
    void TearDown() override {
        const GLuint textures[] = {image, line, rect};
        glDeleteTextures(3, textures);
        GLTest::TearDown();
    }
    GLuint image = 0, line = 0, rect = 0;
};

}  // namespace

TEST_F(TexelLookupTest, OffsetsFetchesAndSizesReadTheTexelsCgNames) {
    // Texel centres are at ((x + 0.5) / 8, (y + 0.5) / 4).
    const LookupCase cases[] = {
        {"tex2D(image, float2(0.0625, 0.125), int2(1, 2))", {32, 128, 0, 255}},
        {"shifted(image, float2(0.1875, 0.125), int2(2, 1))", {96, 64, 0, 255}},
        {"tex2Dproj(image, float3(0.125, 0.75, 2), int2(1, 0))", {32, 64, 0, 255}},
        {"tex2Dlod(image, float4(0.3125, 0.125, 0, 0), int2(-2, 3))", {0, 192, 0, 255}},
        {"tex2Dfetch(image, int4(2, 1, 0, 0))", {64, 64, 0, 255}},
        {"tex2Dfetch(image, int4(0, 1, 0, 1), int2(1, 0))", {32, 64, 255, 255}},
        {"float4(float3(tex2Dsize(image, 0)) * 0.0625 + float3(0, 0, tex2Dsize(image, 1).y * 0.25), 1)",
         {128, 64, 128, 255}},
        {"ramp(line, 0.0625, 2) + tex1Dfetch(line, int4(1, 0, 0, 0)).yxzw", {64, 32, 0, 255}},
        {"texRECT(rect, float2(0.5, 0.5), int2(3, 1))", {96, 64, 0, 255}},
        {"texRECTfetch(rect, int4(1, 1, 0, 0), int2(0, 1)) + float4(float3(texRECTsize(rect, 0)).zyx * 0.0625, 0)",
         {32, 192, 128, 255}},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.value);
        std::string source = lookupPrelude;
        source += "float4 psMain() : COLOR { return " + std::string(c.value) + "; }\n";
        CompleteShader shader(source.c_str(), "vsMain", "psMain");
        shader.bind();
        shader.setTexture("image", image);
        shader.setTexture("line", line);
        shader.setTexture("rect", rect);
        drawFullScreen();
        EXPECT_TRUE(pixelIs(400, 300, c.expected, 2));
        shader.disableTexture("image");
        shader.disableTexture("line");
        shader.disableTexture("rect");
    }
}

TEST_F(TexelLookupTest, UniformArraysOfStructsAreSetMemberByMember) {
    const char* const source = R"(
struct Light { float4 color; float weight; };
uniform Light lights[3];
float4 vsMain(float4 p : POSITION) : POSITION { return p; }
float4 psMain(uniform Light extra[2]) : COLOR
{
    float4 sum = lights[2].color * 0.5 + extra[1].color;
    for (int i = 0; i < 3; ++i) sum += lights[i].color * lights[i].weight;
    return sum;
}
)";
    CompleteShader shader(source, "vsMain", "psMain");
    shader.bind();
    const float colors[3][4] = {{0.4f, 0, 0, 1}, {0, 0.4f, 0, 1}, {0, 0, 0.4f, 1}};
    const float weights[3] = {0.25f, 0.5f, 0.125f};
    for (int i = 0; i < 3; ++i) {
        const std::string element = "lights[" + std::to_string(i) + "]";
        shader.setFloat4((element + ".color").c_str(), colors[i]);
        shader.setFloat((element + ".weight").c_str(), weights[i]);
    }
    const float unused[4] = {0.5f, 0.5f, 0.5f, 1}, extra[4] = {0.1f, 0.1f, 0.1f, 1};
    shader.setFloat4("extra[0].color", unused);
    shader.setFloat4("extra[1].color", extra);
    drawFullScreen();
    // (0.1, 0.2, 0.05) from the loop, (0, 0, 0.2) from lights[2], 0.1 from extra[1].
    EXPECT_TRUE(pixelIs(400, 300, {51, 77, 89, 255}, 2));
    EXPECT_EQ(cgGetNamedParameter(shader.pixel->program, "lights[3].color"), nullptr);
}

// Forms Cg does not have, or that GLSL 1.20 cannot give, are errors that name the call.
TEST(TexelLookupForms, UnsupportedFormsAreErrorsNamingTheCall) {
    const struct {
        const char* program;  // after the declarations below
        const char* message;
    } cases[] = {
        {"float4 psMain() : COLOR { return texCUBE(cube, float3(1, 0, 0), int3(1, 1, 1)); }",
         "'texCUBE' takes (samplerCUBE, coordinates (cube lookups take no texel offset))"},
        {"float4 psMain() : COLOR { return tex2D(image, float2(0, 0), int3(1, 1, 1)); }",
         "'tex2D' takes (sampler2D, coordinates, ..., int2 offset)"},
        {"float4 psMain() : COLOR { return tex2D(); }", "'tex2D' takes a sampler2D and coordinates, not ()"},
        {"uniform Pair set[2];\nfloat4 psMain() : COLOR { return set[0].scale; }",
         "uniform array of structs 'set' holds a sampler"},
        {"float4 look(Pair p, float2 uv) { return tex2D(p.a, uv, int2(1, 0)); }\n"
         "float4 psMain(uniform Pair pair) : COLOR { return look(pair, float2(0, 0)); }",
         "sampler inside a struct parameter"},
    };
    const std::string declarations = "sampler2D image; samplerCUBE cube; struct Pair { sampler2D a; float4 scale; };\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        const auto result =
            CgCompiler::compile(declarations + c.program, CgCompiler::Stage::Fragment, "psMain", "fp_");
        ASSERT_FALSE(result.ok);
        EXPECT_NE(result.listing.find(c.message), std::string::npos) << result.listing;
    }
}
