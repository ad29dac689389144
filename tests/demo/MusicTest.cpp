#include "Mp3.h"

#include "kestrane_ext/ByteWriter.h"
#include "support/TestSupport.h"
#include "vessara/Demo.h"
#include "vessara/MusicClock.h"
#include "vessara/MusicPlayer.h"
#include "vessara/Spectrum.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <thread>

using namespace Vessara;

namespace {

constexpr double binHz = 44100.0 / 512.0;

int peakBin(const float* bins)
{
    return int(std::max_element(bins, bins + spectrumBins) - bins);
}

// A fresh path in a folder removed at exit.
std::string scratch(const std::string& name)
{
    static const TestSupport::TempDir dir;
    return dir.file(name);
}

// 1 s of a sine on bin 20 at half scale, then 1 s of silence, encoded as the
// content tool encodes the show's music.
class MusicFileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Machines running the tests may have no sound card: SDL's dummy
        // output calls back at the real rate.
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        path = scratch("tone.mp3");
        Forge::StereoBuffer pcm(2 * 44100);
        for (std::size_t i = 0; i < 44100; ++i)
            pcm.left[i] = pcm.right[i] = 0.5f * float(std::sin(2 * std::numbers::pi * 20 * binHz * i / 44100.0));
        ASSERT_TRUE(KestraneExt::writeFileBytes(path, Forge::encodeMp3(pcm), nullptr));
    }
    static std::string path;
};
std::string MusicFileTest::path;

void sleepSeconds(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

}  // namespace

TEST(SpectrumTest, SineOnABinReadsItsAmplitudeThere)
{
    float block[spectrumBlock], bins[spectrumBins];
    for (int k : {1, 20, 100, 255}) {
        for (int i = 0; i < spectrumBlock; ++i)
            block[i] = float(std::sin(2 * std::numbers::pi * k * i / spectrumBlock));
        computeSpectrum(block, bins);
        EXPECT_EQ(peakBin(bins), k);
        EXPECT_NEAR(bins[k], 1.0f, 0.01f) << "bin " << k;
        // The Hann window leaks into the direct neighbours only.
        if (k > 2 && k < 250) {
            EXPECT_NEAR(bins[k - 1], 0.5f, 0.01f);
            EXPECT_NEAR(bins[k + 1], 0.5f, 0.01f);
            EXPECT_LT(bins[k + 3], 1e-3f);
            EXPECT_LT(bins[k - 3], 1e-3f);
        }
    }
    std::fill(block, block + spectrumBlock, 0.0f);
    computeSpectrum(block, bins);
    EXPECT_EQ(*std::max_element(bins, bins + spectrumBins), 0.0f);
}

TEST_F(MusicFileTest, SpectrumPeaksInTheToneBinAndSilenceReadsNearZero)
{
    MusicPlayer player;
    ASSERT_TRUE(player.createStream(path)) << player.error();
    float bins[spectrumBins];
    ASSERT_TRUE(player.spectrumAt(std::uint64_t(0.5 * musicBytesPerSecond), bins));
    EXPECT_EQ(peakBin(bins), 20);
    EXPECT_NEAR(bins[20], 0.5f, 0.06f);
    EXPECT_LT(bins[60], 0.01f);

    ASSERT_TRUE(player.spectrumAt(std::uint64_t(1.5 * musicBytesPerSecond), bins));
    EXPECT_LT(*std::max_element(bins, bins + spectrumBins), 0.01f);

    // Past the end: silence, not a read outside the samples.
    ASSERT_TRUE(player.spectrumAt(player.lengthBytes() - 4, bins));
    EXPECT_LT(*std::max_element(bins, bins + spectrumBins), 0.01f);
    ASSERT_TRUE(player.spectrumAt(player.lengthBytes() * 10, bins));
    EXPECT_EQ(*std::max_element(bins, bins + spectrumBins), 0.0f);
}

TEST(MusicPlayerTest, MissingOrDamagedFileIsReportedByName)
{
    MusicPlayer player;
    const std::string missing = scratch("missing.mp3");
    EXPECT_FALSE(player.createStream(missing));
    EXPECT_NE(player.error().find(missing), std::string::npos) << player.error();
    EXPECT_NE(player.error().find("No such file"), std::string::npos) << player.error();
    EXPECT_FALSE(player.hasStream());
    EXPECT_FALSE(player.play());

    const std::string junk = scratch("junk.mp3");
    {
        std::ofstream out(junk, std::ios::binary);
        for (int i = 0; i < 20000; ++i)
            out.put(char((i * 7919) % 251 == 0 ? 0 : 'x'));
    }
    EXPECT_FALSE(player.createStream(junk));
    EXPECT_NE(player.error().find(junk), std::string::npos) << player.error();

    float bins[spectrumBins] = {7.0f};
    EXPECT_FALSE(player.spectrum(bins));
    EXPECT_EQ(bins[0], 7.0f);
}

TEST_F(MusicFileTest, PositionFollowsPlaybackOnTheAudioDevice)
{
    MusicPlayer player;
    ASSERT_TRUE(player.init()) << player.error();  // the dummy driver in tests
    ASSERT_TRUE(player.createStream(path)) << player.error();
    EXPECT_EQ(player.position(), 0u);
    ASSERT_TRUE(player.play());

    const auto start = std::chrono::steady_clock::now();
    std::uint64_t previous = 0;
    int steps = 0;
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(600)) {
        const std::uint64_t now = player.position();
        ASSERT_GE(now, previous);
        EXPECT_EQ(now % 4, 0u);
        steps += now > previous;
        previous = now;
        sleepSeconds(0.002);
    }
    // Smooth: it moves between audio callbacks (every ~23 ms), not only at them.
    EXPECT_GT(steps, 30);
    EXPECT_NEAR(MusicPlayer::bytesToSeconds(previous), 0.6, 0.25);

    player.setPosition(std::uint64_t(1.0 * musicBytesPerSecond) + 3);
    EXPECT_EQ(player.position(), std::uint64_t(musicBytesPerSecond));
    sleepSeconds(0.2);
    EXPECT_NEAR(MusicPlayer::bytesToSeconds(player.position()), 1.2, 0.2);
    player.free();
}

TEST_F(MusicFileTest, WithoutDeviceThePositionFollowsTheWallClockPastTheEnd)
{
    MusicPlayer player;  // no init(): no audio output
    ASSERT_TRUE(player.createStream(path)) << player.error();
    player.setPosition(std::uint64_t(1.9 * musicBytesPerSecond));
    ASSERT_TRUE(player.play());
    sleepSeconds(0.3);
    // The music lasts 2 s; its clock keeps going after the end.
    const double seconds = MusicPlayer::bytesToSeconds(player.position());
    EXPECT_NEAR(seconds, 2.2, 0.1);
    EXPECT_GT(player.position(), player.lengthBytes());
}

TEST(MusicClockTest, PlayerClockWithoutMusicRunsOnTheCounterFromTheOffset)
{
    struct Counter {
        std::uint64_t ticks = 5'000'000'000'000ull;
        static std::uint64_t read(void* self) { return static_cast<Counter*>(self)->ticks; }
    } counter;
    PlayerClock clock(nullptr, 10.0f, Kestrane::TickSource{Counter::read, 1000, &counter});
    EXPECT_FLOAT_EQ(clock.time(), 10.0f);
    counter.ticks += 2500;
    EXPECT_FLOAT_EQ(clock.time(), 12.5f);
    EXPECT_FLOAT_EQ(clock.frameDelta(), 2.5f);
    counter.ticks += 16;
    EXPECT_FLOAT_EQ(clock.frameDelta(), 0.016f);
    float bins[spectrumBins] = {3.0f};
    EXPECT_FALSE(clock.spectrum(bins));
    EXPECT_EQ(bins[0], 3.0f);

    // A player whose file was missing counts the same as no player.
    MusicPlayer missing;
    EXPECT_FALSE(missing.createStream(scratch("missing.mp3")));
    EXPECT_FALSE(missing.play());
    PlayerClock fallback(&missing, 1.0f, Kestrane::TickSource{Counter::read, 1000, &counter});
    counter.ticks += 1000;
    EXPECT_FLOAT_EQ(fallback.time(), 2.0f);
}

TEST_F(MusicFileTest, VirtualClockReadsTheSpectrumAtTheTimeItLastGave)
{
    MusicPlayer music;
    ASSERT_TRUE(music.createStream(path)) << music.error();
    VirtualClock clock(0.75, 0.5, &music);  // the tone ends at 1 s
    EXPECT_FLOAT_EQ(clock.time(), 0.75f);
    float bins[spectrumBins];
    ASSERT_TRUE(clock.spectrum(bins));
    EXPECT_EQ(peakBin(bins), 20);
    EXPECT_FLOAT_EQ(clock.time(), 1.25f);
    ASSERT_TRUE(clock.spectrum(bins));
    EXPECT_LT(*std::max_element(bins, bins + spectrumBins), 0.01f);
}

// The show starts its music at the start offset, and its clock with it; a
// file that cannot be played is reported titled "BASS" with the file's name
// and the show runs on from the offset.
TEST_F(MusicFileTest, TheShowStartsTheMusicAtItsOffsetOrReportsWhyNot)
{
    Demo demo;
    demo.musicPath = path;
    demo.startOffset = 1.25f;
    const auto clock = demo.startMusic();
    ASSERT_NE(demo.music, nullptr);
    EXPECT_TRUE(demo.music->playing());
    EXPECT_NEAR(MusicPlayer::bytesToSeconds(demo.music->position()), 1.25, 0.05);
    EXPECT_NEAR(clock->time(), 1.25f, 0.05f);

    Demo silent;
    silent.musicPath = scratch("missing.mp3");
    silent.startOffset = 3.0f;
    testing::internal::CaptureStderr();
    const auto fallback = silent.startMusic();
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("BASS: BASS error, file not found?"), std::string::npos) << report;
    EXPECT_NE(report.find(silent.musicPath), std::string::npos) << report;
    EXPECT_NEAR(fallback->time(), 3.0f, 0.05f);
}
