// Key lookup and sampling of animation tracks, and the node samplers that turn
// the file's z-up axes into the renderer's y-up axes.
#include "kestrane_ext/KeyTrack.h"
#include "kestrane_ext/Scene.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace KestraneExt;

namespace {

void expectFloat3(Float3 actual, Float3 expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectQuaternion(Quaternion a, Quaternion e, float tolerance = 1e-5f) {
    EXPECT_NEAR(a.x, e.x, tolerance);
    EXPECT_NEAR(a.y, e.y, tolerance);
    EXPECT_NEAR(a.z, e.z, tolerance);
    EXPECT_NEAR(a.w, e.w, tolerance);
}

}  // namespace

TEST(KeyTrack, KeyIndexAtBetweenBeforeAndAfterKeys) {
    KeyTrack empty;
    EXPECT_EQ(empty.keyIndex(3.0f, 0), -1);
    EXPECT_EQ(empty.keyIndex(3.0f, 1), -1);

    KeyTrack t;
    t.addKey({0, 0, 0}, 0.0f);
    t.addKey({1, 0, 0}, 10.0f);
    t.addKey({2, 0, 0}, 20.0f);
    // Offset 0 is the key at or before the time, 1 the key after, -1 and 2 the
    // outer neighbours, clamped to the ends; before the first key everything
    // is key 0, at or after the last everything is the last.
    const struct {
        float time;
        int offset, key;
    } cases[] = {{15, 0, 1}, {15, 1, 2}, {15, -1, 0}, {15, 2, 2}, {5, -1, 0},  {10, 0, 1},
                 {10, 1, 2}, {-3, 0, 0}, {-3, 1, 0},  {20, 0, 2}, {25, 1, 2},  {25, -1, 2}};
    for (const auto& c : cases) EXPECT_EQ(t.keyIndex(c.time, c.offset), c.key) << c.time << " " << c.offset;
    EXPECT_THROW(t.keyAt(3), std::out_of_range);
}

TEST(KeyTrack, LinearSamplingAtBetweenBeforeAndAfterKeys) {
    KeyTrack t;
    t.addKey({0, 0, 0}, 0.0f);
    t.addKey({10, 0, 0}, 10.0f);
    expectFloat3(t.sampleLinear(5.0f), {5, 0, 0});
    expectFloat3(t.sampleLinear(-3.0f), {0, 0, 0});
    expectFloat3(t.sampleLinear(0.0f), {0, 0, 0});
    expectFloat3(t.sampleLinear(10.0f), {10, 0, 0});
    expectFloat3(t.sampleLinear(12.0f), {10, 0, 0});

    KeyTrack empty;
    expectFloat3(empty.sampleLinear(4.0f), {0, 0, 0});
    expectFloat3(empty.sampleCubic(4.0f), {0, 0, 0});
}

TEST(KeyTrack, CubicSamplingPassesThroughKeysWithClampedNeighbours) {
    KeyTrack t;
    const Float3 values[4] = {{0, 0, 0}, {1, 2, 0}, {3, 1, 1}, {4, 4, 2}};
    for (int i = 0; i < 4; ++i) t.addKey(values[i], float(i) * 10.0f);
    for (int i = 0; i < 4; ++i) expectFloat3(t.sampleCubic(float(i) * 10.0f), values[i]);
    // Between keys 1 and 2 the outer keys 0 and 3 shape the curve; between
    // keys 0 and 1 key 0 repeats as the missing outer key.
    expectFloat3(t.sampleCubic(15.0f), {2.0f, 1.375f, 0.375f});
    expectFloat3(t.sampleCubic(4.0f), {0.208f, 0.896f, -0.096f});
    expectFloat3(t.sampleCubic(-5.0f), values[0]);
    expectFloat3(t.sampleCubic(99.0f), values[3]);
}

TEST(RotationTrack, SlerpHalfway) {
    RotationTrack empty;
    expectQuaternion(empty.sampleSlerp(1.0f), {0, 0, 0, 1});

    const float h = std::sqrt(0.5f);
    RotationTrack quarter;
    quarter.addKey(Quaternion{0, 0, 0, 1}, 0.0f);
    quarter.addKey(Quaternion{0, 0, h, h}, 10.0f);
    const float s = std::sin(3.14159265f / 8), c = std::cos(3.14159265f / 8);
    expectQuaternion(quarter.sampleSlerp(5.0f), {0, 0, s, c});
}

TEST(SceneNodeSamplers, OneKeyIsIgnoredInFavourOfTheBaseValueAndRotationsStayFinite) {
    Zentrix::SceneNode node;
    node.position = {4, 5, 6};
    node.positionTrack.addKey({1, 2, 3}, 0.0f);
    expectFloat3(node.positionAt(0.0f), {4, 6, -5});

    node.scale = {7, 8, 9};
    node.scaleTrack.addKey({1, 1, 1}, 0.0f);
    expectFloat3(node.scaleAt(3.0f), {7, 9, 8});

    node.rotation = {0, 0, 0, 1};
    node.rotationTrack.addKey(Quaternion{1, 0, 0, 0}, 0.0f);
    const Zentrix::AxisAngle r = node.rotationAt(0.0f);
    expectFloat3(r.axis, {1, 0, 0});
    EXPECT_EQ(r.degrees, 0.0f);

    // w a rounding step above 1 would take acos out of its domain.
    node.rotation = {0, 0, 0, 1.0000001f};
    EXPECT_FALSE(std::isnan(node.rotationAt(0.0f).degrees));
}
