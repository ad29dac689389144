// The Underwater and Skate scenes: when Underwater shows its edges, and
// whole frames of the production on headless GL: Underwater's camera and
// flash driven by bass hits on spectrum bin 0. The wave through the mesh
// both scenes share is left to the show's reference pictures.
#include "SceneFixture.h"

#include "prod/Animation.h"
#include "prod/Underwater.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

using namespace SceneTests;
using Kestrane::Float3;
using Prod::Underwater;

namespace {

constexpr float Tempo = 163.0f;

float beat(double b)
{
    return Prod::atBeat(b, Tempo);
}

float justAbove(float x)
{
    return std::nextafter(x, 1e9f);
}

}  // namespace

TEST(UnderwaterRules, EdgesShowInTwoPassagesOfTheUnshiftedTime)
{
    const std::pair<float, bool> cases[] = {
        {beat(31), false}, {justAbove(beat(31)), true}, {beat(31.5), true},  {beat(32), false},
        {beat(40), false}, {beat(63), false},           {justAbove(beat(63)), true},
    };
    for (const auto& [t, shown] : cases)
        EXPECT_EQ(Underwater::edgesShown(t, Tempo), shown) << "t = " << t;
}

namespace {

class UnderwaterSkateFrames : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        underwaterStart = sharedProd().timeline[6].start;
    }

    Underwater& underwater() { return *dynamic_cast<Underwater*>(sharedProd().timeline[6].drawable); }

    // renderAt with the level of bin 0 (Underwater's bass) as given.
    static std::vector<std::uint8_t> renderWithBin0(float time, float level, float frameDelta)
    {
        std::array<float, 256> spectrum{};
        spectrum[0] = level;
        sharedProd().renderFrame(time, frameDelta, spectrum.data());
        glFinish();
        return readPixels(0, 0, sharedProd().width, sharedProd().height);
    }

    float underwaterStart = 0.0f;
};

}  // namespace

TEST_F(UnderwaterSkateFrames, UnderwaterEyeCirclesTheOriginUntilABassHitOnBinZero)
{
    ASSERT_NE(dynamic_cast<Underwater*>(sharedProd().timeline[6].drawable), nullptr);
    Underwater::state().orbit = {};
    Underwater::state().flash = 0.0f;
    underwater().triggers[0] = {};
    const Vessara::CameraBlock& camera = sharedProd().camera;

    // Bin 1 (the other scenes' bass) high: nothing moves. The same time
    // renders the same picture.
    for (float t : {0.5f, 3.0f, 7.7f}) {
        const auto first = renderAt(underwaterStart + t, 0.9f);
        EXPECT_EQ(camera.eye[0], 0.0f) << "t = " << t;
        EXPECT_EQ(differingBytes(first, renderAt(underwaterStart + t, 0.9f)), 0u) << "t = " << t;
    }

    // A hit on bin 0 moves the circle's centre within 80 units and flashes.
    const float delta = 1.0f / 60.0f;
    renderWithBin0(underwaterStart + 1.11f, 0.9f, delta);
    const Float3 S = Underwater::state().orbit;
    EXPECT_NE(S.x, 0.0f);
    EXPECT_LE(std::fabs(S.y), 80.0f);
    EXPECT_NE(camera.eye[0], 0.0f);
    EXPECT_FLOAT_EQ(Underwater::state().flash, 0.25f - delta);
}

TEST_F(UnderwaterSkateFrames, UnderwaterGlowBrightensAfterAHitAndSettlesOnceTheFlashIsSpent)
{
    const float hit = underwaterStart + 2.0f;
    const float later = underwaterStart + 2.5f;
    renderWithBin0(hit - 0.2f, 0.0f, 1.0f / 60.0f);
    renderWithBin0(hit, 0.9f, 1.0f / 60.0f);
    ASSERT_GT(Underwater::state().flash, 0.2f);

    const auto flashing = renderWithBin0(later, 0.0f, 0.05f);  // F still about 0.18
    ASSERT_GT(Underwater::state().flash, 0.1f);
    const auto spent = renderWithBin0(later, 0.0f, 0.5f);  // F below 0
    ASSERT_LT(Underwater::state().flash, 0.0f);
    const auto longSpent = renderWithBin0(later, 0.0f, 5.0f);  // far below 0
    EXPECT_EQ(differingBytes(spent, longSpent), 0u);
    EXPECT_GT(meanLevel(flashing), meanLevel(spent) + 5.0);
}
