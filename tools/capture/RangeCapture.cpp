#include "RangeCapture.h"

#include "FrameSink.h"
#include "FrameWriter.h"
#include "ProcessStats.h"
#include "Progress.h"
#include "ShowRenderer.h"
#include "VideoEncoder.h"

#include "kestrane/FrameServices.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace Capture {

namespace {

using Clock = std::chrono::steady_clock;

// Frames that may wait for the writer: enough to ride out a slow PNG or a
// moment of ffmpeg catching up, few enough to stay small (1.4 MB each).
constexpr std::size_t writerQueueFrames = 4;

double seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct PipelineTimes {
    double render = 0.0;  // drawing until the frame is complete
    double read = 0.0;    // read-back and turning it upright
};

double megabytes(long kib)
{
    return double(kib) / 1024.0;
}

// Where a capture's time went, per frame, and its memory and GL error count:
// what a long capture (the whole show) is judged by.
void report(const PipelineTimes& times, const FrameWriter& writer, long frames, long quarterFrame,
            const MemoryUse& quarter, const MemoryUse& last)
{
    const double perFrame = 1000.0 / double(frames);
    std::printf("vessara-capture: per frame: render %.1f ms, read back %.1f ms, waiting for the writer %.1f ms "
                "(it spent %.1f ms writing, on its own thread)\n",
                times.render * perFrame, times.read * perFrame, writer.waitSeconds() * perFrame,
                writer.writeSeconds() * perFrame);
    if (quarter.residentKiB > 0)
        std::printf("vessara-capture: resident memory %.1f MB after frame %ld (a quarter), %.1f MB after the last "
                    "(%+.2f%%), peak %.1f MB; %lu GL errors\n",
                    megabytes(quarter.residentKiB), quarterFrame, megabytes(last.residentKiB),
                    100.0 * double(last.residentKiB - quarter.residentKiB) / double(quarter.residentKiB),
                    megabytes(last.peakKiB), Kestrane::errorCount());
    std::fflush(stdout);
}

}  // namespace

int captureRange(const Options& options, const std::string& ffmpeg)
{
    const long frames = frameCount(options.from, options.to, options.fps);
    const double frameDelta = 1.0 / options.fps;

    ShowRenderer renderer(options.wide);
    renderer.startUp();

    std::string error;
    std::unique_ptr<FrameSink> sink;
    if (options.outKind == OutputKind::Video) {
        VideoSettings video;
        video.ffmpeg = ffmpeg;
        video.out = options.out;
        video.width = renderer.width();
        video.height = renderer.height();
        video.fps = options.fps;
        video.from = options.from;
        video.duration = double(frames) / options.fps;
        if (renderer.hasMusic())
            video.music = renderer.production().musicPath;
        else
            std::fprintf(stderr, "vessara-capture: no music could be read: the video will be silent\n");
        auto encoder = std::make_unique<VideoEncoder>();
        if (!encoder->start(video, error)) {
            std::fprintf(stderr, "vessara-capture: %s\n", error.c_str());
            return EXIT_FAILURE;
        }
        sink = std::move(encoder);
    } else {
        sink = std::make_unique<PngDirectory>(options.out, renderer.width(), renderer.height());
    }

    // Rendering and read-back stay on this thread; encoding and writing run
    // on the writer's, a few frames behind.
    FrameWriter writer(*sink, writerQueueFrames);
    Progress progress(frames, Progress::terminal());
    PipelineTimes times;
    MemoryUse quarter, last;
    const long quarterFrame = std::max(1L, (frames + 3) / 4);
    long done = 0;
    bool interrupted = false, failed = false;
    for (long n = 0; n < frames; ++n) {
        if (renderer.quitRequested()) {
            interrupted = true;
            break;
        }
        auto start = Clock::now();
        renderer.render(frameTime(options.from, options.fps, n), frameDelta);
        renderer.finish();
        times.render += seconds(start);
        start = Clock::now();
        std::vector<std::uint8_t> rgb = renderer.read();
        times.read += seconds(start);
        if (!writer.push(n, std::move(rgb), error)) {
            failed = true;
            break;
        }
        done = n + 1;
        progress.update(done);
        // Both taken right after a hand-over, so the writer's queue weighs
        // the same in each.
        if (done == quarterFrame)
            quarter = readMemory();
        if (done == frames)
            last = readMemory();
    }
    std::string finishError;
    if (!failed && !writer.finish(error))
        failed = true;
    if (done < frames)
        last = readMemory();
    progress.finish();
    if (failed)
        std::fprintf(stderr, "vessara-capture: %s\n", error.c_str());

    if (!sink->finish(finishError)) {
        std::fprintf(stderr, "vessara-capture: %s\n", finishError.c_str());
        failed = true;
    }
    renderer.shutDown();

    if (done > 0)
        report(times, writer, done, quarterFrame, quarter, last);
    if (failed)
        return EXIT_FAILURE;
    if (interrupted) {
        std::fprintf(stderr, "vessara-capture: interrupted: %ld of %ld frames written to %s\n", writer.written(),
                     frames, options.out.c_str());
        return EXIT_FAILURE;
    }
    std::printf("vessara-capture: %ld frames (%.3f to %.3f s at %g fps) written to %s\n", frames, options.from,
                frameTime(options.from, options.fps, frames), options.fps, options.out.c_str());
    return EXIT_SUCCESS;
}

}  // namespace Capture
