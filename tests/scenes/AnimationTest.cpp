// The production's animation utilities: ease, the noise
// vector and axis rotation.
#include "prod/Animation.h"

#include <gtest/gtest.h>

#include <cmath>

using Kestrane::Float3;
using namespace Prod;

namespace {

Float3 drawVector(unsigned seed)
{
    Prod::srand(seed);
    Float3 v;
    v.x = u();
    v.y = u();
    v.z = u();
    return v;
}

void expectNear(Float3 a, Float3 b, float tolerance)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

}  // namespace

TEST(Ease, ClampsAndEasesBetweenZeroAndOne)
{
    EXPECT_EQ(ease(-1.0f), 0.0f);
    EXPECT_EQ(ease(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(ease(0.5f), 0.5f);
    EXPECT_EQ(ease(1.0f), 1.0f);
    EXPECT_EQ(ease(2.0f), 1.0f);
    // Soft ends: the first step is much smaller than a linear one.
    EXPECT_LT(ease(0.01f), 0.001f);
}

TEST(Noise, IsContinuousAcrossACellBoundary)
{
    for (NoiseMode mode : {NoiseMode::Linear, NoiseMode::Cubic}) {
        const Float3 before = noise(1, std::nextafter(3.0f, 0.0f), mode);
        const Float3 at = noise(1, 3.0f, mode);
        expectNear(before, at, 1e-5f);
    }
    // Halfway through a cell the linear mode is the midpoint of R0 and R1.
    const Float3 r0 = drawVector(4), r1 = drawVector(5);
    expectNear(noise(0, 4.5f, NoiseMode::Linear), (r0 + r1) * 0.5f, 1e-6f);
}

TEST(Noise, StaysInsideTheCubeInLinearModeForNegativeAndLargeInputs)
{
    for (float x : {-7.3f, -0.5f, 0.0f, 0.999f, 1234.567f, 36123.25f}) {
        const Float3 v = noise(0, x, NoiseMode::Linear);
        for (float c : {v.x, v.y, v.z}) {
            EXPECT_GE(c, -1.0f) << x;
            EXPECT_LE(c, 1.0f) << x;
        }
    }
}

TEST(Rotate, TurnsOppositeToTheRightHandRuleAboutAnyAxisItIsGiven)
{
    // The axis need not be unit length; the length of v is kept.
    Float3 w{0.0f, 3.0f, 0.0f};
    rotate(w, {5.0f, 0.0f, 0.0f}, 3.14159265f / 2.0f);
    expectNear(w, {0.0f, 0.0f, -3.0f}, 1e-5f);

    // A vector along the axis does not move.
    Float3 along{0.0f, 0.0f, 2.0f};
    rotate(along, {0.0f, 0.0f, 1.0f}, 1.0f);
    expectNear(along, {0.0f, 0.0f, 2.0f}, 1e-6f);

    // Without an axis, or without a vector, nothing turns.
    Float3 v{1.0f, 2.0f, 3.0f};
    rotate(v, {0.0f, 0.0f, 0.0f}, 1.0f);
    EXPECT_EQ(v, (Float3{1.0f, 2.0f, 3.0f}));
    Float3 zero{};
    rotate(zero, {0.0f, 1.0f, 0.0f}, 1.0f);
    EXPECT_EQ(zero, Float3{});
}
