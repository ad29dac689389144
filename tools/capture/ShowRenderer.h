// The production driven by a virtual clock, for captures and the benchmark.
//
// Use:
//   showEnd()                 where the last timeline entry ends (seconds);
//                             needs no GL context.
//   ShowRenderer renderer(wide);
//   renderer.startUp()        window on the current SDL video driver, load,
//                             prepare and warm-up as the show does, then the
//                             music decoded whole (no audio device); a missing
//                             music file is reported and frames get a zero
//                             spectrum.
//   renderer.render(t, dt)    the frame at music time t with frame delta dt and
//                             the spectrum of the decoded music at t (a time with
//                             no entry is black, Demo::renderFrame). Returns how
//                             many GL errors the frame raised (each also reported
//                             on standard error and counted by errorCount()).
//   renderer.finish()         waits until the frame is drawn (glFinish), so
//                             drawing and read-back can be timed apart.
//   renderer.read()           the frame's RGB pixels, top row first.
//   renderer.quitRequested()  true once SDL saw a quit (Ctrl-C, SIGTERM).
//   renderer.shutDown()       releases the GL context.
// The production and its scenes live until process exit, as in the show.
#pragma once

#include "prod/Prod.h"
#include "vessara/MusicPlayer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Capture {

double showEnd();

class ShowRenderer {
public:
    explicit ShowRenderer(bool wide);

    void startUp();
    unsigned render(double time, double frameDelta);
    void finish() const;
    std::vector<std::uint8_t> read() const;
    bool quitRequested() const;
    void shutDown();

    Prod::Prod& production() { return prod; }
    int width() const { return prod.width; }
    int height() const { return prod.height; }
    bool hasMusic() const { return music.hasStream(); }

private:
    Prod::Prod prod;
    Vessara::MusicPlayer music;
};

}  // namespace Capture
