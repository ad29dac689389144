// The capture's progress line on a terminal: frames done, the percentage,
// frames per second and the time left, redrawn in place at most four times a
// second.
//
// Use:
//   Progress progress(total, enabled)   enabled: pass Progress::terminal(),
//                             true only when standard error is a terminal,
//                             so logs and pipes stay quiet.
//   progress.update(done)     after each frame.
//   progress.finish()         ends the line (once, at the end).
//   formatProgress(done, total, fps, secondsLeft)   the line's text.
// Reads the wall clock (steady_clock) only to report; frames never depend on
// it. Tests pass their own clock (seconds) and output stream.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace Capture {

std::string formatProgress(long done, long total, double fps, double secondsLeft);

class Progress {
public:
    using Clock = std::function<double()>;  // seconds, steady

    Progress(long total, bool enabled, Clock clock = steadySeconds, std::FILE* out = stderr);
    static bool terminal();
    static double steadySeconds();

    void update(long done);
    void finish();

private:
    long total;
    bool enabled;
    Clock clock;
    std::FILE* out;
    bool drawn = false;
    long done = 0;
    double started;
    double lastDrawn = 0.0;
};

}  // namespace Capture
