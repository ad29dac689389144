// The synthesiser's parts: the kick is shaped for the player's spectrum (one
// rise of bins 0 and 1 per hit, whatever the frame phase), the other
// instruments stay out of those bins, and the MP3 round trip keeps the timing
// (the encoder delay is trimmed on decoding).
#include "Dsp.h"
#include "Instruments.h"
#include "Mp3.h"
#include "MusicReport.h"
#include "Output.h"
#include "support/TestSupport.h"

#include "vessara/BeatTrigger.h"
#include "vessara/Spectrum.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Forge;

namespace {

float peakOf(const std::vector<float>& x, std::size_t from, std::size_t to) {
    float p = 0.0f;
    for (std::size_t i = from; i < to && i < x.size(); ++i) p = std::max(p, std::fabs(x[i]));
    return p;
}

// Bin level of the mono mix in the 512 samples starting at frame `at`.
float binAt(const StereoBuffer& b, std::size_t at, int bin) {
    float mono[512], out[256];
    for (std::size_t i = 0; i < 512; ++i) {
        const std::size_t s = at + i;
        mono[i] = s < b.frames() ? 0.5f * (b.left[s] + b.right[s]) : 0.0f;
    }
    Vessara::computeSpectrum(mono, out);
    return out[bin];
}

}  // namespace

TEST(Instruments, KickRisesOnceInBinsZeroAndOneAtEveryFramePhase) {
    StereoBuffer b(SampleRate);
    renderKick(b, 0.1, 1.0f);
    const std::size_t onset = secondsToFrame(0.1);
    for (int bin = 0; bin < 2; ++bin)
        for (int phase = 0; phase < 735; phase += 7) {  // 735 samples per 60 fps frame
            Vessara::BeatTrigger trigger;
            int firings = 0;
            for (std::size_t at = onset - 735 + static_cast<std::size_t>(phase); at < onset + 20000; at += 735)
                firings += trigger.step(binAt(b, at, bin), 0.3f, 1.0f / 60.0f) ? 1 : 0;
            EXPECT_EQ(firings, 1) << "bin " << bin << ", phase " << phase;
        }
    // Quiet again well within the trigger's 0.15 s hold.
    EXPECT_LT(binAt(b, onset + secondsToFrame(0.12), 1), 0.3f);
    EXPECT_LT(peakOf(b.left, 0, b.frames()), 0.86f);
}

TEST(Instruments, OthersStayOutOfTheKicksBins) {
    StereoBuffer b(SampleRate * 2);
    renderBass(b, {0.1, 0.3, 45.0, 0.5f * 0.6f, 1.0f});  // the lowest bass note at its mix level
    renderPad(b, 0.5, 1.0, {57, 60, 64, 69}, 0.6f * 0.6f, 1.0f, 3);
    renderSnare(b, 1.0, 0.5f, 4);
    renderClap(b, 1.2, 0.5f, 5);
    for (std::size_t at = 0; at + 512 < b.frames(); at += 256)
        for (int bin = 0; bin < 2; ++bin) EXPECT_LT(binAt(b, at, bin), 0.2f) << "bin " << bin << " at " << at;
}

TEST(Mp3, RoundTripKeepsLengthAndTiming) {
    StereoBuffer pcm(SampleRate * 2);
    const std::size_t click = 30000;
    for (std::size_t i = 0; i < 200; ++i) {
        const float s = 0.8f * std::sin(static_cast<float>(i) * 0.2f) * (1.0f - static_cast<float>(i) / 200.0f);
        pcm.left[click + i] = s;
        pcm.right[click + i] = -s;
    }
    const std::vector<std::uint8_t> bytes = encodeMp3(pcm);
    EXPECT_EQ(bytes, encodeMp3(pcm)) << "encoding is deterministic";
    EXPECT_FALSE(bytes.size() > 3 && bytes[0] == 'I' && bytes[1] == 'D' && bytes[2] == '3') << "no ID3 tag";
    TestSupport::TempDir dir;
    const std::string path = dir.file("t.mp3");
    std::string error;
    ASSERT_TRUE(writeOutputFile(path, bytes, &error)) << error;
    StereoBuffer back(0);
    ASSERT_TRUE(decodeMp3(path, back, &error)) << error;
    EXPECT_NEAR(static_cast<double>(back.frames()), static_cast<double>(pcm.frames()), 1152.0);
    // The click comes back where it was (no encoder delay in front).
    std::size_t loudest = 0;
    for (std::size_t i = 0; i < back.frames(); ++i)
        if (std::fabs(back.left[i]) > std::fabs(back.left[loudest])) loudest = i;
    EXPECT_NEAR(static_cast<double>(loudest), static_cast<double>(click + 8), 40.0);
    EXPECT_LT(peakOf(back.left, 0, 25000), 0.01f);
}
