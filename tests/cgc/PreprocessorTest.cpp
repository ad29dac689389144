// The preprocessor lines shaders use, observed through the compiler: macros
// expand, conditionals select, and hostile macro use ends in an error.
#include "CgTestUtil.h"

using namespace Kestrane::CgCompiler;

namespace {

Result fragment(const std::string& source) { return compile(source, Stage::Fragment, "psMain", "fp_"); }

TEST(CgPreprocessor, MacrosAndConditionalsSelectTheCode) {
    expectPixel(evaluate("return float4(SCALE(2), HALF, TWICE(TWICE(1)), VALUE);",
                         "#define HALF 0.5\n"
                         "#define SCALE(x) ((x) * 3)\n"
                         "#define TWICE(a) (a + a)\n"
                         "#define USE_A\n"
                         "#ifdef USE_A\n"
                         "  #if defined(USE_B) || 0\n"
                         "    #define VALUE 1\n"
                         "  #elif (2 + 3 * 4 == 14) && !defined USE_B\n"
                         "    #define VALUE 7   // chosen\n"
                         "  #else\n"
                         "    #define VALUE 3\n"
                         "  #endif\n"
                         "#endif\n"
                         "#ifndef USE_A\n"
                         "#error never\n"
                         "#endif\n"
                         "#undef HALF\n"
                         "#define HALF 0.5 /* redefined after undef */\n"
                         "#pragma optimize(on)\n"),
                {6, 0.5, 4, 7});
    // Macro arguments may span lines; a backslash continues a line.
    expectPixel(evaluate("return ADD(float4(1, 2,\n 3, 4),\n float4(1, 1, 1, 1));", "#define ADD(a, b) \\\n  ((a) + (b))\n"),
                {2, 3, 4, 5});
}

TEST(CgPreprocessor, SelfReferenceStopsAndBlowUpIsBounded) {
    // A macro naming itself is not expanded again (as in C), so this is an
    // undeclared identifier, not a hang.
    Result r = fragment("#define x x + 1\nfloat4 psMain() : COLOR { return x; }\n");
    ASSERT_FALSE(r.ok);
    EXPECT_NE(r.listing.find("undeclared identifier 'x'"), std::string::npos) << r.listing;

    std::string bomb = "#define A0 1 1\n";
    for (int i = 1; i < 40; ++i)
        bomb += "#define A" + std::to_string(i) + " A" + std::to_string(i - 1) + " A" + std::to_string(i - 1) + "\n";
    bomb += "float4 psMain() : COLOR { return A39; }\n";
    r = fragment(bomb);
    ASSERT_FALSE(r.ok);
    EXPECT_NE(r.listing.find("macro expansion too large"), std::string::npos) << r.listing;

    r = fragment("#define F(x) F(F(x))\nfloat4 psMain() : COLOR { return F(1); }\n");
    EXPECT_FALSE(r.ok);
}

TEST(CgPreprocessor, DirectiveErrorsNameTheLine) {
    struct Case {
        const char* source;
        const char* message;
        int line;
    } cases[] = {
        {"#if 1\nfloat4 psMain() : COLOR { return 0; }\n", "#if without a matching #endif", 1},
        {"\n#endif\n", "#endif without a matching #if", 2},
        {"#else\n", "#else without a matching #if", 1},
        {"#include \"common.cg\"\n", "cannot open include file \"common.cg\"", 1},
        {"\n#include common.cg\n", "#include needs a file name: \"file\" or <file>", 2},
        {"\n\n#error stop here\n", "#error stop here", 3},
        {"#frobnicate\n", "unknown preprocessor directive '#frobnicate'", 1},
        {"#define F(a, b) a\nfloat4 psMain() : COLOR { return F(1); }\n", "macro 'F' takes 2 arguments, 1 given", 2},
        {"#if 1 / 0\n#endif\n", "division by zero in #if", 1},
        {"#define S(x) # y\n", "'#' must be followed by a parameter of macro 'S'", 1},
        {"#define P(a) ## a\n", "'##' cannot be at either end of a macro body", 1},
        {"#define P(a, b) a ## b\nfloat4 psMain() : COLOR { return P(1, +); }\n", "'##' of '1' and '+' does not form one token", 2},
        {"#if (1\n#endif\n", "expected ')' in #if", 1},
        {"#define\n", "#define needs a macro name", 1},
    };
    for (const Case& c : cases) {
        Result r = fragment(c.source);
        ASSERT_FALSE(r.ok) << c.source;
        ASSERT_FALSE(r.errors.empty());
        EXPECT_NE(r.errors[0].message.find(c.message), std::string::npos) << c.source << "\n" << r.listing;
        EXPECT_EQ(r.errors[0].line, c.line) << c.source;
    }
}

TEST(CgPreprocessor, ConditionalsNestAndSkipInactiveDirectives) {
    Result r = fragment("#if 0\n#error hidden\n#include \"x\"\n#if 1\n#endif\n#else\n"
                        "float4 psMain() : COLOR { return float4(1, 2, 3, 4); }\n#endif\n");
    EXPECT_TRUE(r.ok) << r.listing;
    // Wrapping arithmetic and shifts in #if never trap.
    r = fragment("#if (1 << 63) / -1 || (1 << 70) || 2147483647 * 2147483647 * 8 || (-5 % -1) == 0\n"
                 "float4 psMain() : COLOR { return 1; }\n#endif\n");
    EXPECT_TRUE(r.ok) << r.listing;
}

}  // namespace
