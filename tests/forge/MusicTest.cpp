// The music: its score follows the show (tempo, sections on the scene
// boundaries, kicks where scenes follow them, accents, build, ending), and
// the encoded piece of the build's data/, decoded again, meets the show's
// needs (length, level, kicks firing the engine's beat trigger on bins 0 and
// 1 and nothing else, section changes where the scenes change).
#include "Dsp.h"
#include "Instruments.h"
#include "Mp3.h"
#include "MusicReport.h"
#include "Score.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace Forge;

namespace {

bool hasKickAt(const Score& s, double beat) {
    return std::any_of(s.kicks.begin(), s.kicks.end(), [&](const DrumHit& k) { return k.beat == beat; });
}

}  // namespace

TEST(Score, KicksOnEveryBeatWhereTheScenesFollowThem) {
    const Score s = composeScore();
    // Pils (140-204), Flowerball until it stops listening (76-136),
    // Underwater (268-332) and PilsTakeoff until its build (396-456).
    for (auto [from, to] : {std::pair{76, 136}, {140, 204}, {268, 332}, {396, 456}})
        for (int b = from; b < to; ++b) EXPECT_TRUE(hasKickAt(s, b)) << "beat " << b;
    // The build: no kick or bass under the swarm's take-off, a roll instead.
    for (int b = 456; b < 460; ++b) EXPECT_FALSE(hasKickAt(s, b));
    EXPECT_TRUE(std::none_of(s.bass.begin(), s.bass.end(), [](const ScoreNote& n) { return n.beat >= 456 && n.beat < 460; }));
    EXPECT_GE(std::count_if(s.snares.begin(), s.snares.end(), [](const DrumHit& h) { return h.beat >= 456 && h.beat < 460; }), 16);
    // Kicks stay on whole beats and sorted, so a bin's rise marks a beat.
    for (std::size_t i = 0; i < s.kicks.size(); ++i) {
        EXPECT_EQ(s.kicks[i].beat, std::floor(s.kicks[i].beat));
        if (i) {
            EXPECT_LT(s.kicks[i - 1].beat, s.kicks[i].beat);
        }
    }
    // The closing section is calmer: no kick in its last part, and it fades.
    EXPECT_FALSE(std::any_of(s.kicks.begin(), s.kicks.end(), [](const DrumHit& k) { return k.beat >= 500; }));
    EXPECT_GE(s.fadeStartBeat, 460.0);
    EXPECT_LE(s.fadeEndBeat, 556.0);
}

TEST(Music, EncodedPieceMeetsTheShow) {
    StereoBuffer pcm(0);
    std::string error;
    ASSERT_TRUE(decodeMp3("data/music.mp3", pcm, &error)) << error;
    const Score score = composeScore();
    const MusicReport r = analyseMusic(pcm, score);

    EXPECT_GE(r.durationSeconds, 204.66);
    EXPECT_LE(r.durationSeconds, 212.0);
    EXPECT_LT(r.peakDb, -0.1);
    EXPECT_EQ(r.clippedSamples, 0);
    EXPECT_GT(r.rmsDb, -20.0);
    // Steady loudness: the main sections within 3 dB of each other.
    double lo = 0, hi = -100;
    for (const SectionLevel& s : r.sections)
        if (s.startBeat >= 12 && s.endBeat <= 460) {
            lo = std::min(lo, s.rmsDb);
            hi = std::max(hi, s.rmsDb);
        }
    EXPECT_LT(hi - lo, 3.0);
    for (const TriggerStats& t : r.triggers) {
        EXPECT_EQ(t.kicks, static_cast<int>(score.kicks.size()));
        EXPECT_EQ(t.kicksFired, t.kicks) << "bin " << t.bin;
        EXPECT_EQ(t.firingsAway, 0) << "bin " << t.bin;
        EXPECT_GT(t.weakestKickPeak, 0.33f) << "bin " << t.bin;
        EXPECT_LT(t.loudestAway, 0.2f) << "bin " << t.bin;
    }
    ASSERT_EQ(r.boundaries.size(), 9u);
    for (const BoundaryCheck& b : r.boundaries) {
        EXPECT_TRUE(b.found) << "no change found at beat " << b.beat;
        EXPECT_LE(std::fabs(b.foundAt - b.beat), 4.0);
    }
    for (const AccentCheck& a : r.accents) EXPECT_GT(a.riseDb, 6.0) << "accent at beat " << a.beat;
    EXPECT_GT(r.buildRiseDb, 3.0);
}

// The report counts a kick as firing the show's trigger only when its bin
// rises above the scenes' level, 0.3: one kick just under it and just over.
TEST(MusicReport, CountsFiringsAtTheShowsThreshold) {
    Score score;
    score.endBeat = 8;
    score.kicks = {{2.0, 1.0f}};
    auto kickPeak = [&](float gain, int* fired) {
        StereoBuffer pcm(3 * SampleRate);
        renderKick(pcm, score.seconds(2.0), gain);
        const MusicReport r = analyseMusic(pcm, score);
        *fired = r.triggers[0].kicksFired;
        return r.triggers[0].weakestKickPeak;
    };
    int fired = 0;
    const float unit = kickPeak(1.0f, &fired);
    ASSERT_GT(unit, 0.3f);
    EXPECT_NEAR(kickPeak(0.28f / unit, &fired), 0.28f, 0.005f);
    EXPECT_EQ(fired, 0);
    EXPECT_NEAR(kickPeak(0.32f / unit, &fired), 0.32f, 0.005f);
    EXPECT_EQ(fired, 1);
}
