// The post-processing effects: thresholds (whether each one draws screen
// quads), the bindings they leave and the state they restore. What each effect does to a picture is checked against
// the reference pictures (EffectPicturesTest).
#include <epoxy/gl.h>

#include "FrameworkFixture.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Shader.h"
#include "kestrane/State.h"
#include "kestrane/Texture.h"
#include "vessara/Effects.h"

#include <array>
#include <functional>
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

}  // namespace

TEST_F(FrameworkTest, EffectsDrawOnlyFromTheirThresholdsAndLeaveTheirTargetBound)
{
    // Just below its threshold a call draws nothing and leaves the picture;
    // at the threshold it draws and leaves the element (the edge and sine
    // effects: the scratch target of its size) bound.
    using Call = std::function<void(Element&)>;
    const struct {
        const char* name;
        int size;
        Call below, at;
        bool scratch;
    } cases[] = {
        {"findEdges", 64, [](Element& e) { findEdges(e, 0.009f, white, green); },
         [](Element& e) { findEdges(e, 0.01f, white, green); }, true},
        {"outlineEdges", 64, [](Element& e) { outlineEdges(e, 0.009f, black); },
         [](Element& e) { outlineEdges(e, 0.01f, black); }, true},
        {"distortSine x", 64, [](Element& e) { distortSine(e, 10, 10, 0.99e-6f, 0.05f, 0, 0); },
         [](Element& e) { distortSine(e, 10, 10, 1e-6f, 1e-6f, 0, 0); }, true},
        {"distortSine y", 64, [](Element& e) { distortSine(e, 10, 10, 0.05f, 0.99e-6f, 0, 0); },
         [](Element& e) { distortSine(e, 10, 10, 1e-6f, 1e-6f, 0, 0); }, true},
        {"directionalBlur step", 64, [](Element& e) { directionalBlur(e, 0.0f, -0.0009f, 2.0f, 1.0f); },
         [](Element& e) { directionalBlur(e, 0.0f, -0.001f, 2.0f, 1.0f); }, false},
        {"directionalBlur amp", 64, [](Element& e) { directionalBlur(e, 1.0f, 0.0f, 2.0f, 0.0009f); },
         [](Element& e) { directionalBlur(e, 1.0f, 0.0f, 2.0f, 0.001f); }, false},
        {"glow threshold", 128, [](Element& e) { glow(e, 64, 0.0009f, 2.0f, 1.0f, 1.0f); },
         [](Element& e) { glow(e, 64, 0.5f, 2.0f, 1.0f, 1.0f); }, false},
        {"glow amp", 128, [](Element& e) { glow(e, 64, 0.5f, 2.0f, 1.0f, 0.0009f); },
         [](Element& e) { glow(e, 64, 0.5f, 2.0f, 1.0f, 0.001f); }, false},
        {"depthOfField", 64, [](Element& e) { depthOfField(e, 1, 0.9f, 0.0009f, 0, 2, 96, 4); },
         [](Element& e) { depthOfField(e, 1, 0.9f, 0.5f, 0, 2, 96, 4); }, false},
    };
    for (const auto& c : cases) {
        Element* element = twoColourElement(c.size, c.size);
        const auto before = pixelsOf(*element);
        EXPECT_EQ(0u, quadsDrawnBy([&] { c.below(*element); })) << c.name;
        EXPECT_EQ(before, pixelsOf(*element)) << c.name;
        EXPECT_LT(0u, quadsDrawnBy([&] { c.at(*element); })) << c.name;
        const unsigned bound =
            c.scratch ? sharedDemo().scratchPool.at(c.size)->framebuffer() : element->framebuffer();
        EXPECT_EQ(bound, boundFramebuffer()) << c.name;
        // The effects that read depth unfiltered give it its filter back.
        GLint minFilter = 0, magFilter = 0;
        element->depthTexture()->bind();
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        EXPECT_EQ(GL_LINEAR, minFilter) << c.name;
        EXPECT_EQ(GL_LINEAR, magFilter) << c.name;
    }
}

TEST_F(FrameworkTest, DirectionalBlurStepsGrowAndFollowTheElementsHeight)
{
    // A stand-in blur shader that adds its step (scaled by 25.6) to the
    // picture on every pass, so the passes' steps add up in the result.
    static Kestrane::CompleteShader probe(
        "float4x4 StateComplete;\n"
        "uniform sampler2D tex0; uniform float4 pixelStep;\n"
        "struct F { float4 position : POSITION; float2 uv : TEXCOORD0; };\n"
        "F vsMain(float4 p : POSITION, float4 uv : TEXCOORD0)\n"
        "{ F o; o.position = mul(StateComplete, p); o.uv = uv.xy; return o; }\n"
        "float4 psMain(float2 uv : TEXCOORD0) : COLOR\n"
        "{ return tex2D(tex0, uv) + float4(pixelStep.x * 25.6, pixelStep.y * 25.6, 0.0, 0.0); }\n",
        "vsMain", "psMain");
    Demo& demo = sharedDemo();
    Kestrane::CompleteShader* real = demo.shaders["vessara_directional_blur.cg"];
    demo.shaders.cache["vessara_directional_blur.cg"] = &probe;
    // y divides by the height: 1/256 twice and 1.5/256 twice, 0.5 in green.
    Element* wide = newElement(512, 256);
    fill(*wide, 0, 0, 0, 1);
    directionalBlur(*wide, 0.0f, 1.0f, 0.5f, 1.0f);
    EXPECT_TRUE(near(pixelOf(*wide, 100, 100), {0, 128, 0, 255}, 2));
    demo.shaders.cache["vessara_directional_blur.cg"] = real;
}

TEST_F(FrameworkTest, DepthOfFieldSpreadsALineByItsBinomialKernel)
{
    // A white column on black, all of it far from the focus (weight 1). Each
    // pass blends in 0.3125 x 1.2 x step of each neighbour and keeps the rest
    // (the merged 1 4 6 4 1 taps); the two passes of one iteration give that
    // kernel twice over. Across the column, and the same along y.
    const struct {
        float step;
        std::array<int, 5> profile;  // columns 30 .. 34
    } cases[] = {
        {0.5f, {9, 60, 118, 60, 9}},   // 3/16 a side: [3 10 3] / 16, twice
        {0.2f, {1, 33, 187, 33, 1}},   // 0.075 a side
    };
    for (const auto& c : cases) {
        for (bool alongY : {false, true}) {
            Element* element = newElement(64, 64);
            fill(*element, 0, 0, 0, 1);
            if (alongY)
                fillRect(*element, 0, 32, 64, 1, 1, 1, 1);
            else
                fillRect(*element, 32, 0, 1, 64, 1, 1, 1);
            depthOfField(*element, 1, 0.0f, alongY ? 0.0f : c.step, alongY ? c.step : 0.0f, 2.0f, 1000.0f, 1.0f);
            for (int i = 0; i < 5; ++i) {
                const Rgba8 p = alongY ? pixelOf(*element, 10, 30 + i) : pixelOf(*element, 30 + i, 10);
                EXPECT_NEAR(c.profile[size_t(i)], p.g, 2) << "step " << c.step << (alongY ? " y" : " x") << ", " << i;
            }
        }
    }
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

TEST_F(FrameworkTest, AddQuadPutsAlphaBackToOne)
{
    // Additive, scaled by alpha; "alpha" is back at 1.0 afterwards for the
    // passes that use the shader without setting it.
    Element* red = newElement(16, 16);
    fill(*red, 1, 0, 0);
    Element* target = newElement(16, 16);
    fill(*target, 0, 0.5f, 0);
    addQuad(*target, red->colorTexture(), 0.5f);
    EXPECT_TRUE(near(pixelOf(*target, 2, 8), {128, 128, 0, 255}, 2));
    float alpha = 0;
    cgGetParameterValuefr(
        cgGetNamedParameter(sharedDemo().shaders["vessara_texture.cg"]->pixel->program, "alpha"), 1,
        &alpha);
    EXPECT_EQ(1.0f, alpha);
    target->releaseTextures();
}
