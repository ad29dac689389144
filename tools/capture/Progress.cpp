#include "Progress.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace Capture {

std::string formatProgress(long done, long total, double fps, double secondsLeft)
{
    char line[112];
    const double percent = total > 0 ? 100.0 * double(done) / double(total) : 100.0;
    if (fps > 0.0 && std::isfinite(secondsLeft)) {
        const long left = std::lround(std::max(secondsLeft, 0.0));
        std::snprintf(line, sizeof line, "frame %ld/%ld  %.1f%%  %.1f fps  %ld:%02ld left", done, total, percent,
                      fps, left / 60, left % 60);
    } else {
        std::snprintf(line, sizeof line, "frame %ld/%ld  %.1f%%", done, total, percent);
    }
    return line;
}

Progress::Progress(long frames, bool show, Clock now, std::FILE* stream)
    : total(frames), enabled(show), clock(std::move(now)), out(stream), started(clock())
{
}

bool Progress::terminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

double Progress::steadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void Progress::update(long frames)
{
    done = frames;
    if (!enabled)
        return;
    const double now = clock();
    if (drawn && done < total && now - lastDrawn < 0.25)
        return;
    lastDrawn = now;
    const double seconds = now - started;
    const double fps = seconds > 0.0 ? double(done) / seconds : 0.0;
    const double left = fps > 0.0 ? double(total - done) / fps : NAN;
    // \033[K clears what a longer previous line left behind.
    std::fprintf(out, "\r%s\033[K", formatProgress(done, total, fps, left).c_str());
    std::fflush(out);
    drawn = true;
}

void Progress::finish()
{
    if (enabled && drawn) {
        std::fputc('\n', out);
        std::fflush(out);
        drawn = false;
    }
}

}  // namespace Capture
