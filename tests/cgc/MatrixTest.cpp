// Matrices: Cg is row-major in constructors and indexing (M[i] is row i) and
// mul(M, v) treats v as a column. A uniform set row-major with transpose must
// be the same mathematical matrix inside the program.
#include "CgTestUtil.h"

namespace {

const float M[16] = {1, 2, 3, 4,      // row 0
                     5, 6, 7, 8,      // row 1
                     9, 10, 11, 12,   // row 2
                     13, 14, 15, 17}; // row 3
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

std::array<float, 4> renderWithM(const std::string& body) {
    CgPair pair = buildPair(fragmentProgram(body, "float4x4 M; float4x4 N;"));
    EXPECT_TRUE(pair) << pair.error;
    pair.setMatrixRowMajor("M", M);
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    pair.setMatrixRowMajor("N", identity);
    return pair.draw();
}

#define EXPECT_ARRAY(actual, expected)                                           \
    do {                                                                         \
        auto a_ = (actual);                                                      \
        auto e_ = (expected);                                                    \
        for (int k_ = 0; k_ < 4; ++k_) EXPECT_NEAR(a_[k_], e_[k_], 1e-3) << k_; \
    } while (0)

TEST(CgMatrices, UniformMatrixProductsFollowCgOrder) {
    EXPECT_ARRAY(renderWithM("return mul(M, float4(1, -1, 2, 0.5));"), timesColumn(M, v));
    EXPECT_ARRAY(renderWithM("return mul(float4(1, -1, 2, 0.5), M);"), rowTimes(v, M));
    EXPECT_ARRAY(renderWithM("return mul(mul(M, N), float4(1, -1, 2, 0.5));"), timesColumn(M, v));
    EXPECT_ARRAY(renderWithM("float4x4 t = transpose(M); return mul(t, float4(1, -1, 2, 0.5));"), rowTimes(v, M));
}

TEST(CgMatrices, IndexingAndSwizzlesReadRows) {
    EXPECT_PIXEL(renderWithM("return M[1];"), 5, 6, 7, 8);
    EXPECT_PIXEL(renderWithM("return float4(M[2][3], M._m01, M._34, M[3].w);"), 12, 2, 12, 17);
    EXPECT_PIXEL(renderWithM("float2 d = M._m00_m11; float4x4 c = M; c[0] = float4(0, 0, 0, 1); "
                             "c[3][0] = 50; return float4(d, c[0].w, c._m30);"),
                 1, 6, 1, 50);
}

TEST(CgMatrices, ConstructedMatricesAreRowMajor) {
    // The same matrix built in the program must multiply like the uniform.
    const char* build =
        "float4x4 B = float4x4(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17);\n";
    EXPECT_ARRAY(evaluate(std::string(build) + "return mul(B, float4(1, -1, 2, 0.5));"), timesColumn(M, v));
    EXPECT_ARRAY(evaluate(std::string(build) + "return mul(float4(1, -1, 2, 0.5), B);"), rowTimes(v, M));
    EXPECT_PIXEL(evaluate(std::string(build) + "return B[1];"), 5, 6, 7, 8);
    EXPECT_PIXEL(evaluate("float3x3 R = float3x3(float3(1, 2, 3), float3(4, 5, 6), float3(7, 8, 10));"
                          "return float4(mul(R, float3(1, 0, 0)), determinant(R));"),
                 1, 4, 7, -3);
    EXPECT_ARRAY(renderWithM("float4x4 B = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17};"
                             "return mul(M, float4(1, -1, 2, 0.5)) - mul(B, float4(1, -1, 2, 0.5));"),
                 (std::array<float, 4>{0, 0, 0, 0}));
}

TEST(CgMatrices, MixedProductsAndTruncation) {
    // mul(B, M) with B constructed and M uniform equals M*M when B == M.
    std::array<float, 4> mv = timesColumn(M, v);
    std::array<float, 4> mmv = timesColumn(M, mv.data());
    EXPECT_ARRAY(renderWithM("float4x4 B = float4x4(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17);"
                             "return mul(mul(B, M), float4(1, -1, 2, 0.5));"),
                 mmv);
    EXPECT_ARRAY(renderWithM("return mul(M, mul(M, float4(1, -1, 2, 0.5)));"), mmv);
    // (float3x3)M keeps the upper-left 3x3 of the rows.
    EXPECT_PIXEL(renderWithM("float3x3 R = (float3x3)M; return float4(mul(R, float3(0, 1, 0)), R[2].z);"), 2, 6, 10, 11);
    // Non-square: a float3x4 times a float4 gives a float3.
    EXPECT_PIXEL(evaluate("float3x4 P = float3x4(1, 0, 0, 1,  0, 1, 0, 2,  0, 0, 1, 3);"
                          "return float4(mul(P, float4(1, 1, 1, 1)), mul(float3(1, 1, 1), P).w);"),
                 2, 3, 4, 6);
    // Scalar and componentwise products.
    EXPECT_PIXEL(renderWithM("float4x4 S = M * 2; float4x4 C = M * M; return float4(S[0][1], C[1][1], (M / 2)[3][3], mul(2, M)[0][0]);"),
                 4, 36, 8.5, 2);
}

}  // namespace
