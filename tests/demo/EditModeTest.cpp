// The maker's mode: the transport on a music player fed by the test, and
// live reload on a data folder of the test's own, with the file events and
// the wall clock given by the test (no watcher, no sleeps).
#include <epoxy/gl.h>

#include "Mp3.h"

#include "kestrane/FrameServices.h"
#include "kestrane/State.h"
#include "kestrane/Texture.h"
#include "kestrane_ext/ByteWriter.h"
#include "support/GLTest.h"
#include "support/TestSupport.h"
#include "vessara/DataPreload.h"
#include "vessara/Demo.h"
#include "vessara/EditSession.h"
#include "vessara/MusicPlayer.h"
#include "vessara/PlayerOptions.h"
#include "vessara/Transport.h"

#include <SDL.h>
#include <stb_image_write.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <numbers>

using namespace Vessara;

namespace {

// A counter of microseconds that the test moves by hand.
struct Counter {
    std::uint64_t ticks = 7'000'000'000ull;
    static std::uint64_t read(void* self) { return static_cast<Counter*>(self)->ticks; }
    Kestrane::TickSource source() { return {read, 1'000'000, this}; }
    void advance(double seconds) { ticks += std::uint64_t(seconds * 1e6 + 0.5); }
};

std::uint64_t bytesAt(double seconds)
{
    return std::uint64_t(std::llround(seconds * musicBytesPerSecond)) / 4 * 4;
}

// Four seconds of a rising tone (every block differs from every other), as
// the content tool encodes the show's music, and its decoded samples.
class TransportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        static const TestSupport::TempDir dir;
        path = dir.file("sweep.mp3");
        Forge::StereoBuffer pcm(4 * 44100);
        for (std::size_t i = 0; i < pcm.left.size(); ++i) {
            const double t = double(i) / 44100.0;
            pcm.left[i] = pcm.right[i] = 0.5f * float(std::sin(2 * std::numbers::pi * (200.0 + 150.0 * t) * t));
        }
        ASSERT_TRUE(KestraneExt::writeFileBytes(path, Forge::encodeMp3(pcm), nullptr));
        std::string error;
        ASSERT_TRUE(decodeMusic(path, decoded, error)) << error;
    }

    void SetUp() override
    {
        player.useOutput(block);
        ASSERT_TRUE(player.createStream(path)) << player.error();
        player.setPosition(bytesAt(0.3));  // as --from 0.3 starts it
        ASSERT_TRUE(player.play());
    }

    // The next block the output is fed starts at `seconds` of the music.
    ::testing::AssertionResult playsFrom(double seconds)
    {
        std::vector<std::uint8_t> out(block);
        player.feedOutput(out.data(), int(block));
        const auto* want = reinterpret_cast<const std::uint8_t*>(decoded.samples.data()) + bytesAt(seconds);
        if (std::equal(out.begin(), out.end(), want))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the output does not play from " << seconds << " s";
    }

    static constexpr std::uint32_t block = 4096;
    static std::string path;
    static DecodedMusic decoded;
    Counter counter;
    MusicPlayer player{counter.source()};
    // 120 beats a minute: a beat is 0.5 s, a bar 2 s.
    std::vector<TimelineEntry> timeline{{0.0f, 1.0f, nullptr}, {1.0f, 2.5f, nullptr}, {2.5f, 4.0f, nullptr}};
};
std::string TransportTest::path;
DecodedMusic TransportTest::decoded;

}  // namespace

// Each key's jump, from where the one before left: the clock reads the
// target, the music position is the target's sample, and the output plays
// the music from exactly there.
TEST_F(TransportTest, JumpsLandOnBeatsAndEntriesWithTheMusicThere)
{
    Transport transport(&player, 0.3f, timeline, 120.0f, counter.source());
    EXPECT_NEAR(transport.time(), 0.3, 1e-6);
    const double lead = Transport::entryLead;
    const struct {
        const char* key;
        std::function<void(Transport&)> press;
        double lands;
        bool jumps = true;  // false: a key with nowhere to go leaves the music as it plays
    } presses[] = {
        {"Right: the next beat", [](Transport& t) { t.stepBeats(1); }, 0.5},
        {"Right on a beat: the one after", [](Transport& t) { t.stepBeats(1); }, 1.0},
        {"Shift+Right: the next bar line", [](Transport& t) { t.stepBeats(4); }, 2.0},
        {"Left: the beat before", [](Transport& t) { t.stepBeats(-1); }, 1.5},
        {"Shift+Left between bar lines: the one before", [](Transport& t) { t.stepBeats(-4); }, 0.0},
        {"Left at the start stays there", [](Transport& t) { t.stepBeats(-1); }, 0.0},
        {"PageDown: the next entry's start", [](Transport& t) { t.nextEntry(); }, 1.0 + lead},
        {"PageDown again", [](Transport& t) { t.nextEntry(); }, 2.5 + lead},
        {"PageDown in the last entry stays", [](Transport& t) { t.nextEntry(); }, 2.5 + lead, false},
        {"PageUp: the entry before the one shown", [](Transport& t) { t.previousEntry(); }, 1.0 + lead},
        {"Home: the start", [](Transport& t) { t.home(); }, lead},
    };
    for (const auto& p : presses) {
        p.press(transport);
        EXPECT_NEAR(transport.time(), p.lands, 1e-5) << p.key;
        EXPECT_EQ(player.position(), bytesAt(p.lands)) << p.key;
        if (p.jumps) {
            EXPECT_TRUE(playsFrom(p.lands)) << p.key;
        }
    }
}

// Paused, neither the picture's time nor the music moves however much wall
// time passes; resumed, both go on from the held point.
TEST_F(TransportTest, PauseHoldsTheTimeAndTheMusic)
{
    Transport transport(&player, 0.3f, timeline, 120.0f, counter.source());
    transport.seek(1.25);
    transport.time();
    transport.frameDelta();
    transport.togglePause();
    ASSERT_TRUE(transport.paused());
    for (int frame = 0; frame < 3; ++frame) {
        counter.advance(0.5);
        std::vector<std::uint8_t> out(block, 1);
        player.feedOutput(out.data(), int(block));
        EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](std::uint8_t b) { return b == 0; })) << "silent";
        EXPECT_NEAR(transport.time(), 1.25, 1e-5);
        EXPECT_EQ(transport.frameDelta(), 0.0f);
    }
    // Stepping while paused moves the held time, and still holds it.
    transport.stepBeats(1);
    counter.advance(0.5);
    EXPECT_NEAR(transport.time(), 1.5, 1e-5);

    transport.togglePause();
    EXPECT_FALSE(transport.paused());
    EXPECT_NEAR(transport.time(), 1.5, 1e-5);
    EXPECT_TRUE(playsFrom(1.5));
    counter.advance(0.1);
    EXPECT_GT(transport.frameDelta(), 0.0f);
}

// L loops the entry shown: reaching its end goes back to its start, music
// included, until L again.
TEST_F(TransportTest, LoopGoesBackToTheEntryStartAtItsEnd)
{
    Transport transport(&player, 0.3f, timeline, 120.0f, counter.source());
    transport.seek(1.2);
    transport.time();
    transport.toggleLoop();
    ASSERT_EQ(transport.loopedEntry(), 1);
    transport.seek(2.5);  // the entry's end, as playing on would reach it
    EXPECT_NEAR(transport.time(), 1.0 + Transport::entryLead, 1e-5);
    EXPECT_EQ(player.position(), bytesAt(1.0 + Transport::entryLead));
    transport.toggleLoop();
    transport.seek(2.6);
    EXPECT_NEAR(transport.time(), 2.6, 1e-5);
}

// --edit alone installs the maker's session; without it the demo keeps the
// show's own, which adds nothing to a frame. The help lists the keys.
TEST(EditOption, OnlyEditInstallsTheMakersSession)
{
    const struct {
        std::vector<std::string> args;
        int status;  // -1: plays
        bool edit;
    } cases[] = {
        {{}, -1, false},
        {{"--window", "--from", "30"}, -1, false},
        {{"--edit", "--window"}, -1, true},
        {{"--from=30", "--edit"}, -1, true},
        {{"--edit=yes"}, 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const PlayerCommand command = readCommandLine(c.args, 204.66, false);
        ASSERT_EQ(command.play, c.status < 0);
        if (!command.play) {
            EXPECT_EQ(command.exitStatus, c.status);
            continue;
        }
        Demo demo;
        applyPlayerOptions(demo, command.options);
        EXPECT_EQ(dynamic_cast<EditSession*>(demo.session.get()) != nullptr, c.edit);
        EXPECT_NE(demo.session, nullptr);
    }
    const std::string help = readCommandLine({"--help"}, 204.66, false).text;
    for (const char* key : {"--edit", "Space", "Left and Right", "Shift", "Page Up and Page Down", "Home", "L loops"})
        EXPECT_NE(help.find(key), std::string::npos) << key;
}

namespace {

// A data folder of the test's own, loaded into a demo on the test's GL
// context, with an edit session told of file changes by the test.
class LiveReloadTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        std::filesystem::create_directories(root.path() / "data");
        std::filesystem::create_directories(root.path() / "vessara_data");
        std::filesystem::copy_file("vessara_data/vessara_texture.cg", root.file("vessara_data/vessara_texture.cg"));
        demo.context = &testContext();
    }

    void load()
    {
        loadDataDirectories(demo, prefix());
        painter = std::make_unique<Drawable>(&demo, "painter");
    }
    std::string prefix() const { return root.path().string() + "/"; }
    std::string dataFile(const std::string& name) const { return prefix() + "data/" + name; }

    // The edited file, then the wall time passing: reloads happen only
    // once the file has been quiet for long enough.
    void edit(const std::string& name, const std::string& bytes)
    {
        root.write("data/" + name, bytes);
        session.fileChanged(dataFile(name));
    }
    void wait(double seconds)
    {
        counter.advance(seconds);
        session.reloadSettled(demo);
    }

    // The whole window painted by one shader (and texture), read back.
    Rgba8 paint(const std::string& shader, const std::string& texture = "")
    {
        Kestrane::useScreenTarget();
        Kestrane::State::setViewport(0, 0, 800, 600);
        painter->useShader(shader);
        if (!texture.empty())
            painter->setTexture("tex0", texture);
        painter->drawQuad(-1, -1, 1, 1);
        painter->releaseTextures();
        return readPixel(400, 300);
    }

    static void writePng(const std::string& path, int size, std::uint8_t r, std::uint8_t g, std::uint8_t b)
    {
        std::vector<std::uint8_t> pixels;
        for (int i = 0; i < size * size; ++i)
            pixels.insert(pixels.end(), {r, g, b, 255});
        ASSERT_NE(0, stbi_write_png(path.c_str(), size, size, 4, pixels.data(), size * 4));
    }

    TestSupport::TempDir root;
    Demo demo;
    Counter counter;
    EditSession session{counter.source(), false};
    std::unique_ptr<Drawable> painter;
};

// psMain's colour, times a tint the scene sets once.
std::string tinted(const std::string& colour)
{
    return "float4x4 StateComplete;\n"
           "uniform float4 tint;\n"
           "float4 vsMain(float4 p : POSITION) : POSITION { return mul(StateComplete, p); }\n"
           "float4 psMain() : COLOR { return " + colour + " * tint; }\n";
}

bool near(Rgba8 got, Rgba8 want)
{
    return std::abs(got.r - want.r) <= 3 && std::abs(got.g - want.g) <= 3 && std::abs(got.b - want.b) <= 3 &&
           std::abs(got.a - want.a) <= 3;
}

std::string describe(Rgba8 p)
{
    return std::to_string(p.r) + "," + std::to_string(p.g) + "," + std::to_string(p.b) + "," + std::to_string(p.a);
}

}  // namespace

// An edited shader shows within a second, in the same cached object, with
// the values set on the old program; a half-written file is never read; a
// broken edit keeps the old pixels and reports FILE:LINE:COLUMN until fixed.
TEST_F(LiveReloadTest, ShaderEditsShowAndBrokenOnesKeepTheOldProgram)
{
    root.write("data/flat.cg", tinted("float4(1.0, 0.0, 0.0, 1.0)"));
    load();
    Kestrane::CompleteShader* cached = demo.shaders["flat.cg"];
    painter->useShader("flat.cg");
    painter->setFloat4("tint", 0.5f, 0.5f, 0.5f, 1.0f);
    ASSERT_TRUE(near(paint("flat.cg"), {128, 0, 0, 255})) << describe(paint("flat.cg"));

    // Written in two goes 0.2 s apart: the first half alone does not compile.
    const std::string green = tinted("float4(0.0, 1.0, 0.0, 1.0)");
    edit("flat.cg", green.substr(0, green.size() / 2));
    wait(0.2);
    edit("flat.cg", green);
    wait(0.2);
    EXPECT_TRUE(near(paint("flat.cg"), {128, 0, 0, 255})) << "reloaded before the file was quiet";
    wait(0.2);
    EXPECT_TRUE(near(paint("flat.cg"), {0, 128, 0, 255})) << describe(paint("flat.cg"));
    EXPECT_EQ(demo.shaders["flat.cg"], cached);
    EXPECT_TRUE(session.errors().empty());

    // A comma missing on line 4.
    testing::internal::CaptureStderr();
    edit("flat.cg", tinted("float4(0.0, 0.0 1.0, 1.0)"));
    wait(0.5);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(near(paint("flat.cg"), {0, 128, 0, 255})) << describe(paint("flat.cg"));
    ASSERT_EQ(session.errors().count(dataFile("flat.cg")), 1u);
    const std::string& error = session.errors().at(dataFile("flat.cg"));
    EXPECT_EQ(error.rfind(dataFile("flat.cg") + ":4:", 0), 0u) << error;
    EXPECT_NE(error.find(": error: "), std::string::npos) << error;
    EXPECT_NE(printed.find(error), std::string::npos) << printed;

    // Translated, but more uniforms than the GL driver takes: its refusal
    // is reported the same way instead of ending the show at the next draw.
    testing::internal::CaptureStderr();
    edit("flat.cg", "float4x4 StateComplete;\nuniform float4 tint;\nuniform float4 a[4096];\nuniform float4 b[4096];\n"
                    "float4 vsMain(float4 p : POSITION) : POSITION { return mul(StateComplete, p); }\n"
                    "float4 psMain() : COLOR { return (a[4095] + b[4095]) * tint; }\n");
    wait(0.5);
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(near(paint("flat.cg"), {0, 128, 0, 255})) << describe(paint("flat.cg"));
    ASSERT_EQ(session.errors().count(dataFile("flat.cg")), 1u);
    EXPECT_NE(session.errors().at(dataFile("flat.cg")).find("GL driver"), std::string::npos)
        << session.errors().at(dataFile("flat.cg"));

    edit("flat.cg", tinted("float4(0.0, 0.0, 1.0, 1.0)"));
    wait(0.5);
    EXPECT_TRUE(near(paint("flat.cg"), {0, 0, 128, 255})) << describe(paint("flat.cg"));
    EXPECT_TRUE(session.errors().empty());
}

// A texture edited on disk shows in the same texture with the wrap and
// filter the scene set; an undecodable file keeps the old one and says why.
TEST_F(LiveReloadTest, TextureEditsShowKeepingWrapAndFilter)
{
    writePng(root.file("data/wall.png"), 4, 255, 0, 0);
    load();
    Kestrane::Texture* wall = demo.textures["wall.png"];
    wall->setWrap(Kestrane::Clamp);
    ASSERT_TRUE(near(paint("vessara_texture.cg", "wall.png"), {255, 0, 0, 255}));

    writePng(root.file("data/wall.png"), 8, 0, 0, 255);
    session.fileChanged(dataFile("wall.png"));
    wait(0.5);
    EXPECT_TRUE(near(paint("vessara_texture.cg", "wall.png"), {0, 0, 255, 255}))
        << describe(paint("vessara_texture.cg", "wall.png"));
    EXPECT_EQ(demo.textures["wall.png"], wall);
    EXPECT_EQ(wall->width(), 8);
    GLint wrap = 0, minify = 0;
    wall->bind();
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minify);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
    EXPECT_EQ(minify, GL_LINEAR_MIPMAP_LINEAR);

    testing::internal::CaptureStderr();
    edit("wall.png", "not a picture");
    wait(0.5);
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(near(paint("vessara_texture.cg", "wall.png"), {0, 0, 255, 255}));
    ASSERT_EQ(session.errors().count(dataFile("wall.png")), 1u);
    EXPECT_NE(session.errors().at(dataFile("wall.png")).find("wall.png"), std::string::npos);
}

// The status line and the errors above it are drawn over the bottom of the
// window and nowhere else: a dark band with light text, the error in red.
// With VESSARA_EDIT_PICTURES=DIR the window is also saved there.
TEST_F(LiveReloadTest, StatusLineAndErrorsAreDrawnOverTheBottomOfTheWindow)
{
    root.write("data/flat.cg", tinted("float4(1.0, 1.0, 1.0, 1.0)"));
    load();
    painter->useShader("flat.cg");
    painter->setFloat4("tint", 0.5f, 0.6f, 0.7f, 1.0f);
    testing::internal::CaptureStderr();
    edit("flat.cg", tinted("float4(1.0, 1.0, 1.0, 1.0) +"));
    wait(0.5);
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(session.errors().size(), 1u);
    demo.time = 12.5f;
    demo.tempo = 163.0f;
    const Rgba8 picture = paint("flat.cg");
    session.finishFrame(demo);
    EXPECT_NE(session.statusText(demo).find("beat 34   bar 9.2"), std::string::npos) << session.statusText(demo);

    const std::vector<std::uint8_t> window = readPixels(0, 0, 800, 600);
    auto at = [&](int x, int y) { return &window[(std::size_t(y) * 800 + std::size_t(x)) * 4]; };
    int light = 0, red = 0, dark = 0, elsewhere = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const std::uint8_t* p = at(x, y);
            if (y >= 2 * 20) {
                elsewhere += !near({p[0], p[1], p[2], p[3]}, picture);
                continue;
            }
            if (p[0] > 200 && p[1] > 200 && p[2] > 200 && y < 20)
                ++light;  // the status line's text
            else if (p[0] > 200 && p[1] < 150 && y >= 20)
                ++red;    // the error's text
            else if (p[0] < picture.r && p[1] < picture.g && p[2] < picture.b)
                ++dark;   // the band
        }
    EXPECT_EQ(elsewhere, 0);
    EXPECT_GT(light, 200);
    EXPECT_GT(red, 200);
    EXPECT_GT(dark, 800 * 20);
    if (const char* pictures = std::getenv("VESSARA_EDIT_PICTURES"))
        testContext().saveScreenshot((std::string(pictures) + "/status-line.png").c_str());
}
