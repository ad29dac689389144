#include "RangeCapture.h"

#include "FrameSink.h"
#include "Progress.h"
#include "ShowRenderer.h"
#include "VideoEncoder.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace Capture {

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

    Progress progress(frames, Progress::terminal());
    long done = 0;
    bool interrupted = false, failed = false;
    for (long n = 0; n < frames; ++n) {
        if (renderer.quitRequested()) {
            interrupted = true;
            break;
        }
        renderer.render(frameTime(options.from, options.fps, n), frameDelta);
        if (!sink->write(n, renderer.read(), error)) {
            failed = true;
            break;
        }
        done = n + 1;
        progress.update(done);
    }
    progress.finish();
    if (failed)
        std::fprintf(stderr, "vessara-capture: %s\n", error.c_str());

    std::string finishError;
    if (!sink->finish(finishError)) {
        std::fprintf(stderr, "vessara-capture: %s\n", finishError.c_str());
        failed = true;
    }
    renderer.shutDown();

    if (failed)
        return EXIT_FAILURE;
    if (interrupted) {
        std::fprintf(stderr, "vessara-capture: interrupted: %ld of %ld frames written to %s\n", done, frames,
                     options.out.c_str());
        return EXIT_FAILURE;
    }
    std::printf("vessara-capture: %ld frames (%.3f to %.3f s at %g fps) written to %s\n", frames, options.from,
                frameTime(options.from, options.fps, frames), options.fps, options.out.c_str());
    return EXIT_SUCCESS;
}

}  // namespace Capture
