// Test harness for the shader compiler on the test process's GL context
// (support/GLTest.h): GLSL compile/link checks, and a one-pixel
// floating-point render target that reads back exactly what a fragment
// program computes.
//
// Use:
//   glHarness()                 the render target, made on first call
//   checkGlsl(result)           compiles result.glsl for its stage; "" or the driver log
//   CgPair pair = buildPair(source)   compiles "vsMain"/"psMain" and links them
//   pair.setFloat4("name", ...) sets a uniform of either stage by its Cg name
//   pair.draw()                 draws a full-screen quad; returns the pixel's RGBA floats
#pragma once

#include "kestrane/cg/compiler/CgCompiler.h"
#include "support/GLTest.h"

#include <array>
#include <map>
#include <string>

struct GlHarness {
    unsigned int framebuffer = 0;
    unsigned int colour = 0;
};

GlHarness* glHarness();

// "" when the GLSL of result compiles on the driver, else its log mapped to Cg lines.
std::string checkGlsl(const Kestrane::CgCompiler::Result& result, Kestrane::CgCompiler::Stage stage);

struct CgPair {
    Kestrane::CgCompiler::Result vertex, fragment;
    unsigned int program = 0;
    std::string error;  // compile or link failure, "" when linked

    explicit operator bool() const { return error.empty(); }
    void setFloat(const std::string& cgName, float x);
    void setFloat4(const std::string& cgName, float x, float y, float z, float w);
    void setMatrixRowMajor(const std::string& cgName, const float* rowMajor16);
    // Binds a 2D texture made of rgba (w x h floats x 4) to the named sampler on unit.
    void setTexture(const std::string& cgName, int unit, int w, int h, const float* rgba);
    // Binds a one-texel depth texture (1D or 2D) holding depth, compare mode
    // on (less-or-equal), to the named sampler: shadow lookups read 1 or 0.
    void setDepthTexture(const std::string& cgName, int unit, bool oneD, float depth);
    // Generic vertex attribute value sent with every vertex of draw().
    std::map<int, std::array<float, 4>> generic;
    // Draws a quad covering the target with texture coordinates 0..1 (texcoord0),
    // colour (0.25, 0.5, 0.75, 1) and normal (0, 0, 1); returns the pixel.
    std::array<float, 4> draw();
    ~CgPair();
};

CgPair buildPair(const std::string& source, const Kestrane::CgCompiler::Options& options = {});
