// Whole frames of the production with its first scenes, on headless GL.
#include "SceneFixture.h"

#include "prod/Animation.h"
#include "prod/Pils.h"

#include <gtest/gtest.h>

using namespace SceneTests;

namespace {

float beat(double b)
{
    return Prod::atBeat(b, 163.0f);
}

using ScenesFrameTest = SceneTests::SceneTest;

}  // namespace

TEST_F(ScenesFrameTest, FadesReachBlackAndFlashesWhite)
{
    // Mean level of the picture: black at the fades' ends, lit between them,
    // white on Dragonfly's flash (every sixteenth beat of its entry).
    const struct {
        const char* what;
        float time;
        double low, high;
    } cases[] = {
        {"Pils just after the start", 0.0005f, 0.0, 2.0},
        {"Pils lit", 1.25f, 20.0, 255.0},
        {"Pils at the end of its first entry", beat(12) - 0.0004f, 0.0, 2.0},
        {"ShinyCross at its start", beat(12) + 0.0004f, 0.0, 2.0},
        {"ShinyCross lit", beat(12) + 2.0f, 20.0, 255.0},
        {"Dragonfly's flash", beat(204 + 16), 250.0, 255.0},
        {"Dragonfly half a beat later", beat(204 + 16.5), 20.0, 200.0},
        {"Balloon at its start", beat(332) + 0.0005f, 0.0, 1.0},
        {"Balloon lit", beat(332) + 3.0f, 25.0, 255.0},
        {"PilsTakeoff before its last four beats", beat(396 + 58), 10.0, 255.0},
        {"PilsTakeoff at its end", beat(460) - 0.0004f, 0.0, 2.0},
        {"Skate at its start", beat(460) + 0.0005f, 0.0, 0.5},
        {"Skate lit", beat(460) + 10.0f, 20.0, 255.0},
        {"Skate faded out", beat(460) + 29.0f, 0.0, 0.5},
        {"Skate at its end", beat(556) - 0.0005f, 0.0, 0.5},
    };
    for (const auto& c : cases) {
        const double level = meanLevel(renderAt(c.time));
        EXPECT_GE(level, c.low) << c.what;
        EXPECT_LE(level, c.high) << c.what;
    }
}

TEST_F(ScenesFrameTest, PilsSecondEntryHasNoOpeningFadeAndKeepsTheJump)
{
    auto* pils = dynamic_cast<Prod::Pils*>(sharedProd().timeline[0].drawable);
    ASSERT_NE(pils, nullptr);

    // A bass hit in the first entry.
    renderAt(2.0f, 0.0f);
    renderAt(2.0f + 1.0f / 60.0f, 0.8f);
    const int jump = Prod::Pils::state().jump;
    EXPECT_EQ(jump, int((2.0f + 1.0f / 60.0f + 35.0f) * 1000.0f));
    // During the first entry the opening fade leaves t in localTime.
    EXPECT_FLOAT_EQ(pils->localTime, 2.0f + 1.0f / 60.0f);

    // Other scenes in between do not touch it.
    renderAt(beat(12) + 3.0f, 0.8f);

    // The first frame of the second entry starts from the jump left behind,
    // with no fade: the scene time stays in localTime, the picture is lit.
    const float start = beat(140);
    const auto frame = renderAt(start + 0.001f, 0.0f);
    EXPECT_EQ(Prod::Pils::state().jump, jump);
    EXPECT_FLOAT_EQ(pils->localTime, (0.001f + 35.0f) + float(jump));
    EXPECT_GT(meanLevel(frame), 20.0);
}
