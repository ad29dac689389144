#include "Instruments.h"

#include "Dsp.h"
#include "Random.h"

#include <cmath>

namespace Forge {

std::size_t secondsToFrame(double seconds) {
    return seconds <= 0.0 ? 0 : static_cast<std::size_t>(std::llround(seconds * SampleRate));
}

namespace {

std::size_t frameCount(double seconds) { return static_cast<std::size_t>(std::ceil(seconds * SampleRate)); }

// Short linear fade at the end of a rendered span so no hit ends in a click.
float tailFade(std::size_t i, std::size_t n, std::size_t fade = 441) {
    return i + fade >= n ? static_cast<float>(n - i) / static_cast<float>(fade) : 1.0f;
}

void panGains(float pan, float& l, float& r) {
    const double angle = (static_cast<double>(pan) + 1.0) * Pi / 4.0;
    l = static_cast<float>(std::cos(angle) * std::sqrt(2.0));
    r = static_cast<float>(std::sin(angle) * std::sqrt(2.0));
}

}  // namespace

void renderKick(StereoBuffer& out, double time, float gain) {
    // Shaped for the player's spectrum (512-sample Hann windows, 86 Hz per
    // bin) as much as for the ear. Bin 0 is the windowed mean of the signal,
    // so any oscillation makes it ripple and would fire a trigger several
    // times: the kick opens with one smooth positive 30 ms pulse (a felt
    // thump) that gives bin 0 a single rise. The tone follows as the pulse
    // fades (so the two hardly add up): a sine settling from 150 Hz to
    // 140 Hz, about 1.6 bins, where bin 1 reads it steadily and bin 0 barely
    // at all; it decays below the trigger level within about 0.1 s.
    Random rng(0x6b69636bull);
    const std::size_t start = secondsToFrame(time);
    const std::size_t n = frameCount(0.3);
    constexpr double PulseLength = 0.025, ToneDelay = 0.02, ToneHold = 0.04;
    constexpr float PulseLevel = 0.8f, ToneLevel = 0.7f;
    const float drive = 1.0f;
    const float norm = 1.0f / std::tanh(drive);
    Decay sweep(0.005), fall(0.025), click(0.0008);
    Svf clickFilter;
    clickFilter.setup(3000.0f, 0.7f);
    double phase = 0.0;
    const std::size_t toneStart = secondsToFrame(ToneDelay);
    const std::size_t holdEnd = secondsToFrame(ToneDelay + ToneHold);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        float pulse = 0.0f;
        if (t < PulseLength) {
            const double s = std::sin(Pi * t / PulseLength);
            pulse = PulseLevel * static_cast<float>(s * s);
        }
        float tone = 0.0f;
        if (i >= toneStart) {
            const double tt = t - ToneDelay;
            phase += (140.0 + 10.0 * sweep.next()) / SampleRate;
            const double attack = tt < 0.003 ? tt / 0.003 : 1.0;
            const double level = attack * (i < holdEnd ? 1.0 : fall.next());
            tone = ToneLevel * std::tanh(drive * static_cast<float>(std::sin(2.0 * Pi * phase) * level)) * norm;
        }
        const float tick = 0.12f * clickFilter.tick(rng.bipolar()).high * click.next();
        const float s = (pulse + tone + tick) * gain * tailFade(i, n);
        out.add(start + i, s, s);
    }
}

void renderSnare(StereoBuffer& out, double time, float gain, std::uint64_t seed) {
    Random rng(seed);
    const std::size_t start = secondsToFrame(time);
    const std::size_t n = frameCount(0.32);
    Svf hp;
    hp.setup(1400.0f, 0.7f);
    Svf bp;
    bp.setup(4200.0f, 0.6f);
    Sine tone1, tone2;
    Decay noiseDecay(0.09), toneDecay(0.035);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const float noise = rng.bipolar();
        const float n1 = hp.tick(noise).high;
        const float n2 = bp.tick(n1).band;
        const float noiseEnv = noiseDecay.next();
        const float toneEnv = toneDecay.next();
        const float tone = 0.5f * tone1.next(245.0 / SampleRate) + 0.3f * tone2.next(410.0 / SampleRate);
        const float attack = t < 0.001 ? static_cast<float>(t / 0.001) : 1.0f;
        const float s = gain * attack * tailFade(i, n) * (0.55f * (n1 * 0.6f + n2) * noiseEnv + 0.45f * tone * toneEnv);
        out.add(start + i, s, s);
    }
}

void renderClap(StereoBuffer& out, double time, float gain, std::uint64_t seed) {
    Random rng(seed);
    const std::size_t start = secondsToFrame(time);
    const std::size_t n = frameCount(0.3);
    Svf bpL, bpR;
    bpL.setup(1500.0f, 1.3f);
    bpR.setup(1650.0f, 1.3f);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        // Three quick bursts, then the tail.
        double env = 0.0;
        for (int k = 0; k < 3; ++k) {
            const double dt = t - 0.0105 * k;
            if (dt >= 0.0 && dt < 0.0105) env = std::fmax(env, std::exp(-dt / 0.0035));
        }
        if (t >= 0.0315) env = std::fmax(env, 0.8 * std::exp(-(t - 0.0315) / 0.075));
        const float e = static_cast<float>(env) * gain * tailFade(i, n) * 2.2f;
        out.add(start + i, bpL.tick(rng.bipolar()).band * e, bpR.tick(rng.bipolar()).band * e);
    }
}

void renderHat(StereoBuffer& out, double time, float gain, bool open, float pan, std::uint64_t seed) {
    Random rng(seed);
    const std::size_t start = secondsToFrame(time);
    const double decay = open ? 0.12 : 0.022;
    const std::size_t n = frameCount(open ? 0.42 : 0.09);
    Svf hp1, hp2;
    hp1.setup(7200.0f, 0.8f);
    hp2.setup(9000.0f, 0.6f);
    float gl, gr;
    panGains(pan, gl, gr);
    Decay fall(decay);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const float x = hp2.tick(hp1.tick(rng.bipolar()).high).high;
        const float attack = t < 0.0008 ? static_cast<float>(t / 0.0008) : 1.0f;
        const float s = x * gain * attack * fall.next() * tailFade(i, n);
        out.add(start + i, s * gl, s * gr);
    }
}

void renderCrash(StereoBuffer& out, double time, float gain, std::uint64_t seed) {
    Random rng(seed);
    const std::size_t start = secondsToFrame(time);
    const std::size_t n = frameCount(2.6);
    Svf hpL, hpR, bpL, bpR;
    hpL.setup(3800.0f, 0.7f);
    hpR.setup(3900.0f, 0.7f);
    bpL.setup(6500.0f, 0.5f);
    bpR.setup(7000.0f, 0.5f);
    Decay fast(0.08), slow(0.75);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const float attack = t < 0.002 ? static_cast<float>(t / 0.002) : 1.0f;
        const float env = gain * attack * (0.35f * fast.next() + 0.65f * slow.next()) *
                          tailFade(i, n, 4410);
        const float l = hpL.tick(rng.bipolar()).high;
        const float r = hpR.tick(rng.bipolar()).high;
        out.add(start + i, (l + 0.6f * bpL.tick(l).band) * env, (r + 0.6f * bpR.tick(r).band) * env);
    }
}

void renderRide(StereoBuffer& out, double time, float gain, std::uint64_t seed) {
    // Six detuned square waves at inharmonic ratios (a metal plate) with a
    // little noise, band-passed high: a bell-like tick with a short wash.
    Random rng(seed);
    static constexpr double Partials[6] = {587.0, 845.0, 1031.0, 1313.0, 1597.0, 2083.0};
    const std::size_t start = secondsToFrame(time);
    const std::size_t n = frameCount(0.6);
    std::vector<Pulse> oscillators(6);
    Svf bp, hp;
    bp.setup(7800.0f, 1.1f);
    hp.setup(5200.0f, 0.7f);
    Decay fall(0.16), strike(0.01);
    for (std::size_t i = 0; i < n; ++i) {
        float metal = 0.0f;
        for (std::size_t k = 0; k < 6; ++k) metal += oscillators[k].next(Partials[k] * 2.3 / SampleRate);
        const float x = hp.tick(bp.tick(metal * 0.25f + 0.35f * rng.bipolar()).band).high;
        const float s = x * gain * (0.6f * fall.next() + 0.6f * strike.next()) * tailFade(i, n);
        out.add(start + i, s * 0.8f, s * 1.1f);
    }
}

void renderBass(StereoBuffer& out, const NoteSpec& note) {
    const std::size_t start = secondsToFrame(note.time);
    const double release = 0.03;
    const std::size_t n = frameCount(note.length + release * 5.0);
    const double f = noteFrequency(note.note);
    Saw a(0.0), b(0.37);
    Svf lp, hp1, hp2;
    hp1.setup(100.0f, 0.6f);
    hp2.setup(100.0f, 0.6f);
    const double incA = f * std::pow(2.0, 0.07 / 12.0) / SampleRate;
    const double incB = f * std::pow(2.0, -0.07 / 12.0) / SampleRate;
    Adsr env(0.004f, 0.12f, 0.75f, static_cast<float>(release), note.length);
    Decay filterDecay(0.05 / 8.0 * 1.0);
    float filterEnv = 1.0f;
    for (std::size_t i = 0; i < n; ++i) {
        if (i % 8 == 0) {
            const double cutoff = f * (1.5 + 5.0 * note.brightness) * (1.0 + 3.0 * filterEnv);
            filterEnv = filterDecay.next();
            lp.setup(static_cast<float>(cutoff), 0.9f);
        }
        const float raw = 0.5f * (a.next(incA) + b.next(incB));
        const float filtered = lp.tick(raw).low;
        const float cleaned = hp2.tick(hp1.tick(filtered).high).high;
        const float s = cleaned * env.next() * note.gain * tailFade(i, n);
        out.add(start + i, s, s);
    }
}

void renderPad(StereoBuffer& out, double time, double length, const std::vector<int>& notes, float gain,
               float brightness, std::uint64_t seed) {
    Random rng(seed);
    const std::size_t start = secondsToFrame(time);
    const double release = 0.45;
    const std::size_t n = frameCount(length + release * 5.0);
    constexpr int Voices = 4;
    static constexpr double Detune[Voices] = {-0.12, -0.045, 0.05, 0.13};
    std::vector<Saw> saws;
    std::vector<double> increments;
    for (int note : notes) {
        for (int v = 0; v < Voices; ++v) {
            saws.emplace_back(rng.uniform());
            increments.push_back(noteFrequency(note + Detune[v]) / SampleRate);
        }
    }
    Svf lpL, lpR, hpL, hpR;
    lpL.setup(500.0f + 4200.0f * brightness, 0.75f);
    lpR.setup(520.0f + 4300.0f * brightness, 0.75f);
    hpL.setup(190.0f, 0.7f);
    hpR.setup(190.0f, 0.7f);
    const float voiceGain = gain / static_cast<float>(notes.size() * 2);
    Adsr envelope(0.28f, 1.2f, 0.8f, static_cast<float>(release), length);
    for (std::size_t i = 0; i < n; ++i) {
        float l = 0.0f, r = 0.0f;
        for (std::size_t k = 0; k < saws.size(); k += 2) {
            const float s0 = saws[k].next(increments[k]);
            const float s1 = saws[k + 1].next(increments[k + 1]);
            l += s0 * 0.8f + s1 * 0.2f;
            r += s1 * 0.8f + s0 * 0.2f;
        }
        const float env = envelope.next() * voiceGain * tailFade(i, n);
        out.add(start + i, hpL.tick(lpL.tick(l).low).high * env, hpR.tick(lpR.tick(r).low).high * env);
    }
}

void renderPluck(StereoBuffer& out, const NoteSpec& note) {
    const std::size_t start = secondsToFrame(note.time);
    const std::size_t n = frameCount(note.length + 0.35);
    const double f = noteFrequency(note.note);
    Saw a(0.0), b(0.5);
    Pulse p(0.25);
    Svf lp, hp;
    hp.setup(220.0f, 0.7f);
    float gl, gr;
    panGains(note.pan, gl, gr);
    Decay filterDecay(0.07 / 8.0), fall(0.2), release(0.05);
    const std::size_t releaseAt = secondsToFrame(note.length);
    float filterEnv = 1.0f;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        if (i % 8 == 0) {
            const double cutoff = f * 1.2 + (1500.0 + 6500.0 * note.brightness) * filterEnv;
            filterEnv = filterDecay.next();
            lp.setup(static_cast<float>(cutoff), 1.1f);
        }
        const float raw = 0.4f * a.next(f / SampleRate) + 0.3f * b.next(f * 1.004 / SampleRate) +
                          0.3f * p.next(f * 2.0 / SampleRate);
        const float hold = i < releaseAt ? 1.0f : release.next();
        const float env = static_cast<float>(t < 0.002 ? t / 0.002 : 1.0) * fall.next() * hold;
        const float s = hp.tick(lp.tick(raw).low).high * env * note.gain * tailFade(i, n);
        out.add(start + i, s * gl, s * gr);
    }
}

void renderLead(StereoBuffer& out, const NoteSpec& note, double glideFrom) {
    const std::size_t start = secondsToFrame(note.time);
    const double release = 0.12;
    const std::size_t n = frameCount(note.length + release * 5.0);
    Saw a(0.1), b(0.6), c(0.3);
    Pulse p(0.0);
    Svf lp, hp;
    hp.setup(250.0f, 0.7f);
    const double from = glideFrom > 0.0 ? glideFrom : note.note;
    Adsr env(0.008f, 0.25f, 0.72f, static_cast<float>(release), note.length);
    Decay filterDecay(0.12 / 8.0);
    float filterEnv = 1.0f;
    double f = noteFrequency(from);
    for (std::size_t i = 0; i < n; ++i) {
        if (i % 8 == 0) {
            // Pitch (glide, delayed vibrato) and filter move at a 1/8 control rate.
            const double t = static_cast<double>(i) / SampleRate;
            const double glide = t < 0.045 ? from + (note.note - from) * (t / 0.045) : note.note;
            const double vibratoDepth = t < 0.18 ? 0.0 : std::fmin((t - 0.18) / 0.25, 1.0) * 0.22;
            f = noteFrequency(glide + vibratoDepth * std::sin(2.0 * Pi * 5.6 * t));
            const double cutoff = (1400.0 + 5200.0 * note.brightness) * (1.0 + 1.2 * filterEnv);
            filterEnv = filterDecay.next();
            lp.setup(static_cast<float>(cutoff), 0.9f);
        }
        const float raw = 0.32f * a.next(f * 1.006 / SampleRate) + 0.32f * b.next(f * 0.994 / SampleRate) +
                          0.18f * c.next(f * 2.0 / SampleRate) + 0.25f * p.next(f / SampleRate);
        const float s = hp.tick(lp.tick(raw).low).high * env.next() * note.gain * tailFade(i, n);
        out.add(start + i, s, s);
    }
}

void renderBell(StereoBuffer& out, const NoteSpec& note) {
    // Two-operator FM: a bright strike that mellows as the index decays.
    const std::size_t start = secondsToFrame(note.time);
    const std::size_t n = frameCount(note.length + 2.5);
    const double f = noteFrequency(note.note);
    double carrier = 0.0, modulator = 0.0;
    float gl, gr;
    panGains(note.pan, gl, gr);
    Decay indexDecay(0.35), fall(0.9);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double index = (0.6 + 2.2 * note.brightness) * indexDecay.next();
        const double m = std::sin(2.0 * Pi * modulator) * index;
        const double s = std::sin(2.0 * Pi * carrier + m);
        carrier += f / SampleRate;
        modulator += f * 3.5 / SampleRate;
        if (carrier >= 1.0) carrier -= 1.0;
        if (modulator >= 1.0) modulator -= 1.0;
        const double env = (t < 0.003 ? t / 0.003 : 1.0) * fall.next();
        const float v = static_cast<float>(s * env) * note.gain * tailFade(i, n, 2205);
        out.add(start + i, v * gl, v * gr);
    }
}

void renderRiser(StereoBuffer& out, double time, double length, float gain, std::uint64_t seed) {
    Random rng(seed);
    const std::size_t start = secondsToFrame(time);
    const std::size_t n = frameCount(length);
    Svf bpL, bpR;
    for (std::size_t i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(n);
        if (i % 16 == 0) {
            const float cutoff = static_cast<float>(350.0 * std::pow(9000.0 / 350.0, x));
            bpL.setup(cutoff, 2.2f);
            bpR.setup(cutoff * 1.06f, 2.2f);
        }
        const float env = static_cast<float>(x * x) * gain * tailFade(i, n, 220);
        out.add(start + i, bpL.tick(rng.bipolar()).band * env, bpR.tick(rng.bipolar()).band * env);
    }
}

void renderImpact(StereoBuffer& out, double time, double length, float gain, std::uint64_t seed) {
    Random rng(seed);
    const std::size_t start = secondsToFrame(time);
    const std::size_t n = frameCount(length);
    Svf lpL, lpR, hpL, hpR;
    hpL.setup(300.0f, 0.7f);
    hpR.setup(300.0f, 0.7f);
    Decay fall(static_cast<double>(n) / SampleRate / 3.5);
    for (std::size_t i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(n);
        if (i % 16 == 0) {
            const float cutoff = static_cast<float>(10000.0 * std::pow(500.0 / 10000.0, x));
            lpL.setup(cutoff, 1.4f);
            lpR.setup(cutoff * 0.94f, 1.4f);
        }
        const float env = fall.next() * gain * tailFade(i, n, 2205);
        out.add(start + i, hpL.tick(lpL.tick(rng.bipolar()).low).high * env,
                hpR.tick(lpR.tick(rng.bipolar()).low).high * env);
    }
}

}  // namespace Forge
