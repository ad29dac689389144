#include <epoxy/gl.h>

#include "Benchmark.h"

#include "ShowRenderer.h"

#include <cxxabi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace Capture {

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// "Pils" for a Prod::Pils; a plain element stands in for a scene not written
// yet and is shown by the name it registered under, when that name is its own.
std::string sceneName(const Vessara::Demo& demo, const Vessara::Drawable* drawable)
{
    int status = 0;
    const char* mangled = typeid(*drawable).name();
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                     std::free);
    std::string type = status == 0 && demangled ? demangled.get() : mangled;
    if (type == "Vessara::Element") {
        for (const auto& [name, registered] : demo.cache)
            if (registered == drawable)
                return name + " (placeholder)";
        return "placeholder";
    }
    if (const auto colons = type.rfind("::"); colons != std::string::npos)
        type = type.substr(colons + 2);
    return type;
}

std::string row(const char* number, const std::string& scene, const char* range, const Figures& f)
{
    char text[160];
    std::snprintf(text, sizeof text, "%3s  %-26s %-17s %9.2f %9.2f %7.1f\n", number, scene.c_str(), range, f.median,
                  f.worst, f.fps);
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

std::string formatTable(const BenchReport& report)
{
    std::string table;
    char line[200];
    std::snprintf(line, sizeof line, "renderer: %s; picture %d x %d; %d frames per entry, frame delta 1/%g s\n",
                  report.renderer.c_str(), report.width, report.height, report.framesPerEntry, report.fps);
    table += line;
    std::snprintf(line, sizeof line, "load (start-up to first frame): %.2f s\n\n", report.loadSeconds);
    table += line;
    std::snprintf(line, sizeof line, "%3s  %-26s %-17s %9s %9s %7s\n", "#", "scene", "seconds", "median ms",
                  "worst ms", "fps");
    table += line;
    std::vector<double> all;
    for (std::size_t i = 0; i < report.entries.size(); ++i) {
        const EntryTiming& entry = report.entries[i];
        char number[24], range[48];
        std::snprintf(number, sizeof number, "%zu", i + 1);
        std::snprintf(range, sizeof range, "%.2f-%.2f", entry.start, entry.end);
        table += row(number, entry.scene, range, summarize(entry.milliseconds));
        all.insert(all.end(), entry.milliseconds.begin(), entry.milliseconds.end());
    }
    table += row("", "whole show", "", summarize(all));
    return table;
}

int runBenchmark(const Options& options)
{
    BenchReport report;
    report.fps = options.fps;
    report.framesPerEntry = options.benchFrames;
    const double frameDelta = 1.0 / options.fps;

    const Clock::time_point loadStart = Clock::now();
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
    report.loadSeconds = millisecondsSince(loadStart) / 1000.0;

    for (const Vessara::TimelineEntry& entry : demo.timeline) {
        EntryTiming timing{sceneName(demo, entry.drawable), entry.start, entry.end, {}};
        for (int k = 0; k < options.benchFrames; ++k) {
            if (renderer.quitRequested()) {
                std::fprintf(stderr, "vessara-capture: benchmark interrupted\n");
                return EXIT_FAILURE;
            }
            const Clock::time_point start = Clock::now();
            renderer.render(sampleTime(entry, k), frameDelta);
            glFinish();
            timing.milliseconds.push_back(millisecondsSince(start));
        }
        report.entries.push_back(std::move(timing));
    }
    renderer.shutDown();

    std::fputs(formatTable(report).c_str(), stdout);
    return EXIT_SUCCESS;
}

}  // namespace Capture
