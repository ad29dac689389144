// vessara-capture: renders one frame of the show without a display.
//
//   vessara-capture --at SECONDS --out FILE.png [--wide]
//
// Starts the production on SDL's offscreen video driver (unless
// SDL_VIDEODRIVER names another), loads and warms up as the show does, renders
// the frame at music time SECONDS with the music's spectrum at that time, and
// writes the 800 x 600 screen as FILE.png. --wide uses the 800 x 450
// letterbox viewport of vessara-wide. Exit status 0 on success, 1 on error.
#include "FrameCapture.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Messages.h"
#include "prod/Prod.h"
#include "vessara/MusicClock.h"
#include "vessara/MusicPlayer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

namespace {

struct Options {
    double at = 0.0;
    std::string out;
    bool wide = false;
};

[[noreturn]] void usage(const std::string& problem)
{
    std::fprintf(stderr, "vessara-capture: %s\nusage: vessara-capture --at SECONDS --out FILE.png [--wide]\n",
                 problem.c_str());
    std::exit(EXIT_FAILURE);
}

Options parse(int argc, char** argv)
{
    Options options;
    bool haveAt = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--wide") {
            options.wide = true;
        } else if (arg == "--at" || arg == "--out") {
            if (i + 1 >= argc)
                usage(arg + " needs a value");
            const std::string value = argv[++i];
            if (arg == "--out") {
                options.out = value;
            } else {
                char* end = nullptr;
                options.at = std::strtod(value.c_str(), &end);
                if (value.empty() || *end != '\0' || !(options.at >= 0.0) || options.at > 1e6)
                    usage("--at wants a time in seconds, not \"" + value + "\"");
                haveAt = true;
            }
        } else {
            usage("unknown argument \"" + arg + "\"");
        }
    }
    if (!haveAt)
        usage("--at is missing");
    if (options.out.empty())
        usage("--out is missing");
    return options;
}

int capture(const Options& options)
{
    Prod::Prod prod(options.wide);
    prod.fullscreen = false;
    prod.startUp();

    // The spectrum comes from the decoded music at the requested time; no
    // audio device is opened.
    Vessara::MusicPlayer music;
    if (!prod.musicPath.empty() && !music.createStream(prod.musicPath))
        Kestrane::showMessage("BASS", "BASS error, file not found?\n" + music.error() +
                                          " (frames get an empty spectrum)");
    // A time with no entry active leaves the screen as it was: start from
    // black rather than from the warm-up's drawing.
    Kestrane::useScreenTarget();
    Kestrane::clear(0, 0, 0, 0, true, true, true);

    Vessara::VirtualClock clock(options.at, 1.0 / 60.0, &music);
    const float time = clock.time();
    clock.spectrum(prod.spectrum);
    prod.renderFrame(time, clock.frameDelta(), nullptr);

    const auto pixels = Capture::readFrame(prod.width, prod.height);
    std::string error;
    if (!Capture::writePng(options.out, prod.width, prod.height, pixels, error)) {
        std::fprintf(stderr, "vessara-capture: %s\n", error.c_str());
        return EXIT_FAILURE;
    }
    prod.shutDown();
    return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char** argv)
{
    const Options options = parse(argc, argv);
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    try {
        return capture(options);
    } catch (const std::exception& failure) {
        Kestrane::fatal("Kestrane Error", std::string("Start-up failed: ") + failure.what());
    } catch (...) {
        Kestrane::fatal("Kestrane Error", "Start-up failed: an engine call raised an error");
    }
}
