// The music as a score: every drum hit, note, chord and sweep of the piece,
// placed in beats at 163 beats per minute, plus the section plan it follows
// (the show's scene boundaries) and the master fade of the ending.
//
// Use:
//   const Score score = composeScore();
//   score.seconds(beat)          beat -> seconds at the score's tempo
//   score.kicks, score.bass ...  the events per instrument, in time order
//   score.sections               {start beat, name}; the last one is "end"
// composeScore() is a pure function: the same score on every call. Music.h
// renders it to samples.
#pragma once

#include <string>
#include <vector>

namespace Forge {

struct DrumHit {
    double beat;
    float gain;
};

struct ScoreNote {
    double beat;
    double length;  // beats
    double note;    // MIDI note number
    float gain;
    float brightness;
    float pan = 0.0f;
};

struct ChordEvent {
    double beat;
    double length;  // beats
    std::vector<int> notes;
    float gain;
    float brightness;
};

struct SweepEvent {
    double beat;
    double length;  // beats
    float gain;
};

struct Section {
    double startBeat;
    std::string name;
};

struct Score {
    double tempo = 163.0;
    double endBeat = 0.0;  // the piece, with its ending, lasts this long
    std::vector<Section> sections;  // ascending; the last marks the end of the show
    std::vector<double> accentBeats;
    std::vector<DrumHit> kicks, snares, claps, closedHats, openHats, rides, crashes;
    std::vector<ScoreNote> bass, plucks, leads, bells;
    std::vector<ChordEvent> pads;
    std::vector<SweepEvent> risers, impacts;
    double fadeStartBeat = 0.0;  // master level eases from 1 ...
    double fadeEndBeat = 0.0;    // ... to fadeFloor here
    float fadeFloor = 0.0f;

    double seconds(double beat) const { return beat * 60.0 / tempo; }
    double beats(double seconds) const { return seconds * tempo / 60.0; }
};

Score composeScore();

}  // namespace Forge
