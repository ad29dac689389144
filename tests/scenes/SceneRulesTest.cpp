// The Pils scenes' rules, without GL: the jump state and the takeoff.
#include "prod/Animation.h"
#include "prod/Pils.h"

#include <gtest/gtest.h>

using Prod::PilsState;

TEST(PilsRules, ABassHitJumpsToTheMillisecondsOfTheSceneTime)
{
    PilsState state;
    const float delta = 1.0f / 60.0f;
    EXPECT_FLOAT_EQ(state.jumpedTime(36.5f, 0.31f, delta), 36.5f + 36500.0f);
    EXPECT_EQ(state.jump, 36500);
    // Held high: no new jump within the hold time; the offset stays.
    EXPECT_FLOAT_EQ(state.jumpedTime(36.52f, 0.9f, delta), 36.52f + 36500.0f);
    // Truncated, not rounded.
    for (int i = 0; i < 20; ++i)
        state.jumpedTime(37.0f, 0.0f, delta);
    state.jumpedTime(37.0007f, 0.5f, delta);
    EXPECT_EQ(state.jump, 37000);
}

TEST(PilsRules, TakeoffEasesOverTheLastFourBeats)
{
    const float tempo = 163.0f;
    EXPECT_EQ(Prod::takeoffFactor(0.0f, tempo), 0.0f);
    EXPECT_EQ(Prod::takeoffFactor(Prod::atBeat(60, tempo), tempo), 0.0f);
    EXPECT_NEAR(Prod::takeoffFactor(Prod::atBeat(62, tempo), tempo), 0.5f, 1e-5f);
    EXPECT_EQ(Prod::takeoffFactor(Prod::atBeat(64, tempo), tempo), 1.0f);
}
