// Intrinsic table and the GLSL helpers that stand in for Cg intrinsics
// GLSL 1.20 lacks or defines differently.
#include "kestrane/cg/compiler/Intrinsics.h"

#include <iterator>

namespace Kestrane::CgCompiler {

namespace {

using K = IntrinsicKind;

const IntrinsicInfo table[] = {
    {"abs", K::Componentwise, 1, "abs"},
    {"sign", K::Componentwise, 1, "sign"},
    {"floor", K::Componentwise, 1, "floor"},
    {"ceil", K::Componentwise, 1, "ceil"},
    {"frac", K::Componentwise, 1, "fract"},
    {"sqrt", K::Componentwise, 1, "sqrt"},
    {"rsqrt", K::Componentwise, 1, "inversesqrt"},
    {"exp", K::Componentwise, 1, "exp"},
    {"exp2", K::Componentwise, 1, "exp2"},
    {"log", K::Componentwise, 1, "log"},
    {"log2", K::Componentwise, 1, "log2"},
    {"log10", K::Componentwise, 1, "kc_log10"},
    {"sin", K::Componentwise, 1, "sin"},
    {"cos", K::Componentwise, 1, "cos"},
    {"tan", K::Componentwise, 1, "tan"},
    {"asin", K::Componentwise, 1, "asin"},
    {"acos", K::Componentwise, 1, "acos"},
    {"atan", K::Componentwise, 1, "atan"},
    {"sinh", K::Componentwise, 1, "kc_sinh"},
    {"cosh", K::Componentwise, 1, "kc_cosh"},
    {"tanh", K::Componentwise, 1, "kc_tanh"},
    {"degrees", K::Componentwise, 1, "degrees"},
    {"radians", K::Componentwise, 1, "radians"},
    {"saturate", K::Componentwise, 1, "kc_saturate"},
    {"round", K::Componentwise, 1, "kc_round"},
    {"trunc", K::Componentwise, 1, "kc_trunc"},
    {"ddx", K::Componentwise, 1, "dFdx", true},
    {"ddy", K::Componentwise, 1, "dFdy", true},
    {"fwidth", K::Componentwise, 1, "fwidth", true},
    {"pow", K::Componentwise, 2, "pow"},
    {"fmod", K::Componentwise, 2, "kc_fmod"},
    {"atan2", K::Componentwise, 2, "atan"},
    {"min", K::Componentwise, 2, "min"},
    {"max", K::Componentwise, 2, "max"},
    {"step", K::Componentwise, 2, "step"},
    {"lerp", K::Componentwise, 3, "mix"},
    {"clamp", K::Componentwise, 3, "clamp"},
    {"smoothstep", K::Componentwise, 3, "smoothstep"},
    {"dot", K::Dot, 2, "dot"},
    {"cross", K::Cross, 2, "cross"},
    {"length", K::Length, 1, "length"},
    {"distance", K::Distance, 2, "distance"},
    {"normalize", K::Normalize, 1, "normalize"},
    {"reflect", K::Reflect, 2, "reflect"},
    {"refract", K::Refract, 3, "refract"},
    {"faceforward", K::FaceForward, 3, "faceforward"},
    {"mul", K::Mul, 2, ""},
    {"lit", K::Lit, 3, "kc_lit"},
    {"clip", K::Clip, 1, "kc_clip", true},
    {"any", K::AnyAll, 1, "any"},
    {"all", K::AnyAll, 1, "all"},
    {"determinant", K::Determinant, 1, "kc_determinant"},
    {"transpose", K::Transpose, 1, "transpose"},
    {"sincos", K::SinCos, 3, "kc_sincos"},
    {"modf", K::Modf, 2, "kc_modf"},
    {"tex1D", K::Texture, -1, "", false, 0, 1, TexPlain},
    {"tex1Dproj", K::Texture, -1, "", false, 0, 1, TexProj},
    {"tex1Dbias", K::Texture, -1, "", true, 0, 1, TexBias},
    {"tex1Dlod", K::Texture, -1, "", false, 0, 1, TexLod},
    {"tex2D", K::Texture, -1, "", false, 1, 2, TexPlain},
    {"tex2Dproj", K::Texture, -1, "", false, 1, 2, TexProj},
    {"tex2Dbias", K::Texture, -1, "", true, 1, 2, TexBias},
    {"tex2Dlod", K::Texture, -1, "", false, 1, 2, TexLod},
    {"tex3D", K::Texture, -1, "", false, 2, 3, TexPlain},
    {"tex3Dproj", K::Texture, -1, "", false, 2, 3, TexProj},
    {"tex3Dbias", K::Texture, -1, "", true, 2, 3, TexBias},
    {"tex3Dlod", K::Texture, -1, "", false, 2, 3, TexLod},
    {"texCUBE", K::Texture, -1, "", false, 3, 3, TexPlain},
    {"texCUBEproj", K::Texture, -1, "", false, 3, 3, TexProj},
    {"texCUBEbias", K::Texture, -1, "", true, 3, 3, TexBias},
    {"texCUBElod", K::Texture, -1, "", false, 3, 3, TexLod},
    {"texRECT", K::Texture, -1, "", false, 4, 2, TexPlain},
    {"texRECTproj", K::Texture, -1, "", false, 4, 2, TexProj},
    {"texRECTbias", K::Texture, -1, "", true, 4, 2, TexBias},
    {"texRECTlod", K::Texture, -1, "", false, 4, 2, TexLod},
    {"tex1Dfetch", K::Texture, -1, "", false, 0, 1, TexFetch},
    {"tex2Dfetch", K::Texture, -1, "", false, 1, 2, TexFetch},
    {"tex3Dfetch", K::Texture, -1, "", false, 2, 3, TexFetch},
    {"texRECTfetch", K::Texture, -1, "", false, 4, 2, TexFetch},
    {"tex1Dsize", K::Texture, -1, "", false, 0, 1, TexSize},
    {"tex2Dsize", K::Texture, -1, "", false, 1, 2, TexSize},
    {"tex3Dsize", K::Texture, -1, "", false, 2, 3, TexSize},
    {"texCUBEsize", K::Texture, -1, "", false, 3, 3, TexSize},
    {"texRECTsize", K::Texture, -1, "", false, 4, 2, TexSize},
};

struct Helper {
    std::string_view name;
    std::string_view source;
};

const Helper helpers[] = {
    {"kc_log10",
     "float kc_log10(float x) { return log2(x) * 0.30102999566398120; }\n"
     "vec2 kc_log10(vec2 x) { return log2(x) * 0.30102999566398120; }\n"
     "vec3 kc_log10(vec3 x) { return log2(x) * 0.30102999566398120; }\n"
     "vec4 kc_log10(vec4 x) { return log2(x) * 0.30102999566398120; }\n"},
    {"kc_sinh",
     "float kc_sinh(float x) { return 0.5 * (exp(x) - exp(-x)); }\n"
     "vec2 kc_sinh(vec2 x) { return 0.5 * (exp(x) - exp(-x)); }\n"
     "vec3 kc_sinh(vec3 x) { return 0.5 * (exp(x) - exp(-x)); }\n"
     "vec4 kc_sinh(vec4 x) { return 0.5 * (exp(x) - exp(-x)); }\n"},
    {"kc_cosh",
     "float kc_cosh(float x) { return 0.5 * (exp(x) + exp(-x)); }\n"
     "vec2 kc_cosh(vec2 x) { return 0.5 * (exp(x) + exp(-x)); }\n"
     "vec3 kc_cosh(vec3 x) { return 0.5 * (exp(x) + exp(-x)); }\n"
     "vec4 kc_cosh(vec4 x) { return 0.5 * (exp(x) + exp(-x)); }\n"},
    {"kc_tanh",
     "float kc_tanh(float x) { float e = exp(-2.0 * abs(x)); return sign(x) * (1.0 - e) / (1.0 + e); }\n"
     "vec2 kc_tanh(vec2 x) { vec2 e = exp(-2.0 * abs(x)); return sign(x) * (1.0 - e) / (1.0 + e); }\n"
     "vec3 kc_tanh(vec3 x) { vec3 e = exp(-2.0 * abs(x)); return sign(x) * (1.0 - e) / (1.0 + e); }\n"
     "vec4 kc_tanh(vec4 x) { vec4 e = exp(-2.0 * abs(x)); return sign(x) * (1.0 - e) / (1.0 + e); }\n"},
    {"kc_saturate",
     "float kc_saturate(float x) { return clamp(x, 0.0, 1.0); }\n"
     "vec2 kc_saturate(vec2 x) { return clamp(x, 0.0, 1.0); }\n"
     "vec3 kc_saturate(vec3 x) { return clamp(x, 0.0, 1.0); }\n"
     "vec4 kc_saturate(vec4 x) { return clamp(x, 0.0, 1.0); }\n"},
    {"kc_round",
     "float kc_round(float x) { return floor(x + 0.5); }\n"
     "vec2 kc_round(vec2 x) { return floor(x + 0.5); }\n"
     "vec3 kc_round(vec3 x) { return floor(x + 0.5); }\n"
     "vec4 kc_round(vec4 x) { return floor(x + 0.5); }\n"},
    {"kc_trunc",
     "float kc_trunc(float x) { return sign(x) * floor(abs(x)); }\n"
     "vec2 kc_trunc(vec2 x) { return sign(x) * floor(abs(x)); }\n"
     "vec3 kc_trunc(vec3 x) { return sign(x) * floor(abs(x)); }\n"
     "vec4 kc_trunc(vec4 x) { return sign(x) * floor(abs(x)); }\n"},
    // Cg's fmod keeps the sign of x (C semantics); GLSL's mod follows y.
    {"kc_fmod",
     "float kc_fmod(float x, float y) { float q = x / y; return x - y * (sign(q) * floor(abs(q))); }\n"
     "vec2 kc_fmod(vec2 x, vec2 y) { vec2 q = x / y; return x - y * (sign(q) * floor(abs(q))); }\n"
     "vec3 kc_fmod(vec3 x, vec3 y) { vec3 q = x / y; return x - y * (sign(q) * floor(abs(q))); }\n"
     "vec4 kc_fmod(vec4 x, vec4 y) { vec4 q = x / y; return x - y * (sign(q) * floor(abs(q))); }\n"},
    // Integer remainder with C semantics (GLSL 1.20 has no '%').
    {"kc_imod",
     "int kc_imod(int x, int y) { return x - y * (x / y); }\n"
     "ivec2 kc_imod(ivec2 x, ivec2 y) { return x - y * (x / y); }\n"
     "ivec3 kc_imod(ivec3 x, ivec3 y) { return x - y * (x / y); }\n"
     "ivec4 kc_imod(ivec4 x, ivec4 y) { return x - y * (x / y); }\n"},
    // Component-wise && and || of Cg vectors (GLSL's take scalars only).
    {"kc_and",
     "bvec2 kc_and(bvec2 a, bvec2 b) { return bvec2(a.x && b.x, a.y && b.y); }\n"
     "bvec3 kc_and(bvec3 a, bvec3 b) { return bvec3(a.x && b.x, a.y && b.y, a.z && b.z); }\n"
     "bvec4 kc_and(bvec4 a, bvec4 b) { return bvec4(a.x && b.x, a.y && b.y, a.z && b.z, a.w && b.w); }\n"},
    {"kc_or",
     "bvec2 kc_or(bvec2 a, bvec2 b) { return bvec2(a.x || b.x, a.y || b.y); }\n"
     "bvec3 kc_or(bvec3 a, bvec3 b) { return bvec3(a.x || b.x, a.y || b.y, a.z || b.z); }\n"
     "bvec4 kc_or(bvec4 a, bvec4 b) { return bvec4(a.x || b.x, a.y || b.y, a.z || b.z, a.w || b.w); }\n"},
    // Component-wise ?: with a vector condition.
    {"kc_select",
     "vec2 kc_select(bvec2 c, vec2 a, vec2 b) { return vec2(c.x ? a.x : b.x, c.y ? a.y : b.y); }\n"
     "vec3 kc_select(bvec3 c, vec3 a, vec3 b) { return vec3(c.x ? a.x : b.x, c.y ? a.y : b.y, c.z ? a.z : b.z); }\n"
     "vec4 kc_select(bvec4 c, vec4 a, vec4 b) { return vec4(c.x ? a.x : b.x, c.y ? a.y : b.y, c.z ? a.z : b.z, c.w ? a.w : b.w); }\n"
     "ivec2 kc_select(bvec2 c, ivec2 a, ivec2 b) { return ivec2(c.x ? a.x : b.x, c.y ? a.y : b.y); }\n"
     "ivec3 kc_select(bvec3 c, ivec3 a, ivec3 b) { return ivec3(c.x ? a.x : b.x, c.y ? a.y : b.y, c.z ? a.z : b.z); }\n"
     "ivec4 kc_select(bvec4 c, ivec4 a, ivec4 b) { return ivec4(c.x ? a.x : b.x, c.y ? a.y : b.y, c.z ? a.z : b.z, c.w ? a.w : b.w); }\n"
     "bvec2 kc_select(bvec2 c, bvec2 a, bvec2 b) { return bvec2(c.x ? a.x : b.x, c.y ? a.y : b.y); }\n"
     "bvec3 kc_select(bvec3 c, bvec3 a, bvec3 b) { return bvec3(c.x ? a.x : b.x, c.y ? a.y : b.y, c.z ? a.z : b.z); }\n"
     "bvec4 kc_select(bvec4 c, bvec4 a, bvec4 b) { return bvec4(c.x ? a.x : b.x, c.y ? a.y : b.y, c.z ? a.z : b.z, c.w ? a.w : b.w); }\n"},
    {"kc_lit",
     "vec4 kc_lit(float nDotL, float nDotH, float m) {\n"
     "    float specular = (nDotL < 0.0 || nDotH < 0.0) ? 0.0 : pow(nDotH, m);\n"
     "    return vec4(1.0, max(nDotL, 0.0), specular, 1.0);\n"
     "}\n"},
    {"kc_clip",
     "void kc_clip(float x) { if (x < 0.0) discard; }\n"
     "void kc_clip(vec2 x) { if (any(lessThan(x, vec2(0.0)))) discard; }\n"
     "void kc_clip(vec3 x) { if (any(lessThan(x, vec3(0.0)))) discard; }\n"
     "void kc_clip(vec4 x) { if (any(lessThan(x, vec4(0.0)))) discard; }\n"},
    {"kc_sincos",
     "void kc_sincos(float x, out float s, out float c) { s = sin(x); c = cos(x); }\n"
     "void kc_sincos(vec2 x, out vec2 s, out vec2 c) { s = sin(x); c = cos(x); }\n"
     "void kc_sincos(vec3 x, out vec3 s, out vec3 c) { s = sin(x); c = cos(x); }\n"
     "void kc_sincos(vec4 x, out vec4 s, out vec4 c) { s = sin(x); c = cos(x); }\n"},
    // Bitwise operators on 32-bit two's complement ints, one bit at a time:
    // the sign bit apart, the 31 bits below it as a non-negative number.
    {"kc_bitwise",
     "int kc_bits(int a, int b, int op) {\n"
     "    bool sa = a < 0, sb = b < 0;\n"
     "    int x = sa ? (a + 2147483647) + 1 : a, y = sb ? (b + 2147483647) + 1 : b;\n"
     "    int r = 0, bit = 1;\n"
     "    for (int i = 0; i < 31; ++i) {\n"
     "        int p = x - (x / 2) * 2, q = y - (y / 2) * 2;\n"
     "        r += (op == 0 ? p * q : op == 1 ? p + q - p * q : p + q - 2 * p * q) * bit;\n"
     "        x /= 2; y /= 2;\n"
     "        if (i < 30) bit *= 2;\n"
     "    }\n"
     "    bool s = op == 0 ? sa && sb : op == 1 ? sa || sb : sa != sb;\n"
     "    return s ? (r - 2147483647) - 1 : r;\n"
     "}\n"
     "int kc_shl(int a, int n) { for (int i = 0; i < 31; ++i) { if (i >= n) break; a *= 2; } return a; }\n"
     "int kc_shr(int a, int n) {\n"
     "    for (int i = 0; i < 31; ++i) { if (i >= n) break; a = a >= 0 ? a / 2 : -((1 - a) / 2); }\n"
     "    return a;\n"
     "}\n"
     "int kc_bitand(int a, int b) { return kc_bits(a, b, 0); }\n"
     "ivec2 kc_bitand(ivec2 a, ivec2 b) { return ivec2(kc_bits(a.x, b.x, 0), kc_bits(a.y, b.y, 0)); }\n"
     "ivec3 kc_bitand(ivec3 a, ivec3 b) { return ivec3(kc_bits(a.x, b.x, 0), kc_bits(a.y, b.y, 0), kc_bits(a.z, b.z, 0)); }\n"
     "ivec4 kc_bitand(ivec4 a, ivec4 b) { return ivec4(kc_bits(a.x, b.x, 0), kc_bits(a.y, b.y, 0), kc_bits(a.z, b.z, 0), kc_bits(a.w, b.w, 0)); }\n"
     "int kc_bitor(int a, int b) { return kc_bits(a, b, 1); }\n"
     "ivec2 kc_bitor(ivec2 a, ivec2 b) { return ivec2(kc_bits(a.x, b.x, 1), kc_bits(a.y, b.y, 1)); }\n"
     "ivec3 kc_bitor(ivec3 a, ivec3 b) { return ivec3(kc_bits(a.x, b.x, 1), kc_bits(a.y, b.y, 1), kc_bits(a.z, b.z, 1)); }\n"
     "ivec4 kc_bitor(ivec4 a, ivec4 b) { return ivec4(kc_bits(a.x, b.x, 1), kc_bits(a.y, b.y, 1), kc_bits(a.z, b.z, 1), kc_bits(a.w, b.w, 1)); }\n"
     "int kc_bitxor(int a, int b) { return kc_bits(a, b, 2); }\n"
     "ivec2 kc_bitxor(ivec2 a, ivec2 b) { return ivec2(kc_bits(a.x, b.x, 2), kc_bits(a.y, b.y, 2)); }\n"
     "ivec3 kc_bitxor(ivec3 a, ivec3 b) { return ivec3(kc_bits(a.x, b.x, 2), kc_bits(a.y, b.y, 2), kc_bits(a.z, b.z, 2)); }\n"
     "ivec4 kc_bitxor(ivec4 a, ivec4 b) { return ivec4(kc_bits(a.x, b.x, 2), kc_bits(a.y, b.y, 2), kc_bits(a.z, b.z, 2), kc_bits(a.w, b.w, 2)); }\n"
     "ivec2 kc_shl(ivec2 a, ivec2 b) { return ivec2(kc_shl(a.x, b.x), kc_shl(a.y, b.y)); }\n"
     "ivec2 kc_shl(ivec2 a, int b) { return ivec2(kc_shl(a.x, b), kc_shl(a.y, b)); }\n"
     "ivec3 kc_shl(ivec3 a, ivec3 b) { return ivec3(kc_shl(a.x, b.x), kc_shl(a.y, b.y), kc_shl(a.z, b.z)); }\n"
     "ivec3 kc_shl(ivec3 a, int b) { return ivec3(kc_shl(a.x, b), kc_shl(a.y, b), kc_shl(a.z, b)); }\n"
     "ivec4 kc_shl(ivec4 a, ivec4 b) { return ivec4(kc_shl(a.x, b.x), kc_shl(a.y, b.y), kc_shl(a.z, b.z), kc_shl(a.w, b.w)); }\n"
     "ivec4 kc_shl(ivec4 a, int b) { return ivec4(kc_shl(a.x, b), kc_shl(a.y, b), kc_shl(a.z, b), kc_shl(a.w, b)); }\n"
     "ivec2 kc_shr(ivec2 a, ivec2 b) { return ivec2(kc_shr(a.x, b.x), kc_shr(a.y, b.y)); }\n"
     "ivec2 kc_shr(ivec2 a, int b) { return ivec2(kc_shr(a.x, b), kc_shr(a.y, b)); }\n"
     "ivec3 kc_shr(ivec3 a, ivec3 b) { return ivec3(kc_shr(a.x, b.x), kc_shr(a.y, b.y), kc_shr(a.z, b.z)); }\n"
     "ivec3 kc_shr(ivec3 a, int b) { return ivec3(kc_shr(a.x, b), kc_shr(a.y, b), kc_shr(a.z, b)); }\n"
     "ivec4 kc_shr(ivec4 a, ivec4 b) { return ivec4(kc_shr(a.x, b.x), kc_shr(a.y, b.y), kc_shr(a.z, b.z), kc_shr(a.w, b.w)); }\n"
     "ivec4 kc_shr(ivec4 a, int b) { return ivec4(kc_shr(a.x, b), kc_shr(a.y, b), kc_shr(a.z, b), kc_shr(a.w, b)); }\n"},
    // modf(x, out i): i is x truncated toward zero; the result keeps x's sign.
    {"kc_modf",
     "float kc_modf(float x, out float i) { i = sign(x) * floor(abs(x)); return x - i; }\n"
     "vec2 kc_modf(vec2 x, out vec2 i) { i = sign(x) * floor(abs(x)); return x - i; }\n"
     "vec3 kc_modf(vec3 x, out vec3 i) { i = sign(x) * floor(abs(x)); return x - i; }\n"
     "vec4 kc_modf(vec4 x, out vec4 i) { i = sign(x) * floor(abs(x)); return x - i; }\n"},
    // The determinant does not depend on the transposed storage of matrices.
    {"kc_determinant",
     "float kc_determinant(mat2 m) { return m[0][0] * m[1][1] - m[0][1] * m[1][0]; }\n"
     "float kc_determinant(mat3 m) {\n"
     "    return dot(m[0], cross(m[1], m[2]));\n"
     "}\n"
     "float kc_determinant(mat4 m) {\n"
     "    float s0 = m[0][0] * m[1][1] - m[1][0] * m[0][1];\n"
     "    float s1 = m[0][0] * m[1][2] - m[1][0] * m[0][2];\n"
     "    float s2 = m[0][0] * m[1][3] - m[1][0] * m[0][3];\n"
     "    float s3 = m[0][1] * m[1][2] - m[1][1] * m[0][2];\n"
     "    float s4 = m[0][1] * m[1][3] - m[1][1] * m[0][3];\n"
     "    float s5 = m[0][2] * m[1][3] - m[1][2] * m[0][3];\n"
     "    float c5 = m[2][2] * m[3][3] - m[3][2] * m[2][3];\n"
     "    float c4 = m[2][1] * m[3][3] - m[3][1] * m[2][3];\n"
     "    float c3 = m[2][1] * m[3][2] - m[3][1] * m[2][2];\n"
     "    float c2 = m[2][0] * m[3][3] - m[3][0] * m[2][3];\n"
     "    float c1 = m[2][0] * m[3][2] - m[3][0] * m[2][2];\n"
     "    float c0 = m[2][0] * m[3][1] - m[3][0] * m[2][1];\n"
     "    return s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;\n"
     "}\n"},
};

}  // namespace

const IntrinsicInfo* findIntrinsic(std::string_view name) {
    for (const IntrinsicInfo& info : table)
        if (name == info.name) return &info;
    return nullptr;
}

const IntrinsicInfo& intrinsicAt(int index) { return table[index]; }

int intrinsicIndex(const IntrinsicInfo& info) { return static_cast<int>(&info - table); }

std::string_view helperSource(std::string_view helper) {
    for (const Helper& h : helpers)
        if (h.name == helper) return h.source;
    return {};
}

}  // namespace Kestrane::CgCompiler
