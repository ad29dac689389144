#include <epoxy/gl.h>

#include "StdDrawFixture.h"

#include "kestrane/State.h"
#include "vessara/Particles.h"
#include "vessara/Skybox.h"

using namespace StdDrawTests;
using StdVessara::Skybox;

namespace {

constexpr Colour Red{255, 0, 0, 255};
constexpr Colour Green{0, 255, 0, 255};
constexpr Colour Blue{0, 0, 255, 255};
constexpr Colour Yellow{255, 255, 0, 255};

class SkyboxTest : public StdDrawTest {
protected:
    void SetUp() override
    {
        StdDrawTest::SetUp();
        useDataShader("vessara_texture.cg");
        // Texels bottom row first: (0,0) red, (1,0) green, (0,1) blue, (1,1)
        // yellow; nearest filtering, clamped, so (0, 1) is exactly blue.
        cacheTexture("sky.png", 2, 2, {Red, Green, Blue, Yellow});
        // 90 degrees at aspect 1 through an 800 x 600 viewport: the face the
        // camera looks at fills the height exactly and columns 100..700.
        perspective(90.0f, 1.0f);
        sky = std::make_unique<Skybox>(demo.get());
        scene->setCurrentTexture("sky.png");
    }

    std::unique_ptr<Skybox> sky;
};

}  // namespace

TEST_F(SkyboxTest, ShowsTheWholePictureWithTheBlockFieldOfView)
{
    scene->setCamera(0, 0, 0, 0, 0, -1, 0, 1, 0);
    // The sky projects with the block's field of view, whatever State's
    // projection holds.
    demo->camera.fieldOfView = 120.0f;
    Kestrane::State::disable(Kestrane::Capability::DepthTest);

    sky->draw();

    // At 120 degrees the face z = -10 spans rows 127..473: row 440 is still
    // its blue quadrant, row 480 already the red corner of the face y = +10
    // (at 90 degrees both would be blue); the right half is yellow.
    EXPECT_TRUE(pixelIs(250, 440, Blue));
    EXPECT_TRUE(pixelIs(550, 440, Yellow));
    EXPECT_TRUE(pixelIs(250, 480, Red));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(SkyboxTest, ADrawableMadeAfterSetCurrentTextureEmptiesTheSharedSlots)
{
    demo->camera.shared[5] = this;
    ASSERT_NE(demo->camera.currentTexture(), nullptr);
    StdVessara::Particles later(demo.get(), 1);
    for (const void* slot : demo->camera.shared)
        EXPECT_EQ(slot, nullptr);

    // The sky then binds no texture of its own: its sampler is left unset.
    scene->setCamera(0, 0, 0, 0, 0, -1, 0, 1, 0);
    sky->draw();
    EXPECT_TRUE(sky->boundTextures.empty());
    scene->setCurrentTexture("sky.png");
    sky->draw();
    EXPECT_EQ(sky->boundTextures, std::vector<std::string>{"tex0"});
}

TEST_F(SkyboxTest, ThePictureIsUprightForTheCamerasUpAndTheCapsAgree)
{
    // Upper-left and upper-right quarters of the face looked at (90 degrees,
    // so it fills the height and columns 100..700). The picture's top row
    // is blue and yellow, its bottom row red and green; the flat caps take
    // blue (top-left) above and red (bottom-left) below.
    const struct {
        const char* view;
        float target[3], up[3];
        bool flatCaps;
        Colour upperLeft[2], upperRight[2];  // either colour of each pair
    } cases[] = {
        {"side, up +z", {0, 1, 0}, {0, 0, 1}, false, {Blue, Blue}, {Yellow, Yellow}},
        // With up -z left and right trade places, as in a mirror.
        {"side, up -z", {0, 1, 0}, {0, 0, -1}, false, {Blue, Yellow}, {Blue, Yellow}},
        {"flat cap above, up +z", {0, 1, 1}, {0, 0, 1}, true, {Blue, Blue}, {Blue, Blue}},
        {"flat cap above, up -z", {0, 1, -1}, {0, 0, -1}, true, {Blue, Blue}, {Blue, Blue}},
        // Facing +y, looking down at the cap z = -10 and up at z = +10: both
        // read the same way round.
        {"cap z = -10", {0, 0, -1}, {0, 1, 0}, false, {Blue, Blue}, {Yellow, Yellow}},
        {"cap z = +10", {0, 0, 1}, {0, -1, 0}, false, {Blue, Blue}, {Yellow, Yellow}},
    };
    for (const auto& c : cases) {
        clearScreen();
        scene->setCamera(0, 0, 0, c.target[0], c.target[1], c.target[2], c.up[0], c.up[1], c.up[2]);
        sky->flatCaps = c.flatCaps;
        sky->draw();
        EXPECT_TRUE(pixelIs(250, 450, c.upperLeft[0]) || pixelIs(250, 450, c.upperLeft[1])) << c.view;
        EXPECT_TRUE(pixelIs(550, 450, c.upperRight[0]) || pixelIs(550, 450, c.upperRight[1])) << c.view;
    }
}
