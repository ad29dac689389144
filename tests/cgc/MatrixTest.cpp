// Matrices: Cg is row-major in constructors and indexing (M[i] is row i) and
// mul(M, v) treats v as a column. A uniform set row-major with transpose must
// be the same mathematical matrix inside the program.
#include "CgTestUtil.h"

namespace {

const float M[16] = {1, 2, 3, 4,      // row 0
                     5, 6, 7, 8,      // row 1
                     9, 10, 11, 12,   // row 2
                     13, 14, 15, 17}; // row 3
const float N[16] = {1, 0, 0, 0, 0, 2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4};
const float v[4] = {1, -1, 2, 0.5f};

std::array<float, 4> timesColumn(const float* m, const float* x) {
    std::array<float, 4> r{};
    for (int i = 0; i < 4; ++i) r[i] = m[i * 4] * x[0] + m[i * 4 + 1] * x[1] + m[i * 4 + 2] * x[2] + m[i * 4 + 3] * x[3];
    return r;
}

std::array<float, 4> rowTimes(const float* x, const float* m) {
    std::array<float, 4> r{};
    for (int j = 0; j < 4; ++j) r[j] = x[0] * m[j] + x[1] * m[4 + j] + x[2] * m[8 + j] + x[3] * m[12 + j];
    return r;
}

// A GL error raised while a test runs fails it (support/GLTest.h).
using CgMatrices = GLTest;

TEST_F(CgMatrices, ProductsIndexingAndConstructionFollowCgOrder) {
    const std::array<float, 4> Mv = timesColumn(M, v), vM = rowTimes(v, M), MNv = timesColumn(M, timesColumn(N, v).data());
    const std::string B = "float4x4 B = float4x4(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17);\n";
    const BodyCase cases[] = {
        {"return mul(M, V);", Mv},
        {"return mul(V, M);", vM},
        {"return mul(transpose(M), V);", vM},
        {"return mul(mul(M, N), V);", MNv},
        // The same matrix built in the program multiplies like the uniform.
        {B + "return mul(B, V);", Mv},
        {B + "return mul(mul(B, N), V);", MNv},
        {"float4x4 B = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17}; return mul(B, V);", Mv},
        {"return M[1];", {5, 6, 7, 8}},
        {"return float4(M[2][3], M._m01, M._34, M[3].w);", {12, 2, 12, 17}},
        {"float2 d = M._m00_m11; float4x4 c = M; c[0] = float4(0, 0, 0, 1); c[3][0] = 50;"
         "return float4(d, c[0].w, c._m30);",
         {1, 6, 1, 50}},
        {"float3x3 R = float3x3(float3(1, 2, 3), float3(4, 5, 6), float3(7, 8, 10));"
         "return float4(mul(R, float3(1, 0, 0)), determinant(R));",
         {1, 4, 7, -3}},
        // (float3x3)M keeps the upper-left 3x3 of the rows.
        {"float3x3 R = (float3x3)M; return float4(mul(R, float3(0, 1, 0)), R[2].z);", {2, 6, 10, 11}},
        // Non-square: a float3x4 times a float4 gives a float3.
        {"float3x4 P = float3x4(1, 0, 0, 1,  0, 1, 0, 2,  0, 0, 1, 3);"
         "return float4(mul(P, float4(1, 1, 1, 1)), mul(float3(1, 1, 1), P).w);",
         {2, 3, 4, 6}},
        // Scalar and componentwise products.
        {"float4x4 S = M * 2; float4x4 C = M * M; return float4(S[0][1], C[1][1], (M / 2)[3][3], mul(2, M)[0][0]);",
         {4, 36, 8.5, 2}},
    };
    for (const BodyCase& c : cases) {
        SCOPED_TRACE(c.body);
        CgPair pair = buildPair(fragmentProgram(c.body, "float4x4 M; float4x4 N;\n#define V float4(1, -1, 2, 0.5)\n"));
        ASSERT_TRUE(pair) << pair.error;
        pair.setMatrixRowMajor("M", M);
        pair.setMatrixRowMajor("N", N);
        expectPixel(pair.draw(), c.expected, 1e-3);
    }
}

}  // namespace
