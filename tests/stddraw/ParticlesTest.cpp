#include <epoxy/gl.h>

#include "StdDrawFixture.h"

#include "kestrane/State.h"
#include "vessara/Particles.h"


using namespace StdDrawTests;
using StdVessara::Particles;

namespace {

class ParticlesTest : public StdDrawTest {
protected:
    void SetUp() override
    {
        StdDrawTest::SetUp();
        useDataShader("vessara_particles.cg");
        restart();
    }
};

}  // namespace

TEST_F(ParticlesTest, ThreeFreshParticlesAreThreeCoincidentQuads)
{
    Particles particles(demo.get(), 3);
    // A quarter-grey sprite added three times reads three quarters.
    cacheTexture("grey.png", 1, 1, {{64, 64, 64, 255}});
    scene->setCurrentTexture("grey.png");
    Kestrane::State::enable(Kestrane::Capability::Blend);
    Kestrane::State::setBlendFunction(Kestrane::BlendFactor::One, Kestrane::BlendFactor::One);
    particles.draw();
    Kestrane::State::disable(Kestrane::Capability::Blend);

    EXPECT_TRUE(pixelIs(400, 300, {192, 192, 192, 255}));
    EXPECT_TRUE(pixelIs(253, 153, {192, 192, 192, 255}));
    EXPECT_TRUE(pixelIs(546, 446, {192, 192, 192, 255}));
}

TEST_F(ParticlesTest, QuadsFaceTheCameraFromAnySideAndScaleWithWorld)
{
    Particles particles(demo.get(), 1);
    cacheTexture("white.png", 1, 1, {{255, 255, 255, 255}});
    scene->setCurrentTexture("white.png");
    // From the side and from above, at the same distance: the same square.
    for (int side = 0; side < 2; ++side) {
        clearScreen();
        perspective(90.0f);
        if (side == 0)
            scene->setCamera(2, 0, 0, 0, 0, 0, 0, 1, 0);
        else
            scene->setCamera(0, 2, 0, 0, 0, 0, 0, 0, 1);
        particles.draw();
        EXPECT_TRUE(pixelIs(253, 153, {255, 255, 255, 255})) << "side " << side;
        EXPECT_TRUE(pixelIs(546, 446, {255, 255, 255, 255})) << "side " << side;
        EXPECT_TRUE(pixelIs(246, 300, {0, 0, 0, 255})) << "side " << side;
        EXPECT_TRUE(pixelIs(400, 454, {0, 0, 0, 255})) << "side " << side;
    }

    // The offsets scale with World; the call leaves culling off.
    restart();
    particles.setSize(0, 0.5f);
    Kestrane::State::enable(Kestrane::Capability::CullFace);
    Kestrane::State::scaleWorld(2, 2, 2);  // size 0.5 at scale 2: half-size 1 again
    particles.draw();
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(pixelIs(253, 153, {255, 255, 255, 255}));
    EXPECT_TRUE(pixelIs(246, 300, {0, 0, 0, 255}));
}

TEST_F(ParticlesTest, AnEmptySystemDrawsNothing)
{
    Particles particles(demo.get(), 0);
    EXPECT_EQ(queryCount(GL_PRIMITIVES_GENERATED, [&] { particles.draw(); }), 0u);
    EXPECT_TRUE(pixelIs(400, 300, {0, 0, 0, 255}));
}

TEST(ParticlesDeathTest, AnIndexOutsideTheSystemIsFatalNotAWildWrite)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            testContext();
            Vessara::Demo demo;
            Particles particles(&demo, 3);
            particles.setSize(3, 1.0f);
        },
        testing::ExitedWithCode(1), "Particles: particle 3 of a system of 3");
}
