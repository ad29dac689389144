// What the maker's mode costs a frame: the show's frames rendered as the
// capture tool's benchmark renders them, each once with the show's own
// session (FrameSession: nothing before or after the frame) and once with an
// EditSession (keys polled, the data directories' watcher read, the status
// line rasterised and drawn), alternating which goes first. Prints the
// medians in milliseconds and in floor units (one bare 512 x 512 copy pass,
// as vessara-capture --bench), per entry and for the whole show, and the
// median of the sessions' own work apart from the picture.
//
//   build/bench_edit_mode [FRAMES_PER_ENTRY]      (default 10; run from the
//                                                  repository root)
#include <epoxy/gl.h>

#include "ShowRenderer.h"

#include "kestrane/FrameServices.h"
#include "vessara/EditSession.h"
#include "vessara/Effects.h"
#include "vessara/Element.h"
#include "vessara/MusicClock.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Eight copy passes between the two 512 x 512 pool elements; ms per pass.
double floorPass(Vessara::Demo& demo)
{
    Vessara::Element& scratch = *Vessara::poolElement(512, demo.scratchPool);
    Vessara::Element& reduced = *Vessara::poolElement(512, demo.reducedPool);
    glFinish();
    const Clock::time_point start = Clock::now();
    for (int pass = 0; pass < 8; ++pass) {
        if (pass % 2 == 0)
            Vessara::copyTarget(scratch, reduced);
        else
            Vessara::copyTarget(reduced, scratch);
    }
    glFinish();
    Kestrane::useScreenTarget();
    return millisecondsSince(start) / 8.0;
}

}  // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    Capture::ShowRenderer renderer(false);
    renderer.startUp();
    Vessara::Demo& demo = renderer.production();
    Vessara::VirtualClock unused(0.0, 1.0 / 60.0);

    Vessara::FrameSession show;
    Vessara::EditSession edit;
    edit.clock(demo, unused);
    Vessara::FrameSession* sessions[2] = {&show, &edit};

    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::printf("%-3s %-14s %10s %10s %10s %10s\n", "#", "entry", "show ms", "edit ms", "show u", "edit u");
    std::vector<double> all[2], sessionWork[2], floors;
    for (std::size_t e = 0; e < demo.timeline.size(); ++e) {
        const Vessara::TimelineEntry& entry = demo.timeline[e];
        std::vector<double> times[2];
        for (int k = 0; k < frames; ++k) {
            const double t = entry.start + (k + 0.5) * (double(entry.end) - entry.start) / frames;
            for (int n = 0; n < 2; ++n) {
                const int which = (k + n) % 2;
                Vessara::FrameSession& session = *sessions[which];
                glFinish();
                Clock::time_point start = Clock::now();
                session.startFrame(demo);
                double own = millisecondsSince(start);
                const Clock::time_point frame = Clock::now();
                renderer.render(t, 1.0 / 60.0);
                glFinish();
                const double picture = millisecondsSince(frame);
                start = Clock::now();
                session.finishFrame(demo);
                glFinish();
                own += millisecondsSince(start);
                times[which].push_back(own + picture);
                sessionWork[which].push_back(own);
            }
            floors.push_back(floorPass(demo));
        }
        const double unit = median(floors);
        std::printf("%-3zu %-14.1f %10.2f %10.2f %10.1f %10.1f\n", e + 1, double(entry.start), median(times[0]),
                    median(times[1]), median(times[0]) / unit, median(times[1]) / unit);
        for (int n = 0; n < 2; ++n)
            all[n].insert(all[n].end(), times[n].begin(), times[n].end());
    }
    const double unit = median(floors);
    std::printf("floor unit: %.3f ms (median of %zu)\n", unit, floors.size());
    std::printf("whole show, median frame: show session %.2f ms = %.1f units, edit session %.2f ms = %.1f units\n",
                median(all[0]), median(all[0]) / unit, median(all[1]), median(all[1]) / unit);
    std::printf("the sessions' own work (before and after the picture), median: show %.3f ms, edit %.3f ms\n",
                median(sessionWork[0]), median(sessionWork[1]));
    renderer.shutDown();
    return 0;
}
