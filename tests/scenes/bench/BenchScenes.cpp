// Median milliseconds per frame of the first scenes of the show, on the
// current GL implementation: each scene is rendered for a run of consecutive
// frames (1/60 s apart) through the demo's frame step, glFinish included.
//
//   bench_scenes [FRAMES]      run from the repository root (reads data/)
#include "SceneFixture.h"

#include "prod/Animation.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Run {
    const char* name;
    float start;  // seconds of the show
};

double medianMilliseconds(float start, int frames)
{
    Prod::Prod& prod = SceneTests::sharedProd();
    float spectrum[256] = {};
    std::vector<double> times;
    for (int i = 0; i < frames; ++i) {
        const auto before = std::chrono::steady_clock::now();
        prod.renderFrame(start + float(i) / 60.0f, 1.0f / 60.0f, spectrum);
        glFinish();
        const auto after = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(after - before).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    auto beat = [](double b) { return Prod::atBeat(b, 163.0f); };
    const Run runs[] = {
        {"Pils, first entry (t = 1.5 s)", 1.5f},
        {"ShinyCross, sculpture (T = 2)", beat(12) + 1.6f},
        {"ShinyCross, swarm gathered (T = 6)", beat(12) + 4.8f},
        {"ShinyCross, logo (T = 12)", beat(12) + 9.6f},
        {"Pils, second entry", beat(140) + 2.0f},
        {"PilsTakeoff, before the takeoff", beat(396) + 10.0f},
        {"PilsTakeoff, last four beats", beat(396) + beat(61)},
    };
    SceneTests::sharedProd();
    const GLubyte* renderer = glGetString(GL_RENDERER);
    std::printf("renderer: %s\nframes per run: %d (800 x 600 screen, 512 x 512 scene target)\n",
                renderer ? reinterpret_cast<const char*>(renderer) : "?", frames);
    medianMilliseconds(1.0f, 3);  // first-use costs
    for (const Run& run : runs)
        std::printf("%-40s median %8.2f ms\n", run.name, medianMilliseconds(run.start, frames));
    return 0;
}
