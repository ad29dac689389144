// Signal-processing building blocks of the music synthesiser: band-limited
// oscillators, a state-variable filter, envelopes, a stereo delay and a
// reverb, all single-channel objects stepped one sample at a time.
//
// Use:
//   Saw saw;  float s = saw.next(freq / SampleRate);      PolyBLEP sawtooth
//   Svf f;  f.setup(cutoffHz, q);  Svf::Out o = f.tick(x);  o.low / band / high
//   Adsr env(a, d, s, r, noteLength);  env.next()           envelope, per sample
//   Reverb rv;  rv.tick(inL, inR, outL, outR);               stereo room
// Objects hold only their own state (no allocation after construction) and
// are plain values: one per voice or per bus, living as long as it plays.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Forge {

inline constexpr int SampleRate = 44100;
inline constexpr double Pi = 3.14159265358979323846;

// Frequency of a MIDI note number (69 = A4 = 440 Hz); fractional notes bend.
inline double noteFrequency(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

inline float dbToGain(float db) { return std::pow(10.0f, db / 20.0f); }

// Sawtooth with the PolyBLEP correction at the wrap, phase in [0, 1).
class Saw {
public:
    explicit Saw(double startPhase = 0.0) : phase(startPhase) {}
    float next(double increment) {
        double t = phase;
        float value = static_cast<float>(2.0 * t - 1.0);
        value -= blep(t, increment);
        phase += increment;
        if (phase >= 1.0) phase -= std::floor(phase);
        return value;
    }
    static float blep(double t, double dt) {
        if (t < dt) {
            t /= dt;
            return static_cast<float>(t + t - t * t - 1.0);
        }
        if (t > 1.0 - dt) {
            t = (t - 1.0) / dt;
            return static_cast<float>(t * t + t + t + 1.0);
        }
        return 0.0f;
    }

private:
    double phase;
};

// Square/pulse wave from two PolyBLEP saws.
class Pulse {
public:
    explicit Pulse(double startPhase = 0.0) : a(startPhase), b(startPhase + 0.5) {}
    float next(double increment) { return 0.5f * (a.next(increment) - b.next(increment)); }

private:
    Saw a, b;
};

// Sine oscillator with a running phase (in cycles).
class Sine {
public:
    float next(double increment) {
        float v = static_cast<float>(std::sin(2.0 * Pi * phase));
        phase += increment;
        if (phase >= 1.0) phase -= std::floor(phase);
        return v;
    }
    double phase = 0.0;
};

// Topology-preserving state-variable filter (trapezoidal integration):
// stable under fast cutoff modulation.
class Svf {
public:
    struct Out {
        float low, band, high;
    };
    void setup(float cutoffHz, float q) {
        float fc = std::fmin(cutoffHz, 0.45f * SampleRate);
        fc = std::fmax(fc, 5.0f);
        g = std::tan(static_cast<float>(Pi) * fc / SampleRate);
        k = 1.0f / q;
        a1 = 1.0f / (1.0f + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }
    Out tick(float x) {
        const float v3 = x - ic2;
        const float v1 = a1 * ic1 + a2 * v3;
        const float v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0f * v1 - ic1;
        ic2 = 2.0f * v2 - ic2;
        return {v2, v1, x - k * v1 - v2};
    }

private:
    float g = 0.0f, k = 1.0f, a1 = 0.0f, a2 = 0.0f, a3 = 0.0f;
    float ic1 = 0.0f, ic2 = 0.0f;
};

// One-pole smoother / low-pass.
class OnePole {
public:
    void setup(float cutoffHz) { coefficient = 1.0f - std::exp(-2.0f * static_cast<float>(Pi) * cutoffHz / SampleRate); }
    float tick(float x) {
        state += coefficient * (x - state);
        return state;
    }

private:
    float coefficient = 1.0f;
    float state = 0.0f;
};

// Exponential decay stepped one sample at a time: value() starts at 1 and
// falls by 1/e every timeConstant seconds.
class Decay {
public:
    explicit Decay(double timeConstant) : factor(static_cast<float>(std::exp(-1.0 / (timeConstant * SampleRate)))) {}
    float next() {
        const float v = value;
        value *= factor;
        return v;
    }

private:
    float factor;
    float value = 1.0f;
};

// Attack-decay-sustain-release envelope of a note held for noteLength
// seconds, stepped one sample at a time: linear attack, exponential decay
// towards the sustain level, exponential release.
class Adsr {
public:
    Adsr(float attack, float decay, float sustain, float release, double noteLength)
        : attackStep(1.0f / std::fmax(attack * SampleRate, 1.0f)),
          decayFactor(static_cast<float>(std::exp(-1.0 / (decay * SampleRate)))),
          releaseFactor(static_cast<float>(std::exp(-1.0 / (release * SampleRate)))),
          sustainLevel(sustain),
          releaseAt(static_cast<long long>(noteLength * SampleRate)) {}
    float next() {
        const float v = level;
        if (sample++ >= releaseAt) {
            level *= releaseFactor;
        } else if (attacking) {
            level += attackStep;
            if (level >= 1.0f) {
                level = 1.0f;
                attacking = false;
            }
        } else {
            level = sustainLevel + (level - sustainLevel) * decayFactor;
        }
        return v;
    }

private:
    float attackStep, decayFactor, releaseFactor, sustainLevel;
    long long releaseAt;
    long long sample = 0;
    float level = 0.0f;
    bool attacking = true;
};

// Feedback delay line of a fixed length in samples.
class DelayLine {
public:
    explicit DelayLine(std::size_t length) : buffer(length > 0 ? length : 1, 0.0f) {}
    float read() const { return buffer[position]; }
    void write(float x) {
        buffer[position] = x;
        if (++position == buffer.size()) position = 0;
    }

private:
    std::vector<float> buffer;
    std::size_t position = 0;
};

// Stereo reverb: eight damped feedback combs and four all-passes per
// channel with slightly different lengths left and right.
class Reverb {
public:
    explicit Reverb(float roomSize = 0.84f, float damping = 0.3f);
    void tick(float inLeft, float inRight, float& outLeft, float& outRight);

private:
    struct Comb {
        DelayLine line;
        float filterState = 0.0f;
    };
    struct AllPass {
        DelayLine line;
    };
    float feedback, damp;
    std::vector<Comb> combsL, combsR;
    std::vector<AllPass> allPassL, allPassR;
};

}  // namespace Forge
