// The clock the demo runtime asks for its time, once per frame. Nothing else
// in the program reads wall time.
//
// Use, per frame in this order:
//   time()            seconds of music time now.
//   frameDelta()      seconds since the previous frameDelta() (or creation).
//   spectrum(out256)  256 spectrum magnitudes at that time; false leaves out256
//                     as it was (no music).
// At any time:
//   musicLength()     seconds of music the clock follows, 0 when it follows
//                     none; time() goes on counting past it (the show decides
//                     when it is over, Demo::showOver).
// PlayerClock follows a playing MusicPlayer, or the performance counter from
// startOffset when there is no music (none asked for, missing or undecodable).
// VirtualClock steps a fixed frame time from a start time, with the spectrum
// read from decoded music when given: the capture tool and tests use it.
// Clocks do not own the player they read.
#pragma once

#include "kestrane/Timer.h"

namespace Vessara {

class MusicPlayer;

class MusicClock {
public:
    virtual ~MusicClock() = default;
    virtual float time() = 0;
    virtual float frameDelta() = 0;
    virtual bool spectrum(float* out256) = 0;
    virtual double musicLength() const = 0;
};

class PlayerClock : public MusicClock {
public:
    // player may be null, or hold no stream: the clock then runs on the
    // performance counter from startOffset.
    PlayerClock(const MusicPlayer* player, float startOffset);
    explicit PlayerClock(const MusicPlayer* player, float startOffset, Kestrane::TickSource ticks);

    float time() override;
    float frameDelta() override;
    bool spectrum(float* out256) override;
    double musicLength() const override;

private:
    bool followsMusic() const;

    const MusicPlayer* player;
    float startOffset;
    Kestrane::Timer timer;
};

class VirtualClock : public MusicClock {
public:
    // The first time() is `start`; each later call is one `step` on.
    VirtualClock(double start, double step, const MusicPlayer* music = nullptr);

    float time() override;
    float frameDelta() override { return float(step); }
    bool spectrum(float* out256) override;
    double musicLength() const override;

    double now() const { return current; }

private:
    double next;
    double current;
    double step;
    const MusicPlayer* music;
};

}  // namespace Vessara
