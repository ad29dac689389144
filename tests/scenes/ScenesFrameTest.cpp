// Whole frames of the production with its first scenes, on headless GL.
#include "SceneFixture.h"

#include "prod/Animation.h"
#include "prod/Pils.h"
#include "prod/ShinyCross.h"

#include <gtest/gtest.h>

using namespace SceneTests;

namespace {

float beat(double b)
{
    return Prod::atBeat(b, 163.0f);
}

class ScenesFrameTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        sharedProd();
    }
};

}  // namespace

TEST_F(ScenesFrameTest, TheTimelineHoldsTheScenesInTheirEntries)
{
    const Prod::Prod& prod = sharedProd();
    ASSERT_EQ(prod.timeline.size(), 10u);
    auto* pils = dynamic_cast<Prod::Pils*>(prod.timeline[0].drawable);
    ASSERT_NE(pils, nullptr);
    EXPECT_EQ(prod.timeline[4].drawable, pils);
    EXPECT_NE(dynamic_cast<Prod::ShinyCross*>(prod.timeline[1].drawable), nullptr);
    EXPECT_NE(dynamic_cast<Prod::PilsTakeoff*>(prod.timeline[8].drawable), nullptr);
}

TEST_F(ScenesFrameTest, TheSameTimeRendersTheSameImage)
{
    for (float time : {beat(12) + 4.8f, beat(140) + 2.0f}) {
        const auto first = renderAt(time);
        const auto second = renderAt(time);
        EXPECT_EQ(differingBytes(first, second), 0u) << "at " << time << " s";
        EXPECT_GT(meanLevel(first), 20.0) << "at " << time << " s";
    }
}

TEST_F(ScenesFrameTest, OpeningAndClosingFadesAreBlack)
{
    // Pils just after the start, ShinyCross at T close to 0, Pils at the end
    // of its first entry, PilsTakeoff at the end of its entry.
    for (float time : {0.0005f, beat(12) + 0.0004f, beat(12) - 0.0004f, beat(460) - 0.0004f})
        EXPECT_LT(meanLevel(renderAt(time)), 2.0) << "at " << time << " s";
    // Between the fades the pictures are there.
    EXPECT_GT(meanLevel(renderAt(1.25f)), 20.0);
    EXPECT_GT(meanLevel(renderAt(beat(12) + 2.0f)), 20.0);
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

TEST_F(ScenesFrameTest, PilsTakeoffFadesToBlackInItsLastFourBeats)
{
    const float start = beat(396);
    const double before = meanLevel(renderAt(start + beat(58)));
    const double during = meanLevel(renderAt(start + beat(62)));
    const double end = meanLevel(renderAt(start + beat(63.9)));
    EXPECT_GT(before, 10.0);
    EXPECT_LT(during, before);
    EXPECT_LT(end, during);
    EXPECT_LT(end, 3.0);
}
