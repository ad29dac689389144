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
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>

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

// A counter of microseconds that the test moves by hand.
struct Counter {
    std::uint64_t ticks = 5'000'000'000'000ull;
    static std::uint64_t read(void* self) { return static_cast<Counter*>(self)->ticks; }
    Kestrane::TickSource source(std::uint64_t frequency = 1'000'000) { return {read, frequency, this}; }
    void advance(double seconds) { ticks += std::uint64_t(seconds * 1e6 + 0.5); }
};

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

// An output fed in blocks of 4096 bytes (1024 frames, about 23.2 ms), as a
// device asks for them: the block handed out last is heard after the one
// queued before it; between blocks the position runs on the clock, never
// past what the output was given, and never back.
TEST_F(MusicFileTest, PositionFollowsTheOutputBlocksAndTheClockBetweenThem)
{
    Counter counter;
    MusicPlayer player(counter.source());
    player.useOutput(4096);
    ASSERT_TRUE(player.init());
    ASSERT_TRUE(player.createStream(path)) << player.error();
    ASSERT_TRUE(player.play());
    std::vector<std::uint8_t> block(4096);
    player.feedOutput(block.data(), 4096);
    player.feedOutput(block.data(), 4096);  // bytes 4096..8191 queued behind 0..4095
    EXPECT_EQ(player.position(), 0u);
    const struct {
        double after;          // seconds since the two blocks
        std::uint64_t bytes;   // position heard
    } steps[] = {{0.010, 1764}, {0.020, 3528}, {0.040, 4096}, {0.100, 4096}};
    double clock = 0.0;
    for (const auto& step : steps) {
        counter.advance(step.after - clock);
        clock = step.after;
        EXPECT_NEAR(double(player.position()), double(step.bytes), 4.0) << step.after << " s";  // a frame of rounding
    }
    // The next block: the clock runs on from when it was handed out.
    player.feedOutput(block.data(), 4096);
    counter.advance(0.010);
    EXPECT_NEAR(double(player.position()), 4096.0 + 1764.0, 4.0);
    // The samples handed out are the music's, from the cursor on.
    player.setPosition(std::uint64_t(0.5 * musicBytesPerSecond) + 3);
    EXPECT_EQ(player.position(), std::uint64_t(0.5 * musicBytesPerSecond));
    player.feedOutput(block.data(), 4096);
    EXPECT_TRUE(std::any_of(block.begin(), block.end(), [](std::uint8_t b) { return b != 0; }));
    player.setPosition(player.lengthBytes());
    player.feedOutput(block.data(), 4096);
    EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](std::uint8_t b) { return b == 0; }));
    player.free();
}

TEST_F(MusicFileTest, WithoutOutputThePositionFollowsTheClockPastTheEnd)
{
    Counter counter;
    MusicPlayer player(counter.source());  // no init(): no audio output
    ASSERT_TRUE(player.createStream(path)) << player.error();
    player.setPosition(std::uint64_t(1.9 * musicBytesPerSecond));
    ASSERT_TRUE(player.play());
    counter.advance(0.3);
    // The music lasts 2 s; its clock keeps going after the end.
    EXPECT_NEAR(double(player.position()), 2.2 * musicBytesPerSecond, 4.0);
    EXPECT_GT(player.position(), player.lengthBytes());
}

TEST(MusicClockTest, PlayerClockWithoutMusicRunsOnTheCounterFromTheOffset)
{
    Counter counter;
    PlayerClock clock(nullptr, 10.0f, counter.source(1000));
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
    PlayerClock fallback(&missing, 1.0f, counter.source(1000));
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
    Counter counter;
    Demo demo;
    demo.musicPath = path;
    demo.startOffset = 1.25f;
    demo.music = std::make_unique<MusicPlayer>(counter.source());
    demo.music->useOutput(4096);
    const auto clock = demo.startMusic();
    ASSERT_TRUE(demo.music->playing());
    EXPECT_EQ(demo.music->position(), std::uint64_t(1.25 * musicBytesPerSecond));
    EXPECT_NEAR(clock->time(), 1.25f, 1e-6f);
    std::vector<std::uint8_t> block(4096);
    demo.music->feedOutput(block.data(), 4096);
    demo.music->feedOutput(block.data(), 4096);
    counter.advance(0.02);
    EXPECT_NEAR(clock->time(), 1.27f, 1e-6f);

    Demo silent;
    silent.musicPath = scratch("missing.mp3");
    silent.startOffset = 3.0f;
    silent.music = std::make_unique<MusicPlayer>(counter.source());
    silent.music->useOutput(4096);
    testing::internal::CaptureStderr();
    const auto fallback = silent.startMusic();
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("BASS: BASS error, file not found?"), std::string::npos) << report;
    EXPECT_NE(report.find(silent.musicPath), std::string::npos) << report;
    // On the performance counter from the offset (microseconds have passed).
    EXPECT_NEAR(fallback->time(), 3.0f, 0.5f);
}
