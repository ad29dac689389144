#include "Progress.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace Capture {

std::string formatProgress(long done, long total, double fps, double secondsLeft)
{
    char line[96];
    if (fps > 0.0 && std::isfinite(secondsLeft)) {
        const long left = std::lround(std::max(secondsLeft, 0.0));
        std::snprintf(line, sizeof line, "frame %ld/%ld  %.1f fps  %ld:%02ld left", done, total, fps, left / 60,
                      left % 60);
    } else {
        std::snprintf(line, sizeof line, "frame %ld/%ld", done, total);
    }
    return line;
}

Progress::Progress(long frames, bool show)
    : total(frames), enabled(show), started(Clock::now()), lastDrawn(started)
{
}

bool Progress::terminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

void Progress::update(long frames)
{
    done = frames;
    if (!enabled)
        return;
    const Clock::time_point now = Clock::now();
    if (drawn && done < total && now - lastDrawn < std::chrono::milliseconds(250))
        return;
    lastDrawn = now;
    const double seconds = std::chrono::duration<double>(now - started).count();
    const double fps = seconds > 0.0 ? double(done) / seconds : 0.0;
    const double left = fps > 0.0 ? double(total - done) / fps : NAN;
    // \033[K clears what a longer previous line left behind.
    std::fprintf(stderr, "\r%s\033[K", formatProgress(done, total, fps, left).c_str());
    std::fflush(stderr);
    drawn = true;
}

void Progress::finish()
{
    if (enabled && drawn) {
        std::fputc('\n', stderr);
        std::fflush(stderr);
        drawn = false;
    }
}

}  // namespace Capture
