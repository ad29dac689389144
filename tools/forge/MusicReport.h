// The music report: checks the rendered or decoded music against what the
// show needs of it. It follows the player's spectrum at 60 frames per second
// (512-sample Hann FFT from vessara/Spectrum.h) and runs the engine's beat
// trigger (vessara/BeatTrigger.h: level above 0.3, 0.15 s hold) on
// bins 0 and 1, matching its firings with the score's kicks; it measures
// level, and looks for the section changes in the spectrum.
//
// Use:
//   MusicReport r = analyseMusic(pcm, score);   pcm: decoded music.mp3
//   printReport(r, std::cout);
//   writeSpectrogram(pcm, score, "spectrogram.png", &error);
// Pure analysis: nothing is kept between calls.
#pragma once

#include "Instruments.h"
#include "Score.h"

#include <ostream>
#include <string>
#include <vector>

namespace Forge {

struct TriggerStats {
    int bin = 0;
    int kicks = 0;           // kicks in the score
    int kicksFired = 0;      // kicks on which the trigger fired
    int firings = 0;         // all firings
    int firingsAway = 0;     // firings not on a kick (or a second one on the same kick)
    float weakestKickPeak = 0.0f;  // lowest peak level of the bin over a kick
    double weakestKickBeat = 0.0;  // ... at this beat
    float loudestAway = 0.0f;      // highest level of the bin away from kicks
};

struct SectionLevel {
    std::string name;
    double startBeat = 0.0, endBeat = 0.0;
    double rmsDb = 0.0, peakDb = 0.0;
};

struct BoundaryCheck {
    double beat = 0.0;
    double novelty = 0.0;  // spectral change across the beat
    int rank = 0;          // 1 = largest change of all candidate beats
    bool found = false;    // a local maximum, at most one bar away, standing above the usual change
    double foundAt = 0.0;  // where that maximum is
};

struct AccentCheck {
    double beat = 0.0;
    double riseDb = 0.0;  // high-band level on the accent beat over the section's median beat
};

struct MusicReport {
    double durationSeconds = 0.0;
    double peakDb = 0.0;
    double rmsDb = 0.0;
    int clippedSamples = 0;  // |sample| >= 1
    TriggerStats triggers[2];
    std::vector<SectionLevel> sections;
    std::vector<BoundaryCheck> boundaries;
    double usualChange = 0.0;  // median change over all candidate beats
    std::vector<std::pair<double, double>> changes;  // (beat, change) of every candidate, every 4 beats
    std::vector<double> strongestChanges;  // the candidate beats with the largest change, in order
    std::vector<AccentCheck> accents;
    double buildRiseDb = 0.0;  // high-band level of the build (456-460) over the four beats before
};

MusicReport analyseMusic(const StereoBuffer& pcm, const Score& score);
void printReport(const MusicReport& report, std::ostream& out);
bool writeSpectrogram(const StereoBuffer& pcm, const Score& score, const std::string& path, std::string* error);

}  // namespace Forge
