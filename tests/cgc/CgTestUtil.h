// Helpers shared by the compiler tests: compile a fragment body inside a
// pass-through program, render it and read the value back.
#pragma once

#include "GlHarness.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

// A source with a pass-through vertex program and
//   <prelude>
//   float4 psMain(float2 uv : TEXCOORD0) : COLOR { <body> }
inline std::string fragmentProgram(const std::string& body, const std::string& prelude = "") {
    return "float4 vsMain(float4 p : POSITION, float4 t : TEXCOORD0, out float4 uv : TEXCOORD0) : POSITION\n"
           "{ uv = t; return p; }\n" +
           prelude + "\nfloat4 psMain(float2 uv : TEXCOORD0) : COLOR\n{\n" + body + "\n}\n";
}

// Renders the program; fails the test with the listing or driver log when it does not build.
inline std::array<float, 4> evaluate(const std::string& body, const std::string& prelude = "") {
    CgPair pair = buildPair(fragmentProgram(body, prelude));
    EXPECT_TRUE(pair) << pair.error;
    return pair.draw();
}

// Each component of pixel within tolerance of expected.
inline void expectPixel(const std::array<float, 4>& pixel, const std::array<float, 4>& expected, double tolerance = 1e-4) {
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(pixel[k], expected[k], tolerance) << "component " << k;
}

// A fragment body and the pixel it computes.
struct BodyCase {
    std::string body;
    std::array<float, 4> expected;
};
