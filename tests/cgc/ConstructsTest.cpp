// One case per remaining construct of the subset: each compiles in Cg and its
// GLSL compiles on the GL driver (the semantics tests check values).
#include "CgTestUtil.h"

using namespace Kestrane::CgCompiler;

namespace {

void expectGlsl(const std::string& source, Stage stage) {
    Result r = compile(source, stage, stage == Stage::Vertex ? "vsMain" : "psMain", stage == Stage::Vertex ? "vp_" : "fp_");
    ASSERT_TRUE(r.ok) << r.listing;
    EXPECT_EQ(checkGlsl(r, stage), "") << source;
}

TEST(CgConstructs, UniformDeclarationsOfEveryShape) {
    expectGlsl("float2 offsets[4] = { {-1, 0}, {1, 0}, {0, -1}, {0, 1} };\n"
               "float4x4 bones[3];\n"
               "bool enabled;\n"
               "int3 counts;\n"
               "half4 tint = half4(1, 1, 1, 1);\n"
               "fixed gain = 0.5;\n"
               "float3x3 basis;\n"
               "float4 vsMain(float4 p : POSITION, float4 w : BLENDWEIGHT, float idx : BLENDINDICES) : POSITION {\n"
               "  float4 q = mul(bones[(int)idx], p) * w.x + mul(p, bones[1]) * w.y;\n"
               "  q.xyz += mul(basis, p.xyz) + offsets[counts.y].xxy;\n"
               "  return enabled ? q * tint * gain : p;\n}\n",
               Stage::Vertex);
}

TEST(CgConstructs, TextureLookupsOfEverySampler) {
    expectGlsl("sampler1D ramp; sampler2D tex; sampler3D volume; samplerCUBE env;\n"
               "float4 psMain(float4 uv : TEXCOORD0, float3 n : TEXCOORD1) : COLOR {\n"
               "  return tex1D(ramp, uv.x) + tex1Dproj(ramp, uv.xw) + tex2D(tex, uv.xy) + tex2Dproj(tex, uv)\n"
               "       + tex2Dproj(tex, uv.xyw) + tex2Dbias(tex, uv) + tex2Dlod(tex, uv) + tex3D(volume, uv.xyz)\n"
               "       + tex3Dproj(volume, uv) + texCUBE(env, n) + texCUBEbias(env, uv) + texCUBElod(env, uv);\n}\n",
               Stage::Fragment);
    expectGlsl("sampler2D heights;\n"
               "float4 vsMain(float4 p : POSITION, float2 uv : TEXCOORD0) : POSITION {\n"
               "  return p + tex2Dlod(heights, float4(uv, 0, 0)).x;\n}\n",
               Stage::Vertex);
}

TEST(CgConstructs, DerivativesAndFragmentOnlyIntrinsics) {
    expectGlsl("float4 psMain(float2 uv : TEXCOORD0, float face : FACE, float fog : FOG) : COLOR {\n"
               "  float2 d = ddx(uv) + ddy(uv) + fwidth(uv);\n"
               "  if (d.x > 100) discard;\n"
               "  clip(uv - 0.1);\n"
               "  return float4(d, face, fog);\n}\n",
               Stage::Fragment);
}

TEST(CgConstructs, VertexOutputsOfEveryKind) {
    expectGlsl("void vsMain(float4 p : POSITION, float4 c : COLOR0, float4 s : COLOR1, float fog : FOGCOORD,\n"
               "  out float4 pos : POSITION, out float4 col : COLOR0, out float3 second : COLOR1,\n"
               "  out float4 back : BCOL0, out float size : PSIZE, out float f : FOG, out float2 t7 : TEXCOORD7,\n"
               "  out float z : TEXCOORD6) {\n"
               "  pos = p; col = c; second = s.rgb; back = c.bgra; size = 2; f = fog; t7 = p.xy; z = p.z;\n}\n",
               Stage::Vertex);
}

TEST(CgConstructs, StatementsAndExpressions) {
    expectGlsl("struct Pair { float2 a; float b[2]; };\n"
               "struct Outer { Pair p; float4 c : COLOR0; };\n"
               "static const Pair zero = { float2(0, 0), { 0, 0 } };\n"
               "static int calls = 0;\n"
               "float bump(inout int n) { n++; return n; }\n"
               "float4 psMain(float4 c : COLOR0) : COLOR {\n"
               "  Outer o; o.c = c; o.p.a = c.xy;\n"
               "  Pair p = zero; p.b[1] = 3; float1 single = 2;\n"
               "  int i, j = 2; int2 iv = int2(1, 2); bool3 bv = bool3(true, false, true);\n"
               "  for (i = 0, j = 0; i < 4; i++, j += 2) { if (i == 1) continue; else if (i == 3) break; }\n"
               "  while (j > 0) { j -= 3; }\n"
               "  float x = bump(calls) + (iv.y > 1 ? 2.0 : 3.0) + (bv.x ? 1 : 0);\n"
               "  x += -x * 2 + !bv.y; x = x++ + --x;\n"
               "  float4x4 m = float4x4(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);\n"
               "  m._m01 = 2; m[2] = m[1].wzyx; m[3].xy = float2(4, 5); m[0][0] *= determinant(m);\n"
               "  float3x3 r = (float3x3)m; r = r * r + 1; r = transpose(r);\n"
               "  Pair q = p.a.x > 0 ? p : zero;\n"
               "  return o.c + float4(p.b[1], single, x, q.a.y) + m._11_22_33_44 + r[0].xyzx;\n}\n",
               Stage::Fragment);
}

TEST(CgConstructs, EntryInOutParametersAndUniformParameters) {
    expectGlsl("float4 vsMain(inout float4 c : COLOR0, inout float2 uv : TEXCOORD0, float4 p : POSITION,\n"
               "  uniform float4x4 ModelViewProj, uniform float4 shift) : POSITION {\n"
               "  c *= 2; uv += shift.xy; return mul(ModelViewProj, p);\n}\n",
               Stage::Vertex);
}

}  // namespace
