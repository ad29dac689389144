// The capture tool's benchmark: how long the show takes to start and to render
// a frame of each timeline entry. Prints figures; passes or fails nothing.
//
// Use:
//   runBenchmark(options)     starts the show offscreen, renders
//                             options.benchFrames frames spread evenly over each
//                             timeline entry (frame delta 1 / fps) and prints the
//                             table on standard output; returns the exit status.
// A frame's time is Demo::renderFrame plus glFinish, the work the show does
// for a frame before presenting it. Start-up runs from process start (window,
// data, warm-up, music decode) to the end of the first frame.
// The floor unit is the cost of one bare full-screen 512 x 512 one-texture pass
// (the show's copyTarget), timed after every frame of the same run; frames
// are also given in floor units, which compare across runs on a machine whose
// speed varies, and across machines.
//   summarize(ms)             median, worst and frames per second of a sample.
//   showMedian(entries)       median frame of the whole show: each entry's
//                             frames weigh in proportion to the entry's length.
//   formatTable(report)       the printed table.
#pragma once

#include "CaptureOptions.h"

#include <string>
#include <vector>

namespace Capture {

struct Figures {
    double median = 0.0;  // milliseconds per frame
    double worst = 0.0;
    double fps = 0.0;     // 1000 / median
};
Figures summarize(std::vector<double> milliseconds);

struct EntryTiming {
    std::string scene;
    double start = 0.0, end = 0.0;
    std::vector<double> milliseconds;
};
double showMedian(const std::vector<EntryTiming>& entries);

struct BenchReport {
    std::string renderer;  // GL_RENDERER
    int width = 800, height = 600;
    double fps = 60.0;
    int framesPerEntry = 0;
    double loadSeconds = 0.0;
    double floorMilliseconds = 0.0;  // one 512 x 512 one-texture pass; 0: not measured
    int floorSamples = 0;
    std::vector<EntryTiming> entries;
};
std::string formatTable(const BenchReport& report);

int runBenchmark(const Options& options);

}  // namespace Capture
