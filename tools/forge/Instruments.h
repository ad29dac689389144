// The synthesised instruments of the music: each call renders one hit or one
// note, added into a stereo buffer at a time in seconds.
//
// Use:
//   StereoBuffer bus(frames);
//   renderKick(bus, 1.25, 1.0f);                    a drum hit at 1.25 s
//   renderBass(bus, {time, length, note, gain, brightness});
//   renderPad(bus, time, length, {57, 60, 64}, gain, brightness, seed);
// Low frequencies are kept for the kick alone: every other instrument is
// high-passed (bass above about 100 Hz, the rest higher), so the music's
// lowest spectrum bins follow the kick drum. Noise comes from Random seeded
// per hit, so a hit renders the same samples every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Forge {

class StereoBuffer {
public:
    explicit StereoBuffer(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    std::size_t frames() const { return left.size(); }
    void add(std::size_t i, float l, float r) {
        if (i < left.size()) {
            left[i] += l;
            right[i] += r;
        }
    }
    std::vector<float> left, right;
};

// One pitched note: time and length in seconds, pitch as a MIDI note number.
struct NoteSpec {
    double time;
    double length;
    double note;
    float gain;
    float brightness;  // 0 dark .. 1 bright: filter opening
    float pan = 0.0f;  // -1 left .. 1 right
};

std::size_t secondsToFrame(double seconds);

// Drums.
void renderKick(StereoBuffer& out, double time, float gain);
void renderSnare(StereoBuffer& out, double time, float gain, std::uint64_t seed);
void renderClap(StereoBuffer& out, double time, float gain, std::uint64_t seed);
void renderHat(StereoBuffer& out, double time, float gain, bool open, float pan, std::uint64_t seed);
void renderCrash(StereoBuffer& out, double time, float gain, std::uint64_t seed);
void renderRide(StereoBuffer& out, double time, float gain, std::uint64_t seed);

// Pitched instruments.
void renderBass(StereoBuffer& out, const NoteSpec& n);
void renderPad(StereoBuffer& out, double time, double length, const std::vector<int>& notes, float gain,
               float brightness, std::uint64_t seed);
void renderPluck(StereoBuffer& out, const NoteSpec& n);
void renderLead(StereoBuffer& out, const NoteSpec& n, double glideFrom);
void renderBell(StereoBuffer& out, const NoteSpec& n);

// Effects: a noise sweep rising in pitch and level over length seconds, and
// a falling one after an accent.
void renderRiser(StereoBuffer& out, double time, double length, float gain, std::uint64_t seed);
void renderImpact(StereoBuffer& out, double time, double length, float gain, std::uint64_t seed);

}  // namespace Forge
