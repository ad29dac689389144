#include "Music.h"

#include "Dsp.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace Forge {

namespace {

// Bus levels of the mix.
constexpr float KickLevel = 1.0f;
constexpr float DrumLevel = 0.85f;
constexpr float BassLevel = 0.60f;
constexpr float MusicLevel = 0.60f;
constexpr float LeadLevel = 0.45f;
constexpr float FxLevel = 0.7f;
constexpr float ReverbReturn = 0.9f;

// Gain curve of the kick's ducking: 1 minus depth times the kick's shape.
std::vector<float> sidechain(const Score& score, std::size_t frames, float depth) {
    std::vector<float> gain(frames, 1.0f);
    const std::size_t attack = secondsToFrame(0.004);
    const std::size_t length = secondsToFrame(0.3);
    for (const DrumHit& k : score.kicks) {
        const std::size_t start = secondsToFrame(score.seconds(k.beat));
        const std::size_t from = start >= attack ? start - attack : 0;
        for (std::size_t i = from; i < start + length && i < frames; ++i) {
            float shape;
            if (i < start) {
                shape = static_cast<float>(i - from) / static_cast<float>(attack);
            } else {
                const double t = static_cast<double>(i - start) / SampleRate;
                shape = static_cast<float>(t < 0.06 ? 1.0 : std::exp(-(t - 0.06) / 0.07));
            }
            gain[i] = std::min(gain[i], 1.0f - depth * k.gain * shape);
        }
    }
    return gain;
}

float masterFade(const Score& score, double beat) {
    if (beat <= score.fadeStartBeat) return 1.0f;
    const double x = std::min(1.0, (beat - score.fadeStartBeat) / (score.fadeEndBeat - score.fadeStartBeat));
    const double eased = 0.5 - 0.5 * std::cos(Pi * x);
    return static_cast<float>(1.0 + (score.fadeFloor - 1.0) * eased);
}

// Look-ahead peak limiter: the gain reaches what a peak needs before the peak
// arrives (a moving minimum followed by a moving average over the look-ahead),
// then recovers slowly.
void limit(StereoBuffer& pcm, float ceiling) {
    const std::size_t n = pcm.frames();
    const std::size_t look = 96;
    std::vector<float> required(n);
    for (std::size_t i = 0; i < n; ++i) {
        const float peak = std::max(std::fabs(pcm.left[i]), std::fabs(pcm.right[i]));
        required[i] = peak > ceiling ? ceiling / peak : 1.0f;
    }
    // Moving minimum over [i, i + look].
    std::vector<float> windowMin(n);
    std::deque<std::size_t> candidates;
    for (std::size_t j = n + look; j-- > 0;) {
        if (j < n) {
            while (!candidates.empty() && required[candidates.back()] >= required[j]) candidates.pop_back();
            candidates.push_back(j);
        }
        while (!candidates.empty() && candidates.front() > j + look) candidates.pop_front();
        if (j < n) windowMin[j] = required[candidates.front()];
    }
    // Moving average over [i - look, i], then slow release.
    double sum = 0.0;
    float gain = 1.0f;
    const float release = 1.0f - std::exp(-1.0f / (0.08f * SampleRate));
    for (std::size_t i = 0; i < n; ++i) {
        sum += windowMin[i];
        if (i > look) sum -= windowMin[i - look - 1];
        const float average = static_cast<float>(sum / static_cast<double>(std::min(i, look) + 1));
        gain = std::min(average, gain + (1.0f - gain) * release);
        pcm.left[i] *= gain;
        pcm.right[i] *= gain;
    }
}

}  // namespace

StereoBuffer renderMusic(const Score& score) {
    const std::size_t frames = secondsToFrame(score.seconds(score.endBeat));
    auto at = [&](double beat) { return score.seconds(beat); };
    auto span = [&](double beats) { return score.seconds(beats); };

    StereoBuffer kick(frames), drums(frames), bass(frames), music(frames), lead(frames), fx(frames);
    std::uint64_t seed = 1;
    for (const DrumHit& h : score.kicks) renderKick(kick, at(h.beat), h.gain);
    for (const DrumHit& h : score.snares) renderSnare(drums, at(h.beat), h.gain, seed++);
    for (const DrumHit& h : score.claps) renderClap(drums, at(h.beat), h.gain, seed++);
    for (const DrumHit& h : score.closedHats) renderHat(drums, at(h.beat), h.gain, false, 0.25f, seed++);
    for (const DrumHit& h : score.openHats) renderHat(drums, at(h.beat), h.gain, true, -0.2f, seed++);
    for (const DrumHit& h : score.rides) renderRide(drums, at(h.beat), h.gain, seed++);
    for (const DrumHit& h : score.crashes) renderCrash(drums, at(h.beat), h.gain, seed++);
    for (const ScoreNote& n : score.bass)
        renderBass(bass, {at(n.beat), span(n.length), n.note, n.gain, n.brightness});
    for (const ChordEvent& c : score.pads)
        renderPad(music, at(c.beat), span(c.length), c.notes, c.gain, c.brightness, seed++);
    for (const ScoreNote& n : score.plucks)
        renderPluck(music, {at(n.beat), span(n.length), n.note, n.gain, n.brightness, n.pan});
    for (const ScoreNote& n : score.bells)
        renderBell(music, {at(n.beat), span(n.length), n.note, n.gain, n.brightness, n.pan});
    for (std::size_t i = 0; i < score.leads.size(); ++i) {
        const ScoreNote& n = score.leads[i];
        double glideFrom = 0.0;
        if (i > 0) {
            const ScoreNote& p = score.leads[i - 1];
            if (n.beat - (p.beat + p.length) < 0.1) glideFrom = p.note;  // legato: slide
        }
        renderLead(lead, {at(n.beat), span(n.length), n.note, n.gain, n.brightness}, glideFrom);
    }
    for (const SweepEvent& e : score.risers) renderRiser(fx, at(e.beat), span(e.length), e.gain, seed++);
    for (const SweepEvent& e : score.impacts) renderImpact(fx, at(e.beat), span(e.length), e.gain, seed++);

    const std::vector<float> bassDuck = sidechain(score, frames, 0.92f);
    const std::vector<float> musicDuck = sidechain(score, frames, 0.45f);

    // Lead echo: ping-pong at three sixteenths.
    DelayLine echoL(secondsToFrame(span(0.75))), echoR(secondsToFrame(span(0.75)));
    Reverb reverb(0.85f, 0.35f);
    StereoBuffer pcm(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const float leadL = lead.left[i], leadR = lead.right[i];
        const float eL = echoL.read(), eR = echoR.read();
        echoL.write(leadR * 0.5f + eR * 0.38f);
        echoR.write(leadL * 0.5f + eL * 0.38f);
        const float musicL = music.left[i] * musicDuck[i], musicR = music.right[i] * musicDuck[i];
        const float sendL = 0.3f * musicL + 0.3f * (leadL + eL) + 0.1f * drums.left[i] + 0.2f * fx.left[i];
        const float sendR = 0.3f * musicR + 0.3f * (leadR + eR) + 0.1f * drums.right[i] + 0.2f * fx.right[i];
        float wetL, wetR;
        reverb.tick(sendL, sendR, wetL, wetR);
        const float fade = masterFade(score, score.beats(static_cast<double>(i) / SampleRate));
        const float b = bass.left[i] * bassDuck[i] * BassLevel;
        pcm.left[i] = fade * (kick.left[i] * KickLevel + drums.left[i] * DrumLevel + b + musicL * MusicLevel +
                              (leadL + 0.6f * eL) * LeadLevel + fx.left[i] * FxLevel + wetL * ReverbReturn);
        pcm.right[i] = fade * (kick.right[i] * KickLevel + drums.right[i] * DrumLevel + b + musicR * MusicLevel +
                               (leadR + 0.6f * eR) * LeadLevel + fx.right[i] * FxLevel + wetR * ReverbReturn);
    }
    limit(pcm, MusicCeiling);
    return pcm;
}

}  // namespace Forge
