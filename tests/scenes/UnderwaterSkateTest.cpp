// The Underwater and Skate scenes: when Underwater shows its edges, the wave
// through a mesh that both scenes share, and whole frames of the production
// on headless GL: Underwater's camera and flash driven by bass hits on
// spectrum bin 0.
#include "SceneFixture.h"

#include "kestrane_ext/Geometry.h"
#include "prod/Animation.h"
#include "prod/Underwater.h"
#include "prod/WaveMesh.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>

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

// A three-vertex mesh laid out as a VXM mesh in client memory: the centre,
// a vertex 50 units out along x and one along y.
class WaveMeshTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        float vertices[3][14] = {};
        const float positions[3][3] = {{0, 0, 0}, {50, 0, 0}, {0, 50, 0}};
        const float uvs[3][2] = {{0, 0}, {1, 0}, {0, 1}};
        for (int i = 0; i < 3; ++i) {
            std::copy(positions[i], positions[i] + 3, vertices[i]);
            std::copy(uvs[i], uvs[i] + 2, vertices[i] + 6);
        }
        const int counts[5] = {3, 3, 2, 3, 3};
        const std::uint32_t indices[3] = {0, 1, 2};
        using namespace KestraneExt;
        mesh.addStream(std::make_unique<VertexStream>(5, counts, 3, BufferUsage::ClientMemory, vertices));
        mesh.bind(0, 0, Semantic::Position);
        mesh.bind(0, 1, Semantic::Normal);
        mesh.bind(0, 2, Semantic::TexCoord0);
        mesh.bind(0, 3, Semantic::TexCoord2);
        mesh.bind(0, 4, Semantic::TexCoord3);
        mesh.setIndices(std::make_unique<IndexStream>(3, BufferUsage::ClientMemory, indices, IndexType::UnsignedInt));
        wave.prepare(mesh, "test mesh");
    }

    Float3 position(int i)
    {
        float p[4] = {};
        mesh.createAttribute(KestraneExt::Semantic::Position)->get(i, p);
        return {p[0], p[1], p[2]};
    }

    static KestraneExt::KeyTrack constantTrack(Float3 value)
    {
        KestraneExt::KeyTrack track;
        for (int k = 0; k < 4; ++k)
            track.addKey(value, 10.0f * k);
        return track;
    }

    KestraneExt::Geometry mesh;
    Prod::WaveMesh wave;
};

TEST_F(WaveMeshTest, TheCentreFollowsTheTracksAtItsWaveTimeAndOuterVerticesLag)
{
    EXPECT_EQ(wave.vertexCount, 3);
    EXPECT_FLOAT_EQ(wave.baseRadii[1], 50.0f);

    // A drift with a different value at every key, and no spin.
    KestraneExt::KeyTrack drift;
    for (int k = 0; k < 12; ++k)
        drift.addKey({3.0f * k + 0.5f * k * k, -2.0f * k, 1.5f * (k % 3)}, 1.7f * k);
    const KestraneExt::KeyTrack still = constantTrack({0, 0, 0});
    const float T = 2.3f;
    wave.deform(T, still, &drift);

    const Float3 centre = position(0);
    const Float3 atWave = drift.sampleCubic(3.8f * T);
    EXPECT_FLOAT_EQ(centre.x, atWave.x);
    EXPECT_FLOAT_EQ(centre.y, atWave.y);
    EXPECT_FLOAT_EQ(centre.z, atWave.z);
    // 50 units out the drift is that of 0.6 wave units earlier.
    const Float3 lagged = drift.sampleCubic(3.8f * T - 0.6f);
    const Float3 outer = position(1) - Float3{50, 0, 0};
    EXPECT_NEAR(outer.x, lagged.x, 1e-4f);
    EXPECT_NEAR(outer.y, lagged.y, 1e-4f);
    EXPECT_GT(std::fabs(outer.x - atWave.x), 0.5f);

    // Deforming again starts from the base shape, not from the last frame.
    wave.deform(T, still, &drift);
    EXPECT_FLOAT_EQ(position(1).x, 50.0f + lagged.x);
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
