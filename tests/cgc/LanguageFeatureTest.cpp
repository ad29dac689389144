// The Cg that shaders written elsewhere use, one case per feature: each
// program is compiled for both stages, linked on the GL driver and drawn, and
// the pixel it computes is compared with the value Cg gives.
#include "CgTestUtil.h"

#include <functional>
#include <map>

using namespace Kestrane::CgCompiler;

namespace {

struct FeatureCase {
    const char* feature;
    std::string source;
    std::map<std::string, std::string> files;  // included files, by path
    std::function<void(CgPair&)> setup;
    std::array<float, 4> expected;
};

const float grey[4] = {0.25f, 0.5f, 0.75f, 1.0f};
const float redGreen[8] = {1, 0, 0, 1, 0, 1, 0, 1};  // 2 x 1: red left, green right

std::vector<FeatureCase> featureCases() {
    return {
        {"#include beside the including file, then the program, then -I; <file> in -I; #pragma once",
         fragmentProgram("return float4(tint() * gain, 1);", "#include \"common.cgh\"\n#include <gain.cgh>\n"),
         {{"shaders/common.cgh", "#include \"lib/util.cgh\"\n#include \"lib/util.cgh\"\n"},
          {"shaders/lib/util.cgh", "#pragma once\n#include \"tone.cgh\"\nfloat3 tint() { return TONE; }\n"},
          {"shaders/lib/tone.cgh", "#define TONE float3(0.25, 0.5, 0.75)\n"},
          {"extra/gain.cgh", "static const float gain = 2;\n"}},
         nullptr,
         {0.5f, 1.0f, 1.5f, 1.0f}},
        {"# and ## operators, computed #include",
         fragmentProgram("return float4(halfValue, PASTED, NAME(half, Value) * 2, 1);",
                         "#define NAME(a, b) a ## b\n#define HEADER(f) #f\n#include HEADER(lib/pasted.cgh)\n"
                         "static const float NAME(half, Value) = 0.5;\n"),
         {{"shaders/lib/pasted.cgh", "#define PASTED 0.25\n"}},
         nullptr,
         {0.5f, 0.25f, 1.0f, 1.0f}},
        {"shadow lookups: tex2D float3, tex2Dproj float4",
         fragmentProgram("return float4(tex2D(depthMap, float3(uv, 0.25)).x, tex2D(depthMap, float3(uv, 0.75)).x,\n"
                         "              tex2Dproj(depthMap, float4(uv * 2, 0.5, 2)).x, 1);",
                         "sampler2D depthMap;"),
         {},
         [](CgPair& p) { p.setDepthTexture("depthMap", 1, false, 0.5f); },
         {1.0f, 0.0f, 1.0f, 1.0f}},
        {"shadow lookup: tex1D float2",
         fragmentProgram("return float4(tex1D(depthLine, float2(uv.x, 0.75)).x, tex1D(depthLine, float2(uv.x, 0.25)).x, 0, 1);",
                         "sampler1D depthLine;"),
         {},
         [](CgPair& p) { p.setDepthTexture("depthLine", 1, true, 0.5f); },
         {0.0f, 1.0f, 0.0f, 1.0f}},
        {"derivative, projective, lod and bias lookups",
         fragmentProgram("float4 a = tex2D(image, float2(0.25, 0.5), ddx(uv), ddy(uv));\n"
                         "float4 b = tex2Dproj(image, float3(1.5, 1.0, 2.0));\n"
                         "float4 c = tex2Dlod(image, float4(0.25, 0.5, 0, 0));\n"
                         "float4 d = tex2Dbias(image, float4(0.75, 0.5, 0, 0));\n"
                         "float4 e = tex2Dproj(image, float4(1.5, 0, 5, 2));\n"
                         "return float4(a.r + a.g * 10, b.r + b.g * 10 + e.g * 100, c.r + c.g * 10, d.r + d.g * 10);",
                         "sampler2D image;"),
         {},
         [](CgPair& p) { p.setTexture("image", 1, 2, 1, redGreen); },
         {1.0f, 110.0f, 1.0f, 10.0f}},
        {"entry parameters with semantics, global and entry uniforms",
         "float4 bias;\n"
         "uniform float gain;\n"
         "float4 vsMain(float4 p : POSITION, float3 n : NORMAL, float4 c : COLOR0, out float4 col : COLOR0,"
         " out float4 nn : TEXCOORD3) : POSITION\n"
         "{ col = c; nn = float4(n, 1); return p; }\n"
         "float4 psMain(float4 col : COLOR0, float4 nn : TEXCOORD3, uniform float4 extra) : COLOR\n"
         "{ return col * gain + bias + extra + nn.z * 100; }\n",
         {},
         [](CgPair& p) {
             p.setFloat("gain", 2.0f);
             p.setFloat4("bias", 0.0f, 0.0f, 0.0f, 1.0f);
             p.setFloat4("extra", 10.0f, 20.0f, 30.0f, 40.0f);
         },
         {110.5f, 121.0f, 131.5f, 143.0f}},
        {"TANGENT, BINORMAL and ATTRn inputs read their generic attributes",
         "void vsMain(float4 p : POSITION, float3 t : TANGENT, float3 b : BINORMAL, float2 a : ATTR3, float3 n : NORMAL,\n"
         "  out float4 pos : POSITION, out float4 o : TEXCOORD0, out float4 o2 : TEXCOORD1)\n"
         "{ pos = p; o = float4(t, b.y); o2 = float4(a, n.z, 0); }\n"
         "float4 psMain(float4 o : TEXCOORD0, float4 o2 : TEXCOORD1) : COLOR { return o + o2 * 100; }\n",
         {},
         [](CgPair& p) {
             p.generic[14] = {1, 2, 3, 0};
             p.generic[15] = {0, 5, 0, 0};
             p.generic[3] = {0.25f, 0.5f, 9, 9};
         },
         {26.0f, 52.0f, 103.0f, 5.0f}},
        {"clip discards the fragment", fragmentProgram("clip(uv.x - 0.75); return float4(1, 1, 1, 1);"), {}, nullptr,
         {0.0f, 0.0f, 0.0f, 0.0f}},
        {"clip of a vector without negative components keeps it",
         fragmentProgram("clip(float2(uv.x, 1)); return float4(1, 1, 1, 1);"), {}, nullptr, {1.0f, 1.0f, 1.0f, 1.0f}},
        {"componentwise && || ! ?: on vectors",
         fragmentProgram("float3 v = float3(uv.x, 0.2, 0.9);\n"
                         "bool3 hi = v > 0.4;\nbool3 lo = v < 0.6;\n"
                         "float3 both = (hi && lo) ? 1.0 : 0.0;\n"
                         "float3 either = (!hi || lo) ? float3(2, 3, 4) : float3(5, 6, 7);\n"
                         "return float4(both.x, both.y + either.y, both.z + either.z, either.x);"),
         {},
         nullptr,
         {1.0f, 3.0f, 7.0f, 2.0f}},
        {"uniform structs holding samplers, 'uniform' members, struct uniform declared after its struct",
         "struct Source { uniform float4 scale; sampler2D image; };\n"
         "struct Frame { float4 offset; };\n"
         "uniform Frame FRAME;\n"
         "float4 look(Source s, float2 uv) { return tex2D(s.image, uv) * s.scale; }\n"
         "float4 vsMain(float4 p : POSITION, float4 t : TEXCOORD0, out float4 uv : TEXCOORD0) : POSITION\n"
         "{ uv = t; return p; }\n"
         "float4 psMain(float2 uv : TEXCOORD0, uniform Source IN) : COLOR { return look(IN, uv) + FRAME.offset; }\n",
         {},
         [](CgPair& p) {
             p.setFloat4("IN.scale", 2, 2, 2, 2);
             p.setTexture("IN.image", 1, 1, 1, grey);
             p.setFloat4("FRAME.offset", 0.5f, 0, 0, 0);
         },
         {1.0f, 1.0f, 1.5f, 2.0f}},
        {"entry input struct with uniform members (uniform values and sampler, varying coordinate)",
         "struct orig { float2 tex_coord; uniform float4 scale; uniform sampler2D texture; };\n"
         "float4 vsMain(float4 p : POSITION, float4 t : TEXCOORD0, out float4 uv : TEXCOORD0) : POSITION\n"
         "{ uv = t; return p; }\n"
         "float4 psMain(orig ORIG) : COLOR { return tex2D(ORIG.texture, ORIG.tex_coord) * ORIG.scale + ORIG.tex_coord.xyxy; }\n",
         {},
         [](CgPair& p) {
             p.setFloat4("ORIG.scale", 2, 2, 2, 2);
             p.setTexture("ORIG.texture", 1, 1, 1, grey);
         },
         {1.0f, 1.5f, 2.0f, 2.5f}},
        {"varying struct members without a semantic take free TEXCOORD slots in both stages",
         "struct V { float4 pos : POSITION; float2 uv; float4 tint; float4 extra : TEXCOORD0; };\n"
         "V vsMain(float4 p : POSITION, float4 t : TEXCOORD0)\n"
         "{ V o; o.pos = p; o.uv = t.xy; o.tint = float4(0.1, 0.2, 0.3, 0.4); o.extra = float4(1, 2, 3, 4); return o; }\n"
         "float4 psMain(V i) : COLOR { return i.tint + i.uv.xyxy + i.extra * 0.01; }\n",
         {},
         nullptr,
         {0.61f, 0.72f, 0.83f, 0.94f}},
        {"slots without a semantic are chosen after the signature's TEXCOORDn; an unused struct takes none; "
         "TEXCOORD8 and up are varyings too",
         "struct Unused { bool dummy; };\n"
         "struct V { float4 pos : POSITION; float4 a; float4 far : TEXCOORD9; float4 b; };\n"
         "V vsMain(Unused u, float4 p : POSITION, out float4 t0 : TEXCOORD0, out float4 t1 : TEXCOORD1)\n"
         "{ V o; o.pos = p; o.a = float4(0.5, 0.25, 0.125, 1); o.far = float4(0, 0, 0, 4); o.b = 1000;\n"
         "  t0 = 1; t1 = 2; return o; }\n"
         "float4 psMain(Unused u, V v, float4 t0 : TEXCOORD0, float4 t1 : TEXCOORD1) : COLOR\n"
         "{ return v.a + t0 * 0.01 + t1 * 0.1 + v.far + float4(0, 0, 0, v.b.x * 0.001); }\n",
         {},
         nullptr,
         {0.71f, 0.46f, 0.335f, 6.21f}},
        {"matrices of one row or column, int and bool matrices, struct constructors and casts, "
         "initializers without inner braces, a scalar as a matrix, modf",
         fragmentProgram("float3 c = mul(float1x2(1, 0.5), float2x3(1, 2, 3, 4, 5, 6));\n"
                         "float d = float(mul(float1x3(1, 2, 3), float3x1(4, 5, 6)));\n"
                         "float2x2 o = mul(float2x1(1, 2), float1x2(3, 4));\n"
                         "bool2x2 b = bool2x2(true, false, false, true); int2x2 n = int2x2(1, 2, 3, 4);\n"
                         "P q = P(float2(1, 2), 3); P z = (P)0; float2x2 R = 2; float ip;\n"
                         "float f = modf(-2.75, ip);\n"
                         "return float4(c.y + o[1][0] * 10, d + n[1][0] * 100, k[1].y + R[0][1] * 10 + (b[1].y ? 1000 : 0),\n"
                         "              q.b + z.a.x + f + ip * 10);",
                         "struct P { float2 a; float b; };\nstatic const float2 k[2] = { 0.5, 1, 1.5, 2 };\n"),
         {},
         nullptr,
         {64.5f, 332.0f, 1022.0f, -17.75f}},
        {"bitwise operators on ints, negative ones in two's complement",
         fragmentProgram("int a = -6, b = 13; int3 v = int3(5, 3, -1) ^ int3(3, 3, 1);\n"
                         "return float4(a & b, (5 | -8) + (~5) * 10, (-7 >> 1) + (3 << 4) * 10, v.x + v.z * 10);"),
         {},
         nullptr,
         {8.0f, -63.0f, 476.0f, -14.0f}},
        {"a program may assign to its uniforms (its own copy); matrix uniforms with a default value",
         fragmentProgram("gain.y = 3; return float4(gain.x, gain.y, mul(M, float2(1, 0)).y, M[0][1]);",
                         "float4 gain;\nfloat2x2 M = float2x2(1, 2, 3, 4);\n"),
         {},
         [](CgPair& p) { p.setFloat4("gain", 0.5f, 0.5f, 0.5f, 0.5f); },
         {0.5f, 3.0f, 3.0f, 2.0f}},
        {"array constructors",
         fragmentProgram("float3 w[3] = float3[3](float3(1, 0, 0), float3(0, 2, 0), float3(0, 0, 3));\n"
                         "float a[] = float[](0.5, 0.25);\n"
                         "float3 s = w[0] + w[1] + w[2];\n"
                         "return float4(s * a[1], a[0]);"),
         {},
         nullptr,
         {0.25f, 0.5f, 0.75f, 0.5f}},
    };
}

// A GL error raised while a test runs fails it (support/GLTest.h).
using CgLanguageFeatures = GLTest;

// Each case in both back ends: GLSL 1.20 and GLSL ES 3.00 (which the desktop
// driver compiles too), but for the cases with 1D samplers, which GLSL ES lacks.
TEST_F(CgLanguageFeatures, ProgramsComputeCgValuesOnGl) {
    ASSERT_TRUE(glHarness()) << "no GL context";
    for (Target target : {Target::Glsl120, Target::Es300})
    for (const FeatureCase& c : featureCases()) {
        if (target == Target::Es300 && c.source.find("1D") != std::string::npos) continue;
        SCOPED_TRACE(std::string(target == Target::Es300 ? "es300: " : "") + c.feature);
        Options options;
        options.target = target;
        options.path = "shaders/program.cg";
        options.includeDirs = {"extra"};
        const auto files = c.files;
        options.readFile = [files](const std::string& path) -> std::optional<std::string> {
            auto found = files.find(path);
            if (found == files.end()) return std::nullopt;
            return found->second;
        };
        CgPair pair = buildPair(c.source, options);
        ASSERT_TRUE(pair) << pair.error << "\n" << pair.vertex.glsl << pair.fragment.glsl;
        if (c.setup) c.setup(pair);
        expectPixel(pair.draw(), c.expected);
    }
}

}  // namespace
