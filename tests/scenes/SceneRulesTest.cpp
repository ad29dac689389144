// The scenes' own rules, without GL: ShinyCross's time, swarm distance, logo
// path and fades; the Pils jump state and fades.
#include "prod/Animation.h"
#include "prod/Pils.h"
#include "prod/ShinyCross.h"

#include <gtest/gtest.h>

using Prod::PilsState;
using Prod::ShinyCross;

TEST(ShinyCrossRules, SceneTimeRunsAtOneAndAQuarter)
{
    EXPECT_EQ(ShinyCross::sceneTime(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(ShinyCross::sceneTime(8.0f), 10.0f);
}

TEST(ShinyCrossRules, SwarmFliesInHoldsAndFliesOut)
{
    EXPECT_FLOAT_EQ(ShinyCross::swarmDistance(0.0f), 1500.0f);
    EXPECT_FLOAT_EQ(ShinyCross::swarmDistance(2.0f), 900.0f);
    for (float T = 4.0f; T <= 12.0f; T += 0.5f)
        EXPECT_FLOAT_EQ(ShinyCross::swarmDistance(T), 300.0f) << "T = " << T;
    EXPECT_FLOAT_EQ(ShinyCross::swarmDistance(13.0f), 200.0f);
    EXPECT_FLOAT_EQ(ShinyCross::swarmDistance(15.0f), 2200.0f);
    EXPECT_FLOAT_EQ(ShinyCross::swarmDistance(20.0f), 2200.0f);
}

TEST(ShinyCrossRules, LogoSwingsInAndOut)
{
    const Kestrane::Float3 start = ShinyCross::logoOffset(0.0f);
    EXPECT_FLOAT_EQ(start.x, 500.0f);
    EXPECT_FLOAT_EQ(start.y, 200.0f);
    EXPECT_EQ(start.z, 0.0f);
    const Kestrane::Float3 held = ShinyCross::logoOffset(8.0f);
    EXPECT_FLOAT_EQ(held.x, 0.0f);
    EXPECT_FLOAT_EQ(held.y, 0.0f);
    EXPECT_FLOAT_EQ(ShinyCross::logoOffset(16.0f).x, 500.0f);
}

TEST(ShinyCrossRules, FadesFromAndToBlack)
{
    EXPECT_FLOAT_EQ(ShinyCross::fadeAlpha(0.0f), 1.0f);
    EXPECT_FLOAT_EQ(ShinyCross::fadeAlpha(0.25f), 0.5f);
    EXPECT_EQ(ShinyCross::fadeAlpha(0.5f), 0.0f);
    EXPECT_EQ(ShinyCross::fadeAlpha(13.0f), 0.0f);
    EXPECT_FLOAT_EQ(ShinyCross::fadeAlpha(14.0f), 0.5f);
    EXPECT_FLOAT_EQ(ShinyCross::fadeAlpha(15.0f), 1.0f);
    // The entry ends near T = 14.7: about 95 % black.
    const float end = ShinyCross::sceneTime(Prod::atBeat(44, 163.0f) - Prod::atBeat(12, 163.0f));
    EXPECT_NEAR(ShinyCross::fadeAlpha(end), 0.95f, 0.02f);
}

TEST(PilsRules, BeforeTheFirstBassHitTheJumpIsOne)
{
    PilsState state;
    for (float t : {0.0f, 0.5f, 3.25f}) {
        const float T = t + 35.0f;
        EXPECT_FLOAT_EQ(state.jumpedTime(T, 0.1f, 1.0f / 60.0f), t + 36.0f);
    }
    EXPECT_EQ(state.jump, 1);
}

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

TEST(PilsRules, EachSceneKeepsItsOwnStateAcrossCalls)
{
    EXPECT_NE(&Prod::Pils::state(), &Prod::PilsTakeoff::state());
    EXPECT_EQ(&Prod::Pils::state(), &Prod::Pils::state());
}

TEST(PilsRules, TakeoffEasesOverTheLastFourBeats)
{
    const float tempo = 163.0f;
    EXPECT_EQ(Prod::takeoffFactor(0.0f, tempo), 0.0f);
    EXPECT_EQ(Prod::takeoffFactor(Prod::atBeat(60, tempo), tempo), 0.0f);
    EXPECT_NEAR(Prod::takeoffFactor(Prod::atBeat(62, tempo), tempo), 0.5f, 1e-5f);
    EXPECT_EQ(Prod::takeoffFactor(Prod::atBeat(64, tempo), tempo), 1.0f);
}

TEST(PilsRules, OpeningFadeIsBlackAtBothEndsOfTheFirstEntry)
{
    const float tempo = 163.0f;
    EXPECT_FLOAT_EQ(Prod::openingFade(0.0f, tempo), 1.0f);
    EXPECT_NEAR(Prod::openingFade(1.0f, tempo), 0.0f, 1e-6f);
    EXPECT_NEAR(Prod::openingFade(1.5f, tempo), 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(Prod::openingFade(Prod::atBeat(12, tempo), tempo), 1.0f);
}
