// The seam between the frame loop and the way the show is being watched.
// Demo::run asks its session once for the clock the frames run on, and in
// every frame lets it act before the clock is read and after the picture is
// composed. The show's own session (this class) changes nothing: the show's
// clock, no input beyond Escape and F10, nothing drawn over the picture. The
// maker's mode (EditSession.h, --edit) is the other implementation.
//
// Use (Demo::run, Demo::frame):
//   MusicClock& c = session.clock(demo, showClock)   once, the music playing.
//   per frame: session.startFrame(demo); ...read c, renderFrame...;
//              session.finishFrame(demo);   then F10 and present.
#pragma once

namespace Vessara {

class Demo;
class MusicClock;

class FrameSession {
public:
    virtual ~FrameSession() = default;
    virtual MusicClock& clock(Demo&, MusicClock& showClock) { return showClock; }
    virtual void startFrame(Demo&) {}
    virtual void finishFrame(Demo&) {}
    // Whether the show ends by itself with the music (Demo::showOver); the
    // maker's mode runs until Escape or the window closes.
    virtual bool endsByItself() const { return true; }
};

}  // namespace Vessara
