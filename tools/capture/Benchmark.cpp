#include <epoxy/gl.h>

#include "Benchmark.h"

#include "ShowRenderer.h"

#include "kestrane/FrameServices.h"
#include "vessara/Effects.h"
#include "vessara/SceneName.h"

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

namespace Capture {

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Seconds since this process started, from the kernel's start time of the
// process (field 22 of /proc/self/stat, in clock ticks since boot); a negative
// value where that cannot be read.
double secondsSinceProcessStart()
{
    std::ifstream file("/proc/self/stat");
    std::string line;
    if (!std::getline(file, line))
        return -1.0;
    const auto close = line.rfind(')');  // the command name may hold spaces
    if (close == std::string::npos)
        return -1.0;
    std::istringstream fields(line.substr(close + 1));
    std::string field;
    for (int number = 3; number <= 22 && fields >> field; ++number)
        if (number == 22) {
            timespec now{};
            const long ticks = sysconf(_SC_CLK_TCK);
            if (ticks <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0)
                return -1.0;
            return double(now.tv_sec) + double(now.tv_nsec) / 1e9 - std::stod(field) / double(ticks);
        }
    return -1.0;
}

// The floor unit: a batch of full-screen copy passes between the two 512 x 512
// pool elements (scratch and reduced, both only ever hold intermediate
// pictures), ended by glFinish; appends the batch's milliseconds per pass.
constexpr int FloorPassesPerBatch = 8;

void timeFloor(Vessara::Demo& demo, std::vector<double>& perPass, int batches = 1)
{
    Vessara::Element& scratch = *Vessara::poolElement(512, demo.scratchPool);
    Vessara::Element& reduced = *Vessara::poolElement(512, demo.reducedPool);
    glFinish();
    for (int batch = 0; batch < batches; ++batch) {
        const Clock::time_point start = Clock::now();
        for (int pass = 0; pass < FloorPassesPerBatch; ++pass) {
            if (pass % 2 == 0)
                Vessara::copyTarget(scratch, reduced);
            else
                Vessara::copyTarget(reduced, scratch);
        }
        glFinish();
        perPass.push_back(millisecondsSince(start) / FloorPassesPerBatch);
    }
    Kestrane::useScreenTarget();
}

std::string row(const char* number, const std::string& scene, const char* range, const Figures& f, double floor)
{
    char units[40] = "       -        -";  // no floor measured
    if (floor > 0.0)
        std::snprintf(units, sizeof units, "%8.1f %8.1f", f.median / floor, f.worst / floor);
    char text[200];
    std::snprintf(text, sizeof text, "%3s  %-26s %-13s %9.2f %9.2f %s %6.1f\n", number, scene.c_str(), range, f.median,
                  f.worst, units, f.fps);
    return text;
}

}  // namespace

Figures summarize(std::vector<double> ms)
{
    Figures figures;
    if (ms.empty())
        return figures;
    std::sort(ms.begin(), ms.end());
    const std::size_t middle = ms.size() / 2;
    figures.median = ms.size() % 2 ? ms[middle] : (ms[middle - 1] + ms[middle]) / 2.0;
    figures.worst = ms.back();
    figures.fps = figures.median > 0.0 ? 1000.0 / figures.median : 0.0;
    return figures;
}

double showMedian(const std::vector<EntryTiming>& entries)
{
    std::vector<std::pair<double, double>> weighted;  // milliseconds, weight
    double total = 0.0;
    for (const EntryTiming& entry : entries)
        for (double ms : entry.milliseconds) {
            const double weight = (entry.end - entry.start) / double(entry.milliseconds.size());
            weighted.emplace_back(ms, weight);
            total += weight;
        }
    if (weighted.empty() || total <= 0.0)
        return 0.0;
    std::sort(weighted.begin(), weighted.end());
    double below = 0.0;
    for (std::size_t i = 0; i < weighted.size(); ++i) {
        below += weighted[i].second;
        // Exactly half the weight below and half above: between the two.
        if (std::fabs(below - total / 2.0) < 1e-9 * total && i + 1 < weighted.size())
            return (weighted[i].first + weighted[i + 1].first) / 2.0;
        if (below > total / 2.0)
            return weighted[i].first;
    }
    return weighted.back().first;
}

std::string formatTable(const BenchReport& report)
{
    std::string table;
    char line[200];
    std::snprintf(line, sizeof line, "renderer: %s; picture %d x %d; %d frames per entry, frame delta 1/%g s\n",
                  report.renderer.c_str(), report.width, report.height, report.framesPerEntry, report.fps);
    table += line;
    std::snprintf(line, sizeof line, "start-up (process start to first frame): %.2f s\n", report.loadSeconds);
    table += line;
    if (report.floorMilliseconds > 0.0)
        std::snprintf(line, sizeof line,
                      "floor unit (one 512 x 512 one-texture pass): %.3f ms, median of %d batches\n\n",
                      report.floorMilliseconds, report.floorSamples);
    else
        std::snprintf(line, sizeof line, "floor unit: not measured\n\n");
    table += line;
    std::snprintf(line, sizeof line, "%3s  %-26s %-13s %9s %9s %8s %8s %6s\n", "#", "scene", "seconds", "median ms",
                  "worst ms", "median u", "worst u", "fps");
    table += line;
    std::vector<double> all;
    for (std::size_t i = 0; i < report.entries.size(); ++i) {
        const EntryTiming& entry = report.entries[i];
        char number[24], range[48];
        std::snprintf(number, sizeof number, "%zu", i + 1);
        std::snprintf(range, sizeof range, "%.2f-%.2f", entry.start, entry.end);
        table += row(number, entry.scene, range, summarize(entry.milliseconds), report.floorMilliseconds);
        all.insert(all.end(), entry.milliseconds.begin(), entry.milliseconds.end());
    }
    // The whole show: its median weighs each entry by its length.
    Figures whole = summarize(all);
    whole.median = showMedian(report.entries);
    whole.fps = whole.median > 0.0 ? 1000.0 / whole.median : 0.0;
    table += row("", "whole show", "", whole, report.floorMilliseconds);
    return table;
}

int runBenchmark(const Options& options)
{
    BenchReport report;
    report.fps = options.fps;
    report.framesPerEntry = options.benchFrames;
    const double frameDelta = 1.0 / options.fps;

    const Clock::time_point loadStart = Clock::now();
    const double startedBefore = secondsSinceProcessStart();
    ShowRenderer renderer(options.wide);
    renderer.startUp();
    Vessara::Demo& demo = renderer.production();
    if (demo.timeline.empty()) {
        std::fprintf(stderr, "vessara-capture: the show's timeline is empty: nothing to time\n");
        return EXIT_FAILURE;
    }
    report.renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    report.width = demo.viewportWidth;
    report.height = demo.viewportHeight;

    // Frame k of an entry sits in the middle of the k-th of N equal slices, so
    // the samples cover the whole entry and never land on its boundaries.
    auto sampleTime = [&](const Vessara::TimelineEntry& entry, int k) {
        return entry.start + (k + 0.5) * (double(entry.end) - entry.start) / options.benchFrames;
    };
    renderer.render(sampleTime(demo.timeline.front(), 0), frameDelta);
    glFinish();
    report.loadSeconds = millisecondsSince(loadStart) / 1000.0 + std::max(startedBefore, 0.0);

    // The floor is timed after every frame, so that it shares the moods of a
    // machine whose speed varies with the frames it measures.
    std::vector<double> floorPasses;
    timeFloor(demo, floorPasses, 4);
    for (const Vessara::TimelineEntry& entry : demo.timeline) {
        EntryTiming timing{Vessara::sceneName(demo, entry.drawable), entry.start, entry.end, {}};
        for (int k = 0; k < options.benchFrames; ++k) {
            if (renderer.quitRequested()) {
                std::fprintf(stderr, "vessara-capture: benchmark interrupted\n");
                return EXIT_FAILURE;
            }
            const Clock::time_point start = Clock::now();
            renderer.render(sampleTime(entry, k), frameDelta);
            glFinish();
            timing.milliseconds.push_back(millisecondsSince(start));
            timeFloor(demo, floorPasses);
        }
        report.entries.push_back(std::move(timing));
    }
    report.floorMilliseconds = summarize(floorPasses).median;
    report.floorSamples = int(floorPasses.size());
    renderer.shutDown();

    std::fputs(formatTable(report).c_str(), stdout);
    return EXIT_SUCCESS;
}

}  // namespace Capture
