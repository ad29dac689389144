// The post-processing effects: thresholds (by counting the screen quads each
// one draws), pass counts, the bindings they leave, the parameters they hand
// the shaders, and what their shaders do to pixels read back.
#include <epoxy/gl.h>

#include "FrameworkFixture.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Shader.h"
#include "kestrane/State.h"
#include "kestrane/Texture.h"
#include "vessara/Effects.h"

#include <memory>

using namespace Vessara;
using namespace FrameworkTests;

namespace {

template <typename Fn>
std::uint64_t quadsDrawnBy(Fn fn)
{
    const std::uint64_t before = Drawable::quadCount();
    fn();
    return Drawable::quadCount() - before;
}

const float black[4] = {0, 0, 0, 1};
const float white[4] = {1, 1, 1, 1};
const float green[4] = {0, 1, 0, 1};

// Fills a rectangle of the element's colour (and optionally depth) buffer.
void fillRect(Element& element, int x, int y, int w, int h, float r, float g, float b,
              float depth = -1.0f)
{
    element.bind();
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, y, w, h);
    glClearColor(r, g, b, 1.0f);
    GLbitfield mask = GL_COLOR_BUFFER_BIT;
    if (depth >= 0.0f) {
        glClearDepth(depth);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    glClear(mask);
    glClearDepth(1.0);
    glDisable(GL_SCISSOR_TEST);
}

// Left half red, right half blue, depth 1 everywhere.
Element* twoColourElement(int w, int h)
{
    Element* element = newElement(w, h);
    fill(*element, 1, 0, 0);
    fillRect(*element, w / 2, 0, w - w / 2, h, 0, 0, 1);
    return element;
}

int luminance(const std::vector<uint8_t>& pixels, int w, int x, int y)
{
    const size_t i = (size_t(y) * w + x) * 4;
    return pixels[i] + pixels[i + 1] + pixels[i + 2];
}

}  // namespace

TEST_F(FrameworkTest, EdgeEffectsRunFromAmpOneHundredth)
{
    Element* element = twoColourElement(64, 64);
    const auto before = pixelsOf(*element);
    EXPECT_EQ(0u, quadsDrawnBy([&] { findEdges(*element, 0.009f, white, green); }));
    EXPECT_EQ(0u, quadsDrawnBy([&] { outlineEdges(*element, 0.009f, black); }));
    EXPECT_EQ(before, pixelsOf(*element));

    EXPECT_EQ(2u, quadsDrawnBy([&] { findEdges(*element, 0.01f, white, green); }));
    EXPECT_EQ(sharedDemo().scratchPool.at(64)->framebuffer(), boundFramebuffer());
    // Far from the colour edge the picture is now the background colour.
    EXPECT_TRUE(near(pixelOf(*element, 8, 32), {0, 255, 0, 255}));
    EXPECT_TRUE(near(pixelOf(*element, 56, 32), {0, 255, 0, 255}));

    Element* flat = twoColourElement(64, 64);
    EXPECT_EQ(2u, quadsDrawnBy([&] { outlineEdges(*flat, 0.01f, black); }));
    EXPECT_EQ(sharedDemo().scratchPool.at(64)->framebuffer(), boundFramebuffer());
}

TEST_F(FrameworkTest, FindEdgesDrawsTheEdgeColourOnColourEdges)
{
    Element* element = twoColourElement(64, 64);
    findEdges(*element, 5.0f, white, green);
    EXPECT_TRUE(near(pixelOf(*element, 31, 20), {255, 255, 255, 255}));
    EXPECT_TRUE(near(pixelOf(*element, 32, 20), {255, 255, 255, 255}));
    EXPECT_TRUE(near(pixelOf(*element, 20, 20), {0, 255, 0, 255}));
}

TEST_F(FrameworkTest, OutlineEdgesInksDepthJumpsOnly)
{
    // Grey picture; a square nearer than the rest in depth, same colour.
    Element* element = newElement(64, 64);
    fill(*element, 0.5f, 0.5f, 0.5f);
    fillRect(*element, 16, 16, 32, 32, 0.5f, 0.5f, 0.5f, 0.5f);
    // A colour change without a depth change draws no outline.
    fillRect(*element, 0, 0, 8, 64, 1.0f, 1.0f, 0.0f);
    outlineEdges(*element, 500.0f, black);
    EXPECT_TRUE(near(pixelOf(*element, 16, 32), {0, 0, 0, 255}));
    EXPECT_TRUE(near(pixelOf(*element, 47, 32), {0, 0, 0, 255}));
    EXPECT_TRUE(near(pixelOf(*element, 32, 32), {128, 128, 128, 255}, 2));
    EXPECT_TRUE(near(pixelOf(*element, 58, 60), {128, 128, 128, 255}, 2));
    EXPECT_TRUE(near(pixelOf(*element, 7, 32), {255, 255, 0, 255}));
    EXPECT_TRUE(near(pixelOf(*element, 8, 32), {128, 128, 128, 255}, 2));
}

TEST_F(FrameworkTest, WideElementKeepsItsSizeThroughOutlineEdges)
{
    Element* element = newElement(512, 256);
    fill(*element, 0.25f, 0.5f, 0.75f);
    fillRect(*element, 200, 0, 312, 256, 0.25f, 0.5f, 0.75f, 0.3f);
    outlineEdges(*element, 500.0f, black);
    EXPECT_EQ(512, element->width);
    EXPECT_EQ(256, element->height);
    EXPECT_EQ(512, element->colorTexture()->width());
    EXPECT_EQ(256, element->colorTexture()->height());
    EXPECT_EQ(sharedDemo().scratchPool.at(512)->framebuffer(), boundFramebuffer());
    // The 512 x 512 scratch image is stretched back over 512 x 256: the
    // outline stays a vertical line at x = 200 from bottom to top.
    for (int y : {1, 128, 254}) {
        EXPECT_TRUE(near(pixelOf(*element, 200, y), {0, 0, 0, 255})) << "y " << y;
        EXPECT_TRUE(near(pixelOf(*element, 100, y), {64, 128, 191, 255}, 2)) << "y " << y;
        EXPECT_TRUE(near(pixelOf(*element, 400, y), {64, 128, 191, 255}, 2)) << "y " << y;
    }
}

TEST_F(FrameworkTest, DistortSineBindsTheScratchTargetThenChecksItsAmplitudes)
{
    Element* element = twoColourElement(64, 64);
    const auto before = pixelsOf(*element);
    EXPECT_EQ(0u, quadsDrawnBy([&] { distortSine(*element, 10, 10, 0.99e-6f, 0.05f, 0, 0); }));
    EXPECT_EQ(sharedDemo().scratchPool.at(64)->framebuffer(), boundFramebuffer());
    EXPECT_EQ(0u, quadsDrawnBy([&] { distortSine(*element, 10, 10, 0.05f, 0.99e-6f, 0, 0); }));
    EXPECT_EQ(before, pixelsOf(*element));
    EXPECT_EQ(2u, quadsDrawnBy([&] { distortSine(*element, 10, 10, 1e-6f, 1e-6f, 0, 0); }));

    // A strong horizontal wave moves the red/blue border left and right
    // along the height of the picture.
    Element* wavy = twoColourElement(64, 64);
    distortSine(*wavy, 6.2832f, 0.0f, 0.1f, 0.0001f, 0.0f, 0.0f);
    const auto after = pixelsOf(*wavy);
    auto isRed = [&](int x, int y) { return after[(size_t(y) * 64 + x) * 4] > 128; };
    // Each row samples amp * sin(2 pi y) to its right: a quarter up (sin 1) the
    // border moves left to x = 0.4 * 64, three quarters up right to 0.6 * 64.
    EXPECT_TRUE(isRed(20, 16));
    EXPECT_FALSE(isRed(28, 16));
    EXPECT_TRUE(isRed(36, 48));
    EXPECT_FALSE(isRed(44, 48));
}

TEST_F(FrameworkTest, DirectionalBlurThresholdsAndPassCounts)
{
    Element* element = twoColourElement(64, 64);
    EXPECT_EQ(0u, quadsDrawnBy([&] { directionalBlur(*element, 0.0009f, 0.0f, 2.0f, 1.0f); }));
    EXPECT_EQ(0u, quadsDrawnBy([&] { directionalBlur(*element, 0.0f, -0.0009f, 2.0f, 1.0f); }));
    EXPECT_EQ(0u, quadsDrawnBy([&] { directionalBlur(*element, 1.0f, 0.0f, 2.0f, 0.0009f); }));
    EXPECT_EQ(4u, quadsDrawnBy([&] { directionalBlur(*element, 0.0f, -0.001f, 2.0f, 1.0f); }));
    EXPECT_EQ(4u, quadsDrawnBy([&] { directionalBlur(*element, 1.0f, 0.0f, 2.0f, 0.001f); }));
    EXPECT_EQ(element->framebuffer(), boundFramebuffer());
    EXPECT_EQ(8u, quadsDrawnBy([&] { blur(*element, 1.0f, 2.0f, 1.0f); }));
}

TEST_F(FrameworkTest, DirectionalBlurStepsGrowOnTheSecondIteration)
{
    // A stand-in blur shader that adds its step (in pixels of a 512 target,
    // scaled by 0.05) to the picture on every pass, so the passes' steps add
    // up in the result.
    static Kestrane::CompleteShader probe(
        "float4x4 StateComplete;\n"
        "uniform sampler2D tex0; uniform float4 pixelStep; uniform float gamma;\n"
        "struct F { float4 position : POSITION; float2 uv : TEXCOORD0; };\n"
        "F vsMain(float4 p : POSITION, float4 uv : TEXCOORD0)\n"
        "{ F o; o.position = mul(StateComplete, p); o.uv = uv.xy; return o; }\n"
        "float4 psMain(float2 uv : TEXCOORD0) : COLOR\n"
        "{ return tex2D(tex0, uv) + float4(pixelStep.x * 25.6, pixelStep.y * 25.6, gamma * 0.05, 0.0); }\n",
        "vsMain", "psMain");
    Demo& demo = sharedDemo();
    Kestrane::CompleteShader* real = demo.shaders["vessara_directional_blur.cg"];
    demo.shaders.cache["vessara_directional_blur.cg"] = &probe;

    Element* element = newElement(512, 512);
    fill(*element, 0, 0, 0, 1);
    directionalBlur(*element, 0.5f, 0.0f, 2.0f, 1.0f);
    // Steps 0.5/512 twice and 1.5/512 twice: 0.2 in red; gamma 1 four times: 0.2 in blue.
    EXPECT_TRUE(near(pixelOf(*element, 100, 100), {51, 0, 51, 255}, 2));
    float step[4] = {};
    cgGetParameterValuefr(cgGetNamedParameter(probe.pixel->program, "pixelStep"), 4, step);
    EXPECT_FLOAT_EQ(1.5f / 512.0f, step[0]);
    EXPECT_FLOAT_EQ(0.0f, step[1]);

    // The y step divides by the height.
    Element* wide = newElement(512, 256);
    directionalBlur(*wide, 0.0f, 1.0f, 0.5f, 1.0f);
    cgGetParameterValuefr(cgGetNamedParameter(probe.pixel->program, "pixelStep"), 4, step);
    EXPECT_FLOAT_EQ(0.0f, step[0]);
    EXPECT_FLOAT_EQ(1.5f / 256.0f, step[1]);

    demo.shaders.cache["vessara_directional_blur.cg"] = real;
}

TEST_F(FrameworkTest, BlurSpreadsAThinLineAlongItsDirectionOnly)
{
    Element* element = newElement(64, 64);
    fill(*element, 0, 0, 0);
    fillRect(*element, 32, 0, 1, 64, 1, 1, 1);  // a vertical white line
    directionalBlur(*element, 0.0f, 1.0f, 1.0f, 1.0f);
    auto after = pixelsOf(*element);
    EXPECT_GT(luminance(after, 64, 32, 32), 3 * 250);  // along the line: unchanged
    EXPECT_LT(luminance(after, 64, 31, 32), 3 * 5);

    directionalBlur(*element, 1.0f, 0.0f, 1.0f, 1.0f);
    after = pixelsOf(*element);
    const int centre = luminance(after, 64, 32, 32);
    const int side = luminance(after, 64, 30, 32);
    EXPECT_LT(centre, 3 * 200);
    EXPECT_GT(side, 3 * 10);
    EXPECT_LT(side, centre);
    EXPECT_EQ(luminance(after, 64, 29, 32), luminance(after, 64, 35, 32));  // symmetric
    EXPECT_EQ(0, luminance(after, 64, 10, 32));
}

TEST_F(FrameworkTest, GlowAddsABlurredReducedCopy)
{
    Element* element = newElement(128, 128);
    EXPECT_EQ(0u, quadsDrawnBy([&] { glow(*element, 64, 0.5f, 2.0f, 0.0f, 1.0f); }));
    EXPECT_EQ(0u, quadsDrawnBy([&] { glow(*element, 64, 0.0009f, 2.0f, 1.0f, 1.0f); }));
    EXPECT_EQ(0u, quadsDrawnBy([&] { glow(*element, 64, 0.5f, 2.0f, 1.0f, 0.0009f); }));

    fill(*element, 0, 0, 0);
    fillRect(*element, 48, 48, 32, 32, 0.5f, 0.5f, 0.5f);
    // Copy, eight blur passes at 64 x 64, the additive pass.
    EXPECT_EQ(10u, quadsDrawnBy([&] { glow(*element, 64, 0.5f, 2.0f, 1.0f, 1.0f); }));
    EXPECT_EQ(element->framebuffer(), boundFramebuffer());
    const auto after = pixelsOf(*element);
    EXPECT_GT(luminance(after, 128, 64, 64), 3 * 200);  // 128 + about 128
    EXPECT_GT(luminance(after, 128, 44, 64), 3 * 10);   // light spills outside
    EXPECT_EQ(0, luminance(after, 128, 4, 4));
}

TEST_F(FrameworkTest, DepthOfFieldDrawsTwoQuadsPerPass)
{
    Element* element = twoColourElement(64, 64);
    EXPECT_EQ(0u, quadsDrawnBy([&] { depthOfField(*element, 0, 0.9f, 0.5f, 0, 2, 96, 4); }));
    EXPECT_EQ(0u, quadsDrawnBy([&] { depthOfField(*element, 1, 0.9f, 0.0009f, 0, 2, 96, 4); }));
    EXPECT_EQ(2u, quadsDrawnBy([&] { depthOfField(*element, 1, 0.9f, 0.5f, 0, 2, 96, 4); }));
    EXPECT_EQ(element->framebuffer(), boundFramebuffer());
    EXPECT_EQ(4u, quadsDrawnBy([&] { depthOfField(*element, 2, 0.9f, 0, 0.5f, 2, 96, 4); }));
}

TEST_F(FrameworkTest, DepthOfFieldBlursOnlyWhatIsOutOfFocus)
{
    // Black and white columns over the whole picture; the left half at depth
    // 0.5 (in focus), the right half at depth 1.0.
    std::vector<uint8_t> stripes(64 * 64 * 4);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            for (int c = 0; c < 4; ++c)
                stripes[(size_t(y) * 64 + x) * 4 + c] = (c == 3 || (x / 2) % 2) ? 255 : 0;
    Kestrane::Texture texture(64, 64, stripes.data(), Kestrane::Rgba, Kestrane::Nearest);

    Element* element = newElement(64, 64);
    fill(*element, 0, 0, 0);
    fillRect(*element, 0, 0, 32, 64, 0, 0, 0, 0.5f);
    element->useShader("vessara_texture.cg");
    element->setTexture("tex0", &texture);
    element->drawQuad(-1, -1, 1, 1);
    element->releaseTextures();

    depthOfField(*element, 2, 0.5f, 1.0f, 0.0f, 1.0f, 10.0f, 1.0f);
    const auto after = pixelsOf(*element);
    // In focus: the stripes stay black and white.
    EXPECT_EQ(0, luminance(after, 64, 8, 32));
    EXPECT_EQ(3 * 255, luminance(after, 64, 10, 32));
    // Out of focus: they blur to grey.
    for (int x : {48, 50}) {
        EXPECT_GT(luminance(after, 64, x, 32), 3 * 60) << x;
        EXPECT_LT(luminance(after, 64, x, 32), 3 * 195) << x;
    }
}

TEST_F(FrameworkTest, ColorOverlayBlendsOverTheBoundTarget)
{
    Element* element = twoColourElement(32, 32);
    const auto before = pixelsOf(*element);
    const float faint[4] = {0, 0, 0, 0.0005f};
    EXPECT_EQ(0u, quadsDrawnBy([&] { colorOverlay(*element, faint); }));
    EXPECT_EQ(before, pixelsOf(*element));

    const float half[4] = {1, 1, 1, 0.5f};
    colorOverlay(*element, half);
    EXPECT_EQ(element->framebuffer(), boundFramebuffer());
    EXPECT_TRUE(near(pixelOf(*element, 4, 4), {255, 128, 128, 191}, 2));

    const float opaque[4] = {0, 0, 0, 1};
    colorOverlay(*element, opaque);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(near(pixelOf(*element, 4, 4), {0, 0, 0, 255}));
    EXPECT_TRUE(near(pixelOf(*element, 28, 28), {0, 0, 0, 255}));
}

TEST_F(FrameworkTest, CopyTargetAndAddQuad)
{
    Element* source = twoColourElement(64, 64);
    Element* small = newElement(16, 16);
    fill(*small, 0, 0, 0);
    copyTarget(*source, *small);
    EXPECT_EQ(source->framebuffer(), boundFramebuffer());
    EXPECT_TRUE(near(pixelOf(*small, 2, 8), {255, 0, 0, 255}));
    EXPECT_TRUE(near(pixelOf(*small, 13, 8), {0, 0, 255, 255}));

    // Additive, scaled by alpha; "alpha" is back at 1.0 afterwards.
    Element* target = newElement(16, 16);
    fill(*target, 0, 0.5f, 0);
    target->bind();
    addQuad(*target, small->colorTexture(), 0.5f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(near(pixelOf(*target, 2, 8), {128, 128, 0, 255}, 2));
    float alpha = 0;
    cgGetParameterValuefr(
        cgGetNamedParameter(sharedDemo().shaders["vessara_texture.cg"]->pixel->program, "alpha"), 1,
        &alpha);
    EXPECT_EQ(1.0f, alpha);
    target->releaseTextures();
}
