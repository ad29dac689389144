// What the translation declares for the runtime: uniforms with their GLSL
// names and types, generic attributes, semantics on built-ins, renamed
// identifiers.
#include "CgTestUtil.h"

using namespace Kestrane::CgCompiler;

namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A GL error raised while a test runs fails it (support/GLTest.h).
using CgTranslation = GLTest;

TEST_F(CgTranslation, UniformsListEveryDeclarationWithItsType) {
    Result r = compile("float4x4 StateWorld;\n"
                       "uniform float alpha = 0.5;\n"
                       "float4 offsets[3];\n"
                       "sampler2D tex0;\n"
                       "samplerCUBE env;\n"
                       "static float3 notAUniform = float3(1, 2, 3);\n"
                       "int count;\n"
                       "float4 psMain(float2 uv : TEXCOORD0, uniform float3 color) : COLOR\n"
                       "{ return tex2D(tex0, uv + offsets[count].xy) * alpha + float4(color, 0); }\n",
                       Stage::Fragment, "psMain", "fp_");
    ASSERT_TRUE(r.ok) << r.listing;
    ASSERT_EQ(r.uniforms.size(), 7u);
    const char* expected[][3] = {{"StateWorld", "float4x4", "0"}, {"alpha", "float", "1"},   {"offsets", "float4[3]", "1"},
                                 {"tex0", "sampler2D", "1"},      {"env", "samplerCUBE", "0"}, {"count", "int", "1"},
                                 {"color", "float3", "1"}};
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(r.uniforms[i].cgName, expected[i][0]);
        EXPECT_EQ(r.uniforms[i].glslName, std::string("fp_") + expected[i][0]);
        EXPECT_EQ(r.uniforms[i].cgTypeName(), expected[i][1]);
        EXPECT_EQ(r.uniforms[i].referenced, expected[i][2][0] == '1') << expected[i][0];
    }
    EXPECT_TRUE(r.findUniform("tex0")->isSampler());
    EXPECT_EQ(r.findUniform("notAUniform"), nullptr);
    EXPECT_EQ(r.findUniform("offsets")->arraySize, 3);
    EXPECT_TRUE(contains(r.glsl, "uniform float fp_alpha = 0.5;")) << r.glsl;
    EXPECT_FALSE(contains(r.glsl, "fp_StateWorld")) << r.glsl;  // known, not used: left out
    EXPECT_EQ(checkGlsl(r, Stage::Fragment), "");
}

TEST_F(CgTranslation, VertexSemanticsUseBuiltInsAndGenericAttributes) {
    Result r = compile("struct In { float3 pos : POSITION; float3 n : NORMAL; float2 uv : TEXCOORD0; float4 c : COLOR;\n"
                       "  float4 corner : TEXCOORD1; float3 t : TANGENT; float3 b : BINORMAL; float w : ATTR6; };\n"
                       "struct Out { float4 pos : POSITION; float4 c : COLOR0; float2 uv : TEXCOORD0; float3 l : TEXCOORD5; };\n"
                       "Out vsMain(In i) { Out o; o.pos = float4(i.pos, 1); o.c = i.c; o.uv = i.uv + i.corner.xy;\n"
                       "  o.l = i.n + i.t + i.b * i.w; return o; }\n",
                       Stage::Vertex, "vsMain", "vp_");
    ASSERT_TRUE(r.ok) << r.listing;
    for (const char* part : {"gl_Vertex.xyz", "gl_Normal;", "gl_MultiTexCoord0.xy", "gl_Color;", "gl_MultiTexCoord1;",
                             "kc_attr14.xyz", "kc_attr15.xyz", "kc_attr6.x", "gl_Position = ", "gl_FrontColor = ",
                             "gl_TexCoord[0] = vec4(kc_out.uv, 0.0, 1.0);", "gl_TexCoord[5] = vec4(kc_out.l, 1.0);"})
        EXPECT_TRUE(contains(r.glsl, part)) << part << "\n" << r.glsl;
    EXPECT_EQ(r.attributes.size(), 3u);
    EXPECT_EQ(checkGlsl(r, Stage::Vertex), "");
}

TEST_F(CgTranslation, FragmentSemantics) {
    Result r = compile("void psMain(float4 c : COLOR0, float4 s : COLOR1, float4 wpos : WPOS, float2 uv : TEXCOORD2,\n"
                       "  out float4 color : COLOR, out float depth : DEPTH) { color = c + s + wpos; depth = uv.x; }\n",
                       Stage::Fragment, "psMain", "fp_");
    ASSERT_TRUE(r.ok) << r.listing;
    for (const char* part : {"= gl_Color;", "= gl_SecondaryColor;", "= gl_FragCoord;", "= gl_TexCoord[2].xy;",
                             "gl_FragColor = kc_in4;", "gl_FragDepth = kc_in5;"})
        EXPECT_TRUE(contains(r.glsl, part)) << part << "\n" << r.glsl;
    EXPECT_EQ(checkGlsl(r, Stage::Fragment), "");
    Result mrt = compile("void psMain(out float4 a : COLOR0, out float3 b : COLOR1) { a = 1; b = 2; }\n",
                         Stage::Fragment, "psMain", "fp_");
    ASSERT_TRUE(mrt.ok) << mrt.listing;
    EXPECT_TRUE(contains(mrt.glsl, "gl_FragData[0] = ") && contains(mrt.glsl, "gl_FragData[1] = vec4(kc_in1, 1.0);"))
        << mrt.glsl;
    EXPECT_FALSE(contains(mrt.glsl, "gl_FragColor"));
    EXPECT_EQ(checkGlsl(mrt, Stage::Fragment), "");
}

TEST_F(CgTranslation, NamesGlslReservesAreRenamed) {
    Result r = compile("struct input { float4 texture; };\n"
                       "float mix(float a) { return a; }\n"
                       "float sample(float x) { return x; }\n"
                       "float gl_thing = 1;\n"
                       "float4 psMain(float4 output : TEXCOORD0, uniform float4 vp_like) : COLOR\n"
                       "{ input i; i.texture = output; float lerp_ = mix(1.0); float a__b = sample(2);\n"
                       "  return i.texture * lerp_ * a__b + gl_thing + vp_like; }\n",
                       Stage::Fragment, "psMain", "vp_");
    ASSERT_TRUE(r.ok) << r.listing;
    for (const char* part : {"struct cg_input", "vec4 cg_texture;", "float cg_mix(float a)", "cg_sample(2.0)",
                             "uniform float vp_gl_thing = 1.0;", "vec4 cg_output", "float cg_a_0b", "vp_vp_like"})
        EXPECT_TRUE(contains(r.glsl, part)) << part << "\n" << r.glsl;
    EXPECT_EQ(r.uniforms[0].glslName, "vp_gl_thing");
    EXPECT_EQ(checkGlsl(r, Stage::Fragment), "");
}

}  // namespace

// Constructs the value tests do not draw: every sampler's lookups, every
// kind of vertex output.
TEST_F(CgTranslation, LookupsOfEverySamplerAndEveryVertexOutputCompileOnGl) {
    const struct {
        Stage stage;
        const char* entry;
        const char* source;
    } cases[] = {
        {Stage::Fragment, "psMain",
         "sampler1D ramp; sampler2D tex; sampler3D volume; samplerCUBE env;\n"
         "float4 psMain(float4 uv : TEXCOORD0, float3 n : TEXCOORD1) : COLOR {\n"
         "  return tex1D(ramp, uv.x) + tex1Dproj(ramp, uv.xw) + tex2D(tex, uv.xy) + tex2Dproj(tex, uv)\n"
         "       + tex2Dproj(tex, uv.xyw) + tex2Dbias(tex, uv) + tex2Dlod(tex, uv) + tex3D(volume, uv.xyz)\n"
         "       + tex3Dproj(volume, uv) + texCUBE(env, n) + texCUBEbias(env, uv) + texCUBElod(env, uv);\n}\n"},
        {Stage::Vertex, "vsMain",
         "void vsMain(float4 p : POSITION, float4 c : COLOR0, float4 s : COLOR1, float fog : FOGCOORD,\n"
         "  out float4 pos : POSITION, out float4 col : COLOR0, out float3 second : COLOR1,\n"
         "  out float4 back : BCOL0, out float size : PSIZE, out float f : FOG, out float2 t7 : TEXCOORD7) {\n"
         "  pos = p; col = c; second = s.rgb; back = c.bgra; size = 2; f = fog; t7 = p.xy;\n}\n"},
    };
    for (const auto& c : cases) {
        const Result r = compile(c.source, c.stage, c.entry, "x_");
        ASSERT_TRUE(r.ok) << r.listing;
        EXPECT_EQ(checkGlsl(r, c.stage), "") << c.source;
    }
}
