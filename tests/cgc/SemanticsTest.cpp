// Values computed by translated programs on real GL, read back exactly from a
// floating-point target: the translation means what the Cg source means.
#include "CgTestUtil.h"

#include <cmath>

namespace {

TEST(CgSemantics, ArithmeticIntrinsicsMatchCg) {
    // fmod keeps the sign of x; frac is x - floor(x); round goes half up; trunc towards zero.
    EXPECT_PIXEL(evaluate("return float4(fmod(-3.5, 2.0), frac(-0.25), round(2.5), trunc(-1.7));"), -1.5, 0.75, 3.0, -1.0);
    EXPECT_PIXEL(evaluate("return float4(saturate(1.5), saturate(-2), lerp(2.0, 4.0, 0.25), rsqrt(4.0));"), 1, 0, 2.5, 0.5);
    EXPECT_PIXEL(evaluate("return float4(atan2(1.0, -1.0), log10(1000.0), sign(-3.0), step(0.5, 0.7));"),
                 3.0 * M_PI / 4.0, 3.0, -1.0, 1.0);
    EXPECT_PIXEL(evaluate("return lit(0.5, 0.5, 2.0);"), 1.0, 0.5, 0.25, 1.0);
    EXPECT_PIXEL(evaluate("return lit(-0.5, 0.5, 2.0);"), 1.0, 0.0, 0.0, 1.0);
    EXPECT_PIXEL(evaluate("return float4(smoothstep(0.0, 1.0, 0.5), clamp(5, 1, 3), max(2, 3.5), min(float2(1, 5), 2).y);"),
                 0.5, 3.0, 3.5, 2.0);
    EXPECT_PIXEL(evaluate("float s, c; sincos(0.0, s, c); return float4(s, c, exp2(3), pow(2.0, 0.5) * pow(2.0, 0.5));"),
                 0.0, 1.0, 8.0, 2.0);
    EXPECT_PIXEL(evaluate("return float4(dot(float3(1,2,3), float3(4,5,6)), length(float2(3,4)), "
                          "distance(float2(0,0), float2(0,2)), cross(float3(1,0,0), float3(0,1,0)).z);"),
                 32.0, 5.0, 2.0, 1.0);
    float sinh1 = std::sinh(1.0f), tanh1 = std::tanh(1.0f);
    EXPECT_PIXEL(evaluate("return float4(sinh(1.0), tanh(1.0), degrees(3.14159265), radians(180));"),
                 sinh1, tanh1, 180.0, M_PI);
}

TEST(CgSemantics, IntegerArithmeticIsIntegerAndRemainderIsTruncated) {
    EXPECT_PIXEL(evaluate("int a = 7; int b = 2; float f = a / b; int r = -7 % 3; return float4(f, r, 7 % 3, 7.5 % 2);"),
                 3.0, -1.0, 1.0, 1.5);
    EXPECT_PIXEL(evaluate("int i = 2.75; float f = i; i += 1.5; return float4(f, i, (float)(int)3.9, (int)-3.9);"),
                 2.0, 3.0, 3.0, -3.0);
}

TEST(CgSemantics, SwizzlesReadAndWrite) {
    EXPECT_PIXEL(evaluate("float4 v = 0; v.zx = float2(1, 2); return v;"), 2, 0, 1, 0);
    EXPECT_PIXEL(evaluate("float4 c = float4(1, 2, 3, 4); return c.abgr;"), 4, 3, 2, 1);
    EXPECT_PIXEL(evaluate("float s = 0.5; float3 t = s.xxx; return float4(t, s.x);"), 0.5, 0.5, 0.5, 0.5);
    EXPECT_PIXEL(evaluate("float4 v = float4(1, 2, 3, 4); v.xy += 10; v.w *= 2; v[2] = 7; return v;"), 11, 12, 7, 8);
    // A float4 assigned to a float3 keeps x, y, z (Cg truncation).
    EXPECT_PIXEL(evaluate("float3 t = float4(5, 6, 7, 8); float f = t; return float4(t, f);"), 5, 6, 7, 5);
}

TEST(CgSemantics, ConstructorsAndCasts) {
    EXPECT_PIXEL(evaluate("float3 v = float3(1, 2, 3); return float4(v.xy, 1, v.z);"), 1, 2, 1, 3);
    EXPECT_PIXEL(evaluate("return float4(float2(1, 2), float2(3, 4).yx);"), 1, 2, 4, 3);
    EXPECT_PIXEL(evaluate("return float4((float3)float4(1, 2, 3, 4), (float)2);"), 1, 2, 3, 2);
    EXPECT_PIXEL(evaluate("float4 v = {1, 2, 3, 4}; return v * 2;"), 2, 4, 6, 8);
    EXPECT_PIXEL(evaluate("return float4(float3(0.5), 1);"), 0.5, 0.5, 0.5, 1);
}

TEST(CgSemantics, ComparisonsGiveComponentwiseBooleans) {
    EXPECT_PIXEL(evaluate("float4 v = float4(0.2, 0.7, 0.4, 0.9); bool4 b = v > 0.5;"
                          "return float4(any(b), all(b), b.y, (float)(v.x < v.y));"),
                 1, 0, 1, 1);
    EXPECT_PIXEL(evaluate("float4 v = float4(1, -1, 2, -2); return v > 0 ? v : -v * 10;"), 1, 10, 2, 20);
    EXPECT_PIXEL(evaluate("float3 v = float3(0, 0, 0); return float4(any(v), all(float2(1, 2)), !true, 1 < 2 && 3 > 4);"),
                 0, 1, 0, 0);
}

TEST(CgSemantics, ControlFlow) {
    EXPECT_PIXEL(evaluate("float s = 0; for (int i = 0; i < 10; i++) { if (i == 2) continue; if (i == 5) break; s += i; }"
                          "int n = 0; while (n < 3) n++; int k = 0; do { k += 2; } while (k < 5);"
                          "return float4(s, n, k, uv.x > 2 ? 1 : 0.5);"),
                 8, 3, 6, 0.5);
}

TEST(CgSemantics, FunctionsStructsArraysAndStatics) {
    const char* prelude =
        "struct Light { float3 color; float power; };\n"
        "static const float weights[3] = { 0.25, 0.5, 0.25 };\n"
        "static const int count = 3;\n"
        "static float3 tint = normalize(float3(0, 0, 2));\n"
        "float scale(float x) { return x * 2; }\n"
        "float2 scale(float2 x) { return x * 3; }\n"
        "void split(float4 v, out float2 a, inout float b) { a = v.xy; b += v.w; }\n"
        "float total(Light l) { return l.power * (l.color.r + l.color.g + l.color.b); }\n";
    EXPECT_PIXEL(evaluate("float sum = 0; for (int i = 0; i < count; i++) sum += weights[i] * (i + 1);"
                          "Light l = { float3(1, 2, 3), 0.5 };"
                          "float2 a; float b = 1; split(float4(7, 8, 9, 10), a, b);"
                          "return float4(sum, total(l) + tint.z, scale(1.0) + scale(float2(1, 1)).y, a.y + b);",
                          prelude),
                 2.0, 4.0, 5.0, 19.0);
}

TEST(CgSemantics, EntryParametersAndGlobalUniforms) {
    CgPair pair = buildPair(
        "float4 bias;\n"
        "uniform float gain;\n"
        "float4 vsMain(float4 p : POSITION, float3 n : NORMAL, float4 c : COLOR0, out float4 col : COLOR0,"
        " out float4 nn : TEXCOORD3) : POSITION\n"
        "{ col = c; nn = float4(n, 1); return p; }\n"
        "float4 psMain(float4 col : COLOR0, float4 nn : TEXCOORD3, uniform float4 extra) : COLOR\n"
        "{ return col * gain + bias + extra + nn.z * 100; }\n");
    ASSERT_TRUE(pair) << pair.error;
    pair.setFloat("gain", 2.0f);
    pair.setFloat4("bias", 0.0f, 0.0f, 0.0f, 1.0f);
    pair.setFloat4("extra", 10.0f, 20.0f, 30.0f, 40.0f);
    EXPECT_PIXEL(pair.draw(), 110.5, 121.0, 131.5, 143.0);
}

TEST(CgSemantics, StructOutputsAndInputsCarryVaryings) {
    CgPair pair = buildPair(
        "struct V2P { float4 pos : POSITION; float2 uv : TEXCOORD0; float3 extra : TEXCOORD2; };\n"
        "V2P vsMain(float4 p : POSITION, float2 t : TEXCOORD0) { V2P o; o.pos = p; o.uv = t * 2; "
        "o.extra = float3(1, 2, 3); return o; }\n"
        "float4 psMain(V2P i) : COLOR { return float4(i.uv, i.extra.yz); }\n");
    ASSERT_TRUE(pair) << pair.error;
    EXPECT_PIXEL(pair.draw(), 1.0, 1.0, 2.0, 3.0);
}

TEST(CgSemantics, GenericAttributesReachTheirSemantics) {
    CgPair pair = buildPair(
        "void vsMain(float4 p : POSITION, float3 t : TANGENT, float3 b : BINORMAL, float2 a : ATTR3, float3 n : NORMAL,\n"
        "  out float4 pos : POSITION, out float4 o : TEXCOORD0, out float4 o2 : TEXCOORD1)\n"
        "{ pos = p; o = float4(t, b.y); o2 = float4(a, n.z, 0); }\n"
        "float4 psMain(float4 o : TEXCOORD0, float4 o2 : TEXCOORD1) : COLOR { return o + o2 * 100; }\n");
    ASSERT_TRUE(pair) << pair.error;
    ASSERT_EQ(pair.vertex.attributes.size(), 3u);
    pair.generic[14] = {1, 2, 3, 0};
    pair.generic[15] = {0, 5, 0, 0};
    pair.generic[3] = {0.25f, 0.5f, 9, 9};
    EXPECT_PIXEL(pair.draw(), 26, 52, 103, 5);
}

TEST(CgSemantics, TextureLookups) {
    CgPair pair = buildPair(fragmentProgram(
        "return tex2D(tex0, float2(0.75, 0.5)) + tex2Dproj(tex1, float4(0.5, 1.0, 0, 2)) * 10;",
        "sampler2D tex0; sampler2D tex1;"));
    ASSERT_TRUE(pair) << pair.error;
    const float two[8] = {1, 0, 0, 1, 0, 1, 0, 1};  // red | green
    const float one[4] = {0.5f, 0.5f, 0.5f, 0.5f};
    pair.setTexture("tex0", 0, 2, 1, two);
    pair.setTexture("tex1", 1, 1, 1, one);
    EXPECT_PIXEL(pair.draw(), 5, 6, 5, 6);
}

TEST(CgSemantics, ClipDiscardsTheFragment) {
    CgPair pair = buildPair(fragmentProgram("clip(uv.x - 0.75); return float4(1, 1, 1, 1);"));
    ASSERT_TRUE(pair) << pair.error;
    EXPECT_PIXEL(pair.draw(), 0, 0, 0, 0);
    CgPair kept = buildPair(fragmentProgram("clip(float2(uv.x, 1)); return float4(1, 1, 1, 1);"));
    ASSERT_TRUE(kept) << kept.error;
    EXPECT_PIXEL(kept.draw(), 1, 1, 1, 1);
}

}  // namespace
