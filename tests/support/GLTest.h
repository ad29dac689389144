// GL test fixture: one real 800x600 GL context per test process.
//
// Use:
//   testContext()              the process's Kestrane::Context, created on first
//                              use (SDL_VIDEODRIVER defaults to "offscreen", so no
//                              display is needed); it lives until process exit.
//   readPixel(x, y)            one RGBA8 pixel in GL window coordinates (bottom-left
//                              origin) from the bound read frame buffer.
//   readPixels(x, y, w, h)     w*h RGBA8 pixels, rows bottom-up, tightly packed.
//   pixelIs(x, y, colour, tolerance)
//                              gtest assertion: readPixel(x, y)'s red, green
//                              and blue each within tolerance of colour's.
//   class GLTest               gtest base class whose SetUp makes the context
//                              current and binds the window's frame buffer.
//                              Any GL error raised during the test (seen
//                              through GL's debug output, so even one the
//                              engine's checkError() drained) or pending at
//                              its end fails it; derived fixtures that
//                              override TearDown call GLTest::TearDown last.
//   glErrors()                 the GL errors raised since the last call and
//                              those pending, as text ("" if none), clearing
//                              them: EXPECT_EQ(glErrors(), "").
//   queryCount(target, fn)     what a GL query of that target (such as
//                              GL_SAMPLES_PASSED) counts while fn() runs.
#pragma once

#include "kestrane/Context.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

Kestrane::Context& testContext();

struct Rgba8 {
    uint8_t r, g, b, a;
};

Rgba8 readPixel(int x, int y);
std::string glErrors();
std::vector<uint8_t> readPixels(int x, int y, int w, int h);
::testing::AssertionResult pixelIs(int x, int y, Rgba8 colour, int tolerance = 3);

template <typename Fn>
unsigned queryCount(unsigned target, Fn fn);

class GLTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

#include <epoxy/gl.h>

template <typename Fn>
unsigned queryCount(unsigned target, Fn fn)
{
    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(target, query);
    fn();
    glEndQuery(target);
    GLuint count = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
    glDeleteQueries(1, &query);
    return count;
}
