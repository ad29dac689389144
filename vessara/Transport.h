// The maker's mode clock: the show's music clock with a transport on it.
// Pausing, stepping and jumping all set this one clock (and the music with
// it); the frame path reads it like any other MusicClock, so a scene sees
// after a jump the same time it would see after --from to that point.
//
// Use (one per edit session, made once the music plays):
//   Transport t(player, startOffset, timeline, tempo[, ticks])
//       player: the show's music, or null / without a stream (then the
//       transport runs on the tick source from startOffset, as PlayerClock).
//   per frame: time(), frameDelta(), spectrum(out256)   (MusicClock)
//       time() wraps a loop back to its entry's start. While paused time()
//       holds, frameDelta() is 0 and the spectrum is the one at the held time.
//   togglePause()              pauses music and picture / resumes from there.
//   stepBeats(n)               to the n-th beat line before (n < 0) or after
//                              the time now: n = +-1 a beat, +-4 a bar; lines
//                              are whole multiples of |n| beats.
//   previousEntry(), nextEntry(), home()
//                              the start of the timeline entry before or after
//                              the one at the time now, or the show's start
//                              (entryLead in, like an entry's).
//   toggleLoop()               loops the entry shown now until called again.
//   seek(seconds)              any time, clamped to the show; the music plays
//                              from exactly there (to the sample).
// Entry starts and the show's start are reached a millisecond in (entryLead):
// at its start itself an entry is not shown yet (start < time is strict).
// The transport does not own the player or the timeline it reads.
#pragma once

#include "kestrane/Timer.h"
#include "vessara/MusicClock.h"
#include "vessara/TimelineEntry.h"

#include <vector>

namespace Vessara {

class MusicPlayer;

class Transport : public MusicClock {
public:
    static constexpr double entryLead = 0.001;

    Transport(MusicPlayer* player, float startOffset, const std::vector<TimelineEntry>& timeline, float tempo,
              Kestrane::TickSource ticks = Kestrane::performanceCounter());

    float time() override;
    float frameDelta() override;
    bool spectrum(float* out256) override;
    double musicLength() const override;

    void togglePause();
    void seek(double seconds);
    void stepBeats(int beats);
    void previousEntry();
    void nextEntry();
    void home();
    void toggleLoop();

    bool paused() const { return isPaused; }
    bool looping() const { return loopEntry >= 0; }
    // The entry looped, or -1.
    int loopedEntry() const { return loopEntry; }
    // The time the last time() returned, in seconds and in beats.
    double now() const { return current; }
    double beatAt(double seconds) const { return seconds * tempo / 60.0; }
    // Index of the entry shown at `seconds` (the last active one in list
    // order, as composing leaves it on screen), or -1.
    int shownEntry(double seconds) const;

private:
    bool followsMusic() const;
    double read();
    // Index into `order` of the entry whose start is the latest at or before
    // `seconds`, or -1 before the first.
    int entryAtOrBefore(double seconds) const;
    void jumpToEntry(int orderIndex);

    MusicPlayer* player;
    const std::vector<TimelineEntry>& timeline;
    std::vector<int> order;  // timeline indices sorted by start
    double tempo;
    double showEnd = 0.0;
    Kestrane::Timer timer;
    double timerOffset;  // without music: time = timer.elapsed() + timerOffset
    bool isPaused = false;
    double held = 0.0;
    double current = 0.0;
    int loopEntry = -1;
};

}  // namespace Vessara
