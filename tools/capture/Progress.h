// The capture's progress line on a terminal: frames done, frames per second,
// time left, redrawn in place at most four times a second.
//
// Use:
//   Progress progress(total, enabled)   enabled: pass Progress::terminal(),
//                             true only when standard error is a terminal,
//                             so logs and pipes stay quiet.
//   progress.update(done)     after each frame.
//   progress.finish()         ends the line (once, at the end).
//   formatProgress(done, total, fps, secondsLeft)   the line's text.
// Reads the wall clock (steady_clock) only to report; frames never depend on it.
#pragma once

#include <chrono>
#include <string>

namespace Capture {

std::string formatProgress(long done, long total, double fps, double secondsLeft);

class Progress {
public:
    Progress(long total, bool enabled);
    static bool terminal();

    void update(long done);
    void finish();

private:
    using Clock = std::chrono::steady_clock;
    long total;
    bool enabled;
    bool drawn = false;
    long done = 0;
    Clock::time_point started;
    Clock::time_point lastDrawn;
};

}  // namespace Capture
