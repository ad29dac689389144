// Drawables and elements: the shader operations, the screen quad and images,
// and the beat trigger.
#include <epoxy/gl.h>

#include "FrameworkFixture.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Shader.h"
#include "kestrane/State.h"
#include "kestrane/Texture.h"
#include "vessara/BeatTrigger.h"

#include <algorithm>
#include <cmath>

using namespace Vessara;
using namespace FrameworkTests;

TEST_F(FrameworkTest, UseShaderReleasesTheSamplersOfThePreviousShader)
{
    Demo& demo = sharedDemo();
    Element* element = newElement(8, 8);
    Element* source = newElement(8, 8);
    element->useShader("vessara_outline_edges.cg");
    element->setTexture("tex0", source->depthTexture());
    element->setTexture("tex1", source->colorTexture());
    CGprogram outline = demo.shaders["vessara_outline_edges.cg"]->pixel->program;
    EXPECT_NE(0u, cgGLGetTextureEnum(cgGetNamedParameter(outline, "tex0")));
    EXPECT_NE(0u, cgGLGetTextureEnum(cgGetNamedParameter(outline, "tex1")));
    EXPECT_EQ(2u, element->boundTextures.size());

    element->useShader("vessara_texture.cg");
    EXPECT_EQ(0u, cgGLGetTextureEnum(cgGetNamedParameter(outline, "tex0")));
    EXPECT_EQ(0u, cgGLGetTextureEnum(cgGetNamedParameter(outline, "tex1")));
    EXPECT_TRUE(element->boundTextures.empty());
    EXPECT_EQ(demo.shaders["vessara_texture.cg"], element->currentShader);

    // disableTexture frees the unit but keeps the name for the next release.
    element->setTexture("tex0", source->colorTexture());
    element->disableTexture("tex0");
    EXPECT_EQ(1u, element->boundTextures.size());
    element->releaseTextures();
}

TEST_F(FrameworkTest, DrawQuadCoversTheViewportAndLeavesCullingOff)
{
    Element* element = newElement(32, 32);
    fill(*element, 0, 0, 0, 1);
    Kestrane::State::enable(Kestrane::Capability::CullFace);
    element->useShader("vessara_color.cg");
    element->setFloat4("color", 1.0f, 0.5f, 0.0f, 1.0f);
    element->drawQuad(-1, -1, 1, 1);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(near(pixelOf(*element, 0, 0), {255, 128, 0, 255}, 2));
    EXPECT_TRUE(near(pixelOf(*element, 31, 31), {255, 128, 0, 255}, 2));
}

TEST_F(FrameworkTest, DrawImageDrawsOnlyItsVisiblePartAndTheSamePicture)
{
    Demo& demo = sharedDemo();
    Element* element = newElement(64, 64);
    // A 64 x 64 mipmapped image, transparent but for a soft-edged green disc
    // of radius 6 round (40, 20).
    std::vector<uint8_t> disc(64 * 64 * 4, 0);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const float d = std::hypot(float(x) - 40.0f, float(y) - 20.0f);
            disc[size_t(y * 64 + x) * 4 + 1] = 255;
            disc[size_t(y * 64 + x) * 4 + 3] = uint8_t(255.0f * std::clamp(6.0f - d, 0.0f, 1.0f));
        }
    Kestrane::Texture texture(64, 64, disc.data(), Kestrane::Rgba, Kestrane::Mipmapped);
    demo.textures.cache["disc.png"] = &texture;

    // Drawn whole, the way drawImage would without the visible area, then
    // with drawImage at the same place; both over the same blue. Drawn large
    // (magnified) and small (read from mipmap level 2).
    auto samplesDrawn = [&](auto draw) {
        fill(*element, 0, 0, 1, 1);
        return queryCount(GL_SAMPLES_PASSED, draw);
    };
    for (float size : {1.5f, 0.5f}) {
        const GLuint wholeSamples = samplesDrawn([&] {
            element->useShader("vessara_texture.cg");
            element->setTexture("tex0", &texture);
            texture.useNearestLevel(true);  // as drawImage reads it
            Kestrane::State::enable(Kestrane::Capability::Blend);
            Kestrane::State::setBlendFunction(Kestrane::BlendFactor::SrcAlpha,
                                              Kestrane::BlendFactor::OneMinusSrcAlpha);
            element->drawQuad(-0.5f, -1.0f, size - 0.5f, size - 1.0f);
            Kestrane::State::disable(Kestrane::Capability::Blend);
            texture.useNearestLevel(false);
        });
        const std::vector<uint8_t> whole = pixelsOf(*element);
        const GLuint partSamples = samplesDrawn([&] {
            element->drawImage("disc.png", -0.5f, -1.0f, size, size, Kestrane::BlendFactor::SrcAlpha,
                               Kestrane::BlendFactor::OneMinusSrcAlpha);
        });
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST)) << "turned back on";
        const std::vector<uint8_t> part = pixelsOf(*element);

        if (size > 1.0f) {
            EXPECT_LT(partSamples * 4, wholeSamples);
        }
        ASSERT_EQ(whole.size(), part.size());
        for (size_t i = 0; i < whole.size(); ++i)
            ASSERT_LE(std::abs(int(whole[i]) - int(part[i])), 1) << "pixel " << i / 4 % 64 << ", " << i / 256;
    }
    element->releaseTextures();
    demo.textures.cache.erase("disc.png");
}

TEST(DrawnImagePart, WidensTheVisibleAreaByWhatFilteringSpreads)
{
    // A 100 x 100 texel image visible in [0.4, 0.6] x [0.45, 0.5].
    Kestrane::TexelArea visible;
    visible.u0 = 0.4f, visible.u1 = 0.6f, visible.v0 = 0.45f, visible.v1 = 0.5f;
    visible.texelU = visible.texelV = 0.01f;
    struct Case {
        float pixelsAcross, pixelsUp;  // the image's size on screen
        float u0, u1, v0, v1;
    };
    const Case cases[] = {
        {400, 400, 0.35f, 0.65f, 0.40f, 0.55f},  // magnified: five texels
        {25, 50, 0.23f, 0.77f, 0.36f, 0.59f},   // 4 and 2 texels a pixel: 17 and 9
        {8, 400, 0.0f, 1.0f, 0.40f, 0.55f},     // reaches the edges: the whole axis
    };
    for (const Case& c : cases) {
        const Kestrane::TexelArea part = drawnImagePart(visible, c.pixelsAcross, c.pixelsUp);
        EXPECT_NEAR(c.u0, part.u0, 1e-5f);
        EXPECT_NEAR(c.u1, part.u1, 1e-5f);
        EXPECT_NEAR(c.v0, part.v0, 1e-5f);
        EXPECT_NEAR(c.v1, part.v1, 1e-5f);
    }
    Kestrane::TexelArea none = visible;
    none.u1 = none.u0;
    EXPECT_TRUE(drawnImagePart(none, 400, 400).empty());
}

TEST(BeatTrigger, FiresOncePerHoldTimeWhileHighAndRearmsWhenLow)
{
    BeatTrigger trigger;
    const float delta = 0.0625f;  // exact in binary: no rounding in the countdown
    // Level 0.5 over threshold 0.3 on every frame: fires on the first frame,
    // then only once the countdown has run down at the start of a frame.
    std::vector<bool> fired;
    for (int frame = 0; frame < 8; ++frame)
        fired.push_back(trigger.step(0.5f, 0.3f, delta));
    const std::vector<bool> expected = {true, false, false, true, false, false, true, false};
    EXPECT_EQ(expected, fired);

    // One frame at 0.2 re-arms it: the next frame above the threshold fires.
    BeatTrigger rearmed;
    EXPECT_TRUE(rearmed.step(0.5f, 0.3f, delta));
    EXPECT_FALSE(rearmed.step(0.2f, 0.3f, delta));
    EXPECT_TRUE(rearmed.step(0.5f, 0.3f, delta));

    // A level equal to the threshold is not high.
    BeatTrigger equal;
    EXPECT_FALSE(equal.step(0.3f, 0.3f, delta));
}

TEST(BeatTrigger, DrawableBeatReadsItsBinOfTheSpectrumOnTriggerZero)
{
    Demo demo;
    Drawable drawable(&demo, "Listener");
    demo.frameDelta = 0.1f;
    demo.spectrum[7] = 0.5f;
    // Bins outside the spectrum read silence.
    EXPECT_FALSE(drawable.beat(-1, 0.0f));
    EXPECT_FALSE(drawable.beat(512, 0.0f));
    EXPECT_FALSE(drawable.beat(6, 0.3f));
    EXPECT_TRUE(drawable.beat(7, 0.3f));
    EXPECT_FLOAT_EQ(0.15f - 0.1f, drawable.triggers[0].countdown);
}
