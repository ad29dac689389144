// Flowerball: its rules without GL (the kicks and the ball time, the
// strawberry field, the close-up's path), the start-up check of its ZTX
// files, and whole frames of the scene on headless GL.
#include "SceneFixture.h"

#include "kestrane_ext/ZTXWriter.h"
#include "prod/Animation.h"
#include "prod/Flowerball.h"
#include "prod/SceneFileCheck.h"
#include "vessara/ZTXDrawable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

constexpr float Tempo = 163.0f;
constexpr float Delta = 1.0f / 60.0f;

float beat(double b)
{
    return Prod::atBeat(b, Tempo);
}

// The field as draw() lays it out at local time t.
std::vector<Prod::Strawberry> field(float t)
{
    Prod::srand(1);
    std::vector<Prod::Strawberry> berries;
    for (int i = 0; i < 100; ++i)
        berries.push_back(Prod::nextStrawberry(t, Tempo));
    return berries;
}

}  // namespace

TEST(FlowerballRules, TheBallHoldsItsFirstKeyUntilAKickAndKicksStopAtBeatSixty)
{
    Prod::FlowerballState state;
    Vessara::BeatTrigger trigger;
    // No kick yet: W falls below 0 from the first frame, K stays.
    float last = 0.0f;
    for (int frame = 1; frame <= 5; ++frame) {
        state.kick(trigger, 0.1f * float(frame), 0.2f, Delta, Tempo);
        EXPECT_LT(state.ballTime, last) << "frame " << frame;
        EXPECT_NEAR(state.ballTime, -20000.0f * Delta * float(frame), 0.01f);
        last = state.ballTime;
    }
    EXPECT_EQ(state.pathOffset, 0.0f);

    // A bass hit moves the path on and restarts the ball somewhere in 0 .. 10,000.
    Prod::srand(3);
    state.kick(trigger, 1.0f, 0.5f, Delta, Tempo);
    EXPECT_FLOAT_EQ(state.pathOffset, 0.3f);
    EXPECT_GT(state.ballTime, 0.0f);
    EXPECT_LE(state.ballTime, 10000.0f - 20000.0f * Delta);

    // From beat 60 on the bass no longer kicks.
    for (float t : {beat(60), beat(60) + 0.5f, beat(63)}) {
        const float before = state.ballTime;
        state.kick(trigger, t, 0.9f, 0.2f, Tempo);
        EXPECT_FLOAT_EQ(state.pathOffset, 0.3f) << "t = " << t;
        EXPECT_FLOAT_EQ(state.ballTime, before - 4000.0f) << "t = " << t;
    }
}

TEST(FlowerballRules, SkippedStrawberriesKeepTheOthersInPlace)
{
    // Early in the entry few strawberries are near the centre, late many
    // others: the skipped ones differ, the layout may not.
    const float early = 8.0f, late = 20.0f;
    const auto a = field(early);
    const auto b = field(late);
    int shownEarly = 0, shownLate = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].position.x, b[i].position.x) << "strawberry " << i;
        EXPECT_EQ(a[i].position.y, b[i].position.y) << "strawberry " << i;
        EXPECT_EQ(a[i].scale, b[i].scale) << "strawberry " << i;
        EXPECT_NEAR(b[i].position.z - a[i].position.z, -200.0f * (late - early), 0.01f);
        for (const auto* s : {&a[i], &b[i]})
            EXPECT_EQ(s->shown, std::abs(s->position.z) < 1000.0f) << "strawberry " << i;
        shownEarly += a[i].shown;
        shownLate += b[i].shown;
    }
    EXPECT_GT(shownEarly, 0);
    EXPECT_LT(shownEarly, 50);
    EXPECT_GT(shownLate, shownEarly);
    // At beat 32 every strawberry is at its own z0, 0 .. 5000; at t = 0 none is shown.
    for (const auto& s : field(beat(32))) {
        EXPECT_GE(s.position.z, 0.0f);
        EXPECT_LE(s.position.z, 5000.0f);
    }
    for (const auto& s : field(0.0f))
        EXPECT_FALSE(s.shown);
}

TEST(FlowerballRules, TheCloseUpComesAtBeatSixtyFromDistance200)
{
    EXPECT_FALSE(Prod::closeUpDistance(beat(30), Tempo).has_value());
    EXPECT_FALSE(Prod::closeUpDistance(beat(60), Tempo).has_value());
    const struct {
        float after;  // seconds after beat 60
        float distance;
    } cases[] = {{0.001f, 199.8f}, {0.5f, 100.0f}, {1.0f, 0.0f}, {beat(4), 200.0f - 200.0f * beat(4)}};
    for (const auto& c : cases) {
        const auto d = Prod::closeUpDistance(beat(60) + c.after, Tempo);
        ASSERT_TRUE(d.has_value()) << c.after;
        EXPECT_NEAR(*d, c.distance, 0.01f) << c.after;
    }
}

TEST(FlowerballRules, ADrawableSceneNeedsItsTagMeshesMaterialsAndTextures)
{
    using KestraneExt::ZTXSceneData;
    auto withMesh = [](const std::string& material) {
        ZTXSceneData scene;
        auto& skin = scene.materials.emplace_back();
        skin.name = "skin";
        skin.textureMap = "skin.jpg";
        skin.bumpMap = "bumps.jpg";
        scene.materials.emplace_back().name = "plain";
        auto& parent = scene.nodes.emplace_back();
        parent.name = "Root";
        auto& mesh = parent.children.emplace_back();
        mesh.type = Zentrix::MeshNodeType;
        mesh.name = "Berry";
        mesh.mesh.material = material;
        mesh.mesh.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
        mesh.mesh.indices = {0, 1, 2};
        return KestraneExt::encodeZTX(scene);
    };
    std::vector<std::uint8_t> wrongTag = withMesh("skin");
    wrongTag[5] = '6';
    const std::vector<std::uint8_t> noMesh = KestraneExt::encodeZTX({});
    const std::set<std::string> all = {"skin.jpg", "normal_bumps.jpg"};
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::set<std::string> textures;
        const char* fault;  // empty: drawable
    } cases[] = {
        {"complete", withMesh("skin"), all, ""},
        {"untextured", withMesh("plain"), {}, ""},
        {"foreign tag", wrongTag, all, "Unknown file tag"},
        {"no mesh", noMesh, all, "no mesh"},
        {"unknown material", withMesh("bark"), all, "mesh node \"Berry\" has no material (\"bark\""},
        {"texture missing", withMesh("skin"), {"normal_bumps.jpg"}, "texture \"skin.jpg\""},
        {"bump map missing", withMesh("skin"), {"skin.jpg", "bumps.jpg"}, "\"normal_bumps.jpg\" is not"},
    };
    for (const auto& c : cases) {
        const Zentrix::Scene scene(c.bytes.data(), c.bytes.size(), "x.ztx");
        const std::string fault =
            Prod::drawableSceneFault(scene, [&](const std::string& name) { return c.textures.count(name) > 0; });
        if (*c.fault == '\0')
            EXPECT_EQ(fault, "") << c.name;
        else
            EXPECT_NE(fault.find(c.fault), std::string::npos) << c.name << ": " << fault;
    }
}

namespace {

using FlowerballFrames = SceneTests::SceneTest;

// Share of pixels that are strawberry red.
double redShare(const std::vector<std::uint8_t>& rgba)
{
    std::size_t red = 0;
    for (std::size_t i = 0; i + 3 < rgba.size(); i += 4)
        red += rgba[i] > 70 && rgba[i] > 2 * rgba[i + 1] && rgba[i] > 2 * rgba[i + 2];
    return double(red) / double(rgba.size() / 4);
}

}  // namespace

TEST_F(FlowerballFrames, TheCloseUpStrawberryFillsThePictureInTheLastBeats)
{
    const double before = redShare(SceneTests::renderAt(beat(76) + beat(59.5)));
    const double during = redShare(SceneTests::renderAt(beat(76) + beat(62.5)));
    // Before, only the small strawberries of the field; then the close-up
    // one, near the camera's target, several times as much.
    EXPECT_LT(before, 0.01);
    EXPECT_GT(during, 0.03);
}
