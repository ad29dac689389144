// Error reports: "line:column: message" with the offending source line, the
// listing, the missing entry, and GL driver messages mapped back to Cg lines.
#include "CgTestUtil.h"

using namespace Kestrane::CgCompiler;

namespace {

Result fragment(const std::string& source) { return compile(source, Stage::Fragment, "psMain", "fp_"); }
Result vertex(const std::string& source) { return compile(source, Stage::Vertex, "vsMain", "vp_"); }

// The first error of compiling source for the fragment stage.
Diagnostic firstError(const std::string& source, Stage stage = Stage::Fragment) {
    Result r = stage == Stage::Fragment ? fragment(source) : vertex(source);
    EXPECT_FALSE(r.ok) << source;
    EXPECT_TRUE(r.glsl.empty());
    return r.errors.empty() ? Diagnostic{} : r.errors[0];
}

// A GL error raised while a test runs fails it (support/GLTest.h).
using CgDiagnostics = GLTest;

TEST_F(CgDiagnostics, SyntaxErrorReportsPlaceMessageAndLine) {
    Result r = fragment("float4 psMain() : COLOR\n{\n\tfloat4 c = float4(1, 2, 3, 4)\n\treturn c;\n}\n");
    ASSERT_FALSE(r.ok);
    ASSERT_EQ(r.errors.size(), 1u);
    const Diagnostic& d = r.errors[0];
    EXPECT_EQ(d.line, 4);
    EXPECT_EQ(d.column, 2);
    EXPECT_EQ(d.message, "expected ';' but found 'return'");
    EXPECT_EQ(d.sourceLine, "\treturn c;");
    EXPECT_EQ(d.format(), "4:2: expected ';' but found 'return'\n    \treturn c;\n    \t^");
    // The listing names stage and entry, holds the message and the numbered source.
    EXPECT_NE(r.listing.find("fragment program, entry 'psMain': 1 error(s)"), std::string::npos);
    EXPECT_NE(r.listing.find("4:2: expected ';'"), std::string::npos);
    EXPECT_NE(r.listing.find("    3 | \tfloat4 c = float4(1, 2, 3, 4)"), std::string::npos) << r.listing;
}

TEST_F(CgDiagnostics, MissingEntryIsAnError) {
    Result r = vertex("float4 psMain() : COLOR { return 1; }\n");
    ASSERT_FALSE(r.ok);
    EXPECT_EQ(r.errors[0].message, "entry function 'vsMain' is not defined");
    EXPECT_NE(r.listing.find("entry function 'vsMain' is not defined"), std::string::npos);
    EXPECT_FALSE(vertex("").ok);
    EXPECT_FALSE(vertex("float4 vsMain(float4 p : POSITION) : POSITION;\n").ok);  // declared only
}

TEST_F(CgDiagnostics, TypeErrorsNameTheProblem) {
    struct Case {
        const char* body;
        const char* message;
    } cases[] = {
        {"return y;", "undeclared identifier 'y'"},
        {"float3 v = 1; return v.xyzw;", "invalid swizzle '.xyzw' of float3"},
        {"float4 v = 1; return v.xr;", "invalid swizzle '.xr' of float4"},
        {"float2 v = float3(1, 2, 3) + float2x2(1, 2, 3, 4); return 0;", "invalid operands to '+'"},
        {"float4x4 m = 0; return m;", "cannot convert float4x4 to float4"},
        {"float4x4 m; return m * float4(1, 2, 3, 4);", "invalid operands to '*': float4x4 and float4 (use mul())"},
        {"float a[3]; return a[3];", "index 3 out of range for float[3]"},
        {"float f = 1.5 & 1; return f;", "bitwise operator '&' takes int scalars or vectors, not float and int"},
        {"return tex2D(1, float2(0, 0));", "'tex2D' needs a sampler2D, not int"},
        {"return mul(float3x3(1,2,3,4,5,6,7,8,9), float2(1, 1)).xyzz;", "the vector needs 3 components"},
        {"1 = 2; return 0;", "left side of '=' cannot be assigned to"},
        {"break; return 0;", "'break' outside a loop"},
        {"return float4(1, 2, 3);", "float4 constructor takes 4 components, 3 given"},
        {"return lerp(1, 2);", "'lerp' takes 3 arguments, 2 given"},
        {"return frobnicate(1);", "unknown function 'frobnicate'"},
        {"return float4(mix(0, 1, 0.5));", "unknown function 'mix': it is not part of Cg (GLSL has it; Cg's is lerp)"},
        {"float1x2 r = 1; int i = 0; return r[i].xxyy;", "the row index of float1x2 must be the constant 0"},
        {"float x; float x; return 0;", "redefinition of 'x'"},
        {"return;", "function 'psMain' must return a float4"},
        {"sampler2D s; return 0;", "sampler variable 's' of type sampler2D is not supported"},
        {"return texCUBE(cube, float4(1, 0, 0, 0.5));", "'texCUBE' takes (samplerCUBE, float3"},
        {"return tex2DARRAY(shadowMap, float3(0, 0, 0));", "'tex2DARRAY' is not supported"},
        {"float a[2] = float[2](1, 2, 3); return a[0];", "takes 2 values, 3 given"},
        {"return (float2(1, 0) && float2x2(1, 0, 0, 1)).xyxy;", "invalid operands to '&&'"},
    };
    for (const Case& c : cases) {
        Diagnostic d = firstError(std::string("samplerCUBE cube; sampler2D shadowMap; float4 psMain() : COLOR {\n") + c.body + "\n}\n");
        EXPECT_NE(d.message.find(c.message), std::string::npos) << c.body << " -> " << d.message;
        EXPECT_EQ(d.line, 2) << c.body;
    }
}

TEST_F(CgDiagnostics, StageAndStructureErrors) {
    const std::string shared = "float4 helper(float4 v) { return ddx(v); }\n"
                               "float4 vsMain(float4 p : POSITION) : POSITION { return helper(p); }\n";
    Diagnostic d = firstError(shared, Stage::Vertex);
    EXPECT_EQ(d.message, "'ddx' is only available in fragment programs");
    EXPECT_EQ(d.line, 1);
    // A fragment-only call in a function the entry never reaches is fine, and left out.
    EXPECT_EQ(checkGlsl(vertex("float4 unused(float4 v) { return ddx(v); }\n"
                               "float4 vsMain(float4 p : POSITION) : POSITION { return p; }\n"),
                        Stage::Vertex),
              "");
    d = firstError("float f(float x) { return g(x); }\nfloat g(float x) { return f(x); }\n"
                   "float4 psMain() : COLOR { return f(1); }\n");
    EXPECT_EQ(d.message, "recursive call of 'f' is not supported");
    d = firstError("float f(float x);\nfloat f(float x) { return f(x); }\nfloat4 psMain() : COLOR { return f(1); }\n");
    EXPECT_EQ(d.message, "recursive call of 'f' is not supported");
    d = firstError("float4 psMain(float2 uv) : COLOR { return uv.xyxy; }\n");
    EXPECT_EQ(d.message, "input 'uv' of 'psMain' needs a semantic or 'uniform'");
    d = firstError("float4 psMain(float2 uv : NORMAL) : COLOR { return uv.xyxy; }\n");
    EXPECT_EQ(d.message, "semantic 'NORMAL' is not supported for fragment program inputs");
    d = firstError("float4 psMain() { return 1; }\n");
    EXPECT_EQ(d.message, "output 'return value' of 'psMain' needs a semantic");
    d = firstError("void psMain(out float4 a : COLOR, out float4 b : COLOR0) { a = 1; b = 2; }\n");
    EXPECT_EQ(d.message, "output semantic 'COLOR0' is written twice");
    d = firstError("float4 psMain() : COLOR { return 1; }\nfloat4 psMain(float x) : COLOR { return x; }\n");
    EXPECT_EQ(d.message, "entry function 'psMain' is overloaded");
    // A sampler (also through a function's sampler parameter) is a shadow sampler or an ordinary one.
    d = firstError("sampler2D map;\nfloat4 f(sampler2D s) { return tex2D(s, float3(0.5, 0.5, 0.5)); }\n"
                   "float4 psMain() : COLOR { return f(map) + tex2D(map, float2(0.5, 0.5)); }\n");
    EXPECT_NE(d.message.find("is used for both depth-compare (shadow) and ordinary lookups"), std::string::npos) << d.message;
    // Uniform structs hold no matrices; a varying struct takes no uniform members.
    d = firstError("struct P { float4x4 m; };\nfloat4 psMain(uniform P p) : COLOR { return p.m[0]; }\n");
    EXPECT_NE(d.message.find("matrix member 'm' is not supported"), std::string::npos) << d.message;
    d = firstError("struct S { sampler2D s; };\nstruct V { float2 uv; uniform float2 size; S inner; };\n"
                   "float4 psMain(V v) : COLOR { return v.uv.xyxy; }\n");
    EXPECT_NE(d.message.find("has a sampler member that is not uniform ('inner')"), std::string::npos) << d.message;
    d = firstError("struct V { float2 uv; uniform float2 size; };\nfloat4 f(V v) { return v.uv.xyxy; }\n"
                   "float4 psMain(V v) : COLOR { return f(v); }\n");
    EXPECT_EQ(d.message, "input 'v' has uniform members: use it through its members only");
}

TEST_F(CgDiagnostics, ErrorCountIsCappedOnGarbage) {
    std::string garbage(5000, '$');
    Result r = fragment(garbage);
    ASSERT_FALSE(r.ok);
    EXPECT_LE(r.errors.size(), 25u);
    // Control characters in a damaged file do not reach the listing raw.
    r = fragment("float4 psMain() : COLOR { return \x01\x02; }");
    ASSERT_FALSE(r.ok);
    EXPECT_EQ(r.listing.find('\x01'), std::string::npos);
}

TEST_F(CgDiagnostics, GlslLinesMapBackToCgLines) {
    Result r = fragment("float4 tint;\n"
                        "\n"
                        "float4 psMain(float4 c : COLOR0) : COLOR\n"
                        "{\n"
                        "    float4 brightened = c * 2;\n"
                        "    return brightened * tint;\n"
                        "}\n");
    ASSERT_TRUE(r.ok) << r.listing;
    int glslLine = 0, line = 1;
    for (size_t at = 0; at < r.glsl.size(); ++at) {
        if (r.glsl.compare(at, 17, "vec4 brightened =") == 0) glslLine = line;
        if (r.glsl[at] == '\n') ++line;
    }
    ASSERT_GT(glslLine, 0) << r.glsl;
    EXPECT_EQ(r.cgLineForGlslLine(glslLine), 5);
    EXPECT_EQ(r.cgLineForGlslLine(0), 0);
    EXPECT_EQ(r.cgLineForGlslLine(100000), 0);
    std::string mesa = "0:" + std::to_string(glslLine) + "(5): error: something broke\n";
    EXPECT_EQ(r.mapDriverLog(mesa), "line 5: error: something broke\n");
    std::string other = "0(" + std::to_string(glslLine) + ") : error C1008: undefined variable\nplain text";
    EXPECT_EQ(r.mapDriverLog(other), "line 5: error C1008: undefined variable\nplain text\n");
    EXPECT_EQ(r.mapDriverLog("0:1(1): warning: w"), "generated line 1: warning: w\n");
}

}  // namespace
