// vessara-capture: renders the show without a display.
//
//   vessara-capture --at SECONDS --out FILE.png [--wide]
//   vessara-capture [--from S] [--to S] [--fps N] [--wide] --out DIR|FILE.mp4
//   vessara-capture --bench [--frames N] [--fps N] [--wide]
//   vessara-capture --sheet FILE.png [--wide]
//
// Starts the production on SDL's offscreen video driver (unless
// SDL_VIDEODRIVER names another), loads and warms up as the show does, and
// renders on a virtual clock with the music's spectrum at each frame's time.
// --at writes the 800 x 600 screen at one music time as FILE.png and says how
// long the process took from its start to that frame; a range is
// written as numbered PNG frames or as a video with the music (RangeCapture.h);
// --bench prints frame times (Benchmark.h); --sheet tiles one frame of each
// scene into a contact sheet (ContactSheet.h). --wide uses the 800 x 450
// letterbox viewport of vessara-wide. Options are in CaptureOptions.h.
// Exit status 0 on success, 1 on an error while rendering or writing, 2 for
// bad options or an output that cannot be written, found before rendering.
// Like the show, it reads its data from the current directory or from beside
// the program (vessara/ContentRoot.h); --out is taken relative to the
// directory it was started in.
#include "Benchmark.h"
#include "CaptureOptions.h"
#include "ContactSheet.h"
#include "FrameCapture.h"
#include "FrameSink.h"
#include "ProcessStats.h"
#include "RangeCapture.h"
#include "ShowRenderer.h"

#include "kestrane/Messages.h"
#include "prod/Prod.h"
#include "vessara/ContentRoot.h"
#include "vessara/MusicClock.h"
#include "vessara/MusicPlayer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

namespace {

using Capture::Options;

constexpr int badOptions = 2;

int capture(const Options& options)
{
    Prod::Prod prod(options.wide);
    prod.fullscreen = false;
    // The spectrum comes from the decoded music at the requested time; no
    // audio device is opened. It decodes while the show loads.
    Vessara::MusicPlayer music;
    prod.startUpDecoding(music);
    Vessara::VirtualClock clock(options.at, 1.0 / options.fps, &music);
    const float time = clock.time();
    clock.spectrum(prod.spectrum);
    prod.renderFrame(time, clock.frameDelta(), nullptr);

    const auto pixels = Capture::readFrame(prod.width, prod.height);
    const double startUpSeconds = Capture::secondsSinceStart();
    std::string error;
    if (!Capture::writePng(options.out, prod.width, prod.height, pixels, error)) {
        std::fprintf(stderr, "vessara-capture: %s\n", error.c_str());
        return EXIT_FAILURE;
    }
    prod.shutDown();
    if (startUpSeconds >= 0)
        std::printf("vessara-capture: %s written; %.2f s from process start to the frame read back\n",
                    options.out.c_str(), startUpSeconds);
    return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    std::string error;
    if (!Capture::parseOptions({argv + 1, argv + argc}, Capture::showEnd(), options, error)) {
        std::fprintf(stderr, "vessara-capture: %s (see --help)\n", error.c_str());
        return badOptions;
    }
    if (options.mode == Capture::Mode::Help) {
        std::fputs(Capture::usageText().c_str(), stdout);
        return EXIT_SUCCESS;
    }
    std::string ffmpeg;
    if (options.mode != Capture::Mode::Bench) {
        // Fixed before the program changes into the content root.
        options.out = std::filesystem::absolute(options.out).string();
        if (options.outKind == Capture::OutputKind::Video) {
            ffmpeg = Capture::findOnPath("ffmpeg", std::getenv("PATH"));
            if (ffmpeg.empty()) {
                std::fprintf(stderr,
                             "vessara-capture: ffmpeg was not found on PATH, so %s cannot be encoded: install "
                             "ffmpeg, or use --out DIR for numbered PNG frames\n",
                             options.out.c_str());
                return badOptions;
            }
        }
        if (!Capture::prepareOutput(options.out, options.outKind, error)) {
            std::fprintf(stderr, "vessara-capture: %s\n", error.c_str());
            return badOptions;
        }
    }
    Vessara::enterContentRoot();
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    try {
        switch (options.mode) {
        case Capture::Mode::Frame:
            return capture(options);
        case Capture::Mode::Range:
            return Capture::captureRange(options, ffmpeg);
        case Capture::Mode::Sheet:
            return Capture::captureSheet(options);
        default:
            return Capture::runBenchmark(options);
        }
    } catch (const std::exception& failure) {
        Kestrane::fatal("Kestrane Error", std::string("Start-up failed: ") + failure.what());
    } catch (...) {
        Kestrane::fatal("Kestrane Error", "Start-up failed: an engine call raised an error");
    }
}
