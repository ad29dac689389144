// Values computed by translated programs on real GL, read back exactly from a
// floating-point target: the translation means what the Cg source means.
#include "CgTestUtil.h"

#include <cmath>

namespace {

// Declarations the bodies below may use.
const char* const prelude =
    "struct Light { float3 color; float power; };\n"
    "static const float weights[3] = { 0.25, 0.5, 0.25 };\n"
    "static const int count = 3;\n"
    "static float3 tint = normalize(float3(0, 0, 2));\n"
    "float scale(float x);\n"
    "float2 scale(float2 x) { return x * 3 + scale(0.5); }\n"
    "float scale(float x) { return x * 2; }\n"
    "void split(float4 v, out float2 a, inout float b) { a = v.xy; b += v.w; }\n"
    "float total(Light l) { return l.power * (l.color.r + l.color.g + l.color.b); }\n";

// A GL error raised while a test runs fails it (support/GLTest.h).
using CgSemantics = GLTest;

TEST_F(CgSemantics, ExpressionsComputeCgValues) {
    const float pi = static_cast<float>(M_PI);
    const BodyCase cases[] = {
        // Intrinsics: fmod keeps the sign of x; frac is x - floor(x); round goes half up; trunc towards zero.
        {"return float4(fmod(-3.5, 2.0), frac(-0.25), round(2.5), trunc(-1.7));", {-1.5, 0.75, 3.0, -1.0}},
        {"return float4(saturate(1.5), saturate(-2), lerp(2.0, 4.0, 0.25), rsqrt(4.0));", {1, 0, 2.5, 0.5}},
        {"return float4(atan2(1.0, -1.0), log10(1000.0), sign(-3.0), step(0.5, 0.7));", {3 * pi / 4, 3.0, -1.0, 1.0}},
        {"return lit(0.5, 0.5, 2.0);", {1.0, 0.5, 0.25, 1.0}},
        {"return lit(-0.5, 0.5, 2.0);", {1.0, 0.0, 0.0, 1.0}},
        {"return float4(smoothstep(0.0, 1.0, 0.5), clamp(5, 1, 3), max(2, 3.5), min(float2(1, 5), 2).y);",
         {0.5, 3.0, 3.5, 2.0}},
        {"float s, c; sincos(0.0, s, c); return float4(s, c, exp2(3), pow(2.0, 0.5) * pow(2.0, 0.5));",
         {0.0, 1.0, 8.0, 2.0}},
        {"return float4(dot(float3(1,2,3), float3(4,5,6)), length(float2(3,4)), "
         "distance(float2(0,0), float2(0,2)), cross(float3(1,0,0), float3(0,1,0)).z);",
         {32.0, 5.0, 2.0, 1.0}},
        {"return float4(sinh(1.0), tanh(1.0), degrees(3.14159265), radians(180));",
         {std::sinh(1.0f), std::tanh(1.0f), 180.0, pi}},
        // The helpers' vector overloads, negative values and halves included.
        {"float3 t = tanh(float3(-1.0, 0.5, 0.0)); float4 r = round(float4(2.5, 0.5, -1.6, 1.49));"
         "return float4(t.x, t.y, r.x + r.y, r.z + r.w);",
         {std::tanh(-1.0f), std::tanh(0.5f), 4.0, -1.0}},
        // Integer arithmetic is integer; the remainder is truncated.
        {"int a = 7; int b = 2; float f = a / b; int r = -7 % 3; return float4(f, r, 7 % 3, 7.5 % 2);",
         {3.0, -1.0, 1.0, 1.5}},
        {"int i = 2.75; float f = i; i += 1.5; return float4(f, i, (float)(int)3.9, (int)-3.9);", {2.0, 3.0, 3.0, -3.0}},
        // Swizzles read and write; a float4 assigned or cast to a float3 keeps x, y, z.
        {"float4 v = 0; v.zx = float2(1, 2); return v;", {2, 0, 1, 0}},
        {"float4 c = {1, 2, 3, 4}; return c.abgr;", {4, 3, 2, 1}},
        {"float s = 0.5; float3 t = s.xxx; return float4(t, s.x);", {0.5, 0.5, 0.5, 0.5}},
        {"float4 v = float4(1, 2, 3, 4); v.xy += 10; v.w *= 2; v[2] = 7; return v;", {11, 12, 7, 8}},
        {"float3 t = float4(5, 6, 7, 8); float f = t; return float4(t, f);", {5, 6, 7, 5}},
        {"return float4((float3)float4(1, 2, 3, 4), (float)2);", {1, 2, 3, 2}},
        {"return float4(float3(0.5), 1);", {0.5, 0.5, 0.5, 1}},  // one scalar fills a vector
        // Comparisons give componentwise booleans.
        {"float4 v = float4(0.2, 0.7, 0.4, 0.9); bool4 b = v > 0.5; return float4(any(b), all(b), b.y, (float)(v.x < v.y));",
         {1, 0, 1, 1}},
        {"float4 v = float4(1, -1, 2, -2); return v > 0 ? v : -v * 10;", {1, 10, 2, 20}},
        {"float3 v = float3(0, 0, 0); return float4(any(v), all(float2(1, 2)), !true, 1 < 2 && 3 > 4);", {0, 1, 0, 0}},
        // Control flow.
        {"float s = 0; for (int i = 0; i < 10; i++) { if (i == 2) continue; if (i == 5) break; s += i; }"
         "int n = 0; while (n < 3) n++; int k = 0; do { k += 2; } while (k < 5);"
         "return float4(s, n, k, uv.x > 2 ? 1 : 0.5);",
         {8, 3, 6, 0.5}},
        // Functions (overloads, a prototype, out and inout), structs, arrays and statics.
        {"float sum = 0; for (int i = 0; i < count; i++) sum += weights[i] * (i + 1);"
         "Light l = { float3(1, 2, 3), 0.5 };"
         "float2 a; float b = 1; split(float4(7, 8, 9, 10), a, b);"
         "return float4(sum, total(l) + tint.z, scale(1.0) + scale(float2(1, 1)).y, a.y + b);",
         {2.0, 4.0, 6.0, 19.0}},
    };
    for (const BodyCase& c : cases) {
        SCOPED_TRACE(c.body);
        expectPixel(evaluate(c.body, prelude), c.expected);
    }
}

}  // namespace
