// Program entry of the browser build: the page (index.html) calls main once
// the runtime and the data are loaded, with the arguments its address asks
// for:
//   (none)              the show, from a click that also starts the sound,
//                       on the browser's frame loop until it ends or Escape.
//   --from SECONDS      the same, starting at that music time.
//   --at SECONDS [--frames N]
//                       the picture at one music time, rendered as the capture
//                       tool renders it (a virtual clock at 60 frames a
//                       second, the spectrum of the decoded music, no sound),
//                       then handed to the page as "/frame.png"; with N > 1,
//                       N frames from there, timed, the last one handed over.
// Scenes, effects, content and timeline are the production's own; only the
// platform layer below them differs from the desktop program's.
#include "kestrane/Context.h"
#include "kestrane/FrameServices.h"
#include "kestrane/GL.h"
#include "kestrane/Messages.h"
#include "prod/Prod.h"
#include "vessara/MusicClock.h"
#include "vessara/MusicPlayer.h"

#include <emscripten.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <string>


EM_JS(void, vessara_page_frame, (const char* path, int frames, double seconds, int glErrors), {
    if (Module['onFrame']) Module['onFrame'](UTF8ToString(path), frames, seconds, glErrors);
});

EM_JS(void, vessara_page_ended, (int status), {
    if (Module['onEnded']) Module['onEnded'](status);
});

namespace {

struct Request {
    bool single = false;
    double at = 0.0;
    int frames = 1;
    double from = 0.0;
};

Request readArguments(int argc, char** argv)
{
    Request request;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--at") {
            request.single = true;
            request.at = std::atof(value);
        } else if (name == "--frames") {
            request.frames = std::max(1, std::atoi(value));
        } else if (name == "--from") {
            request.from = std::atof(value);
        } else {
            Kestrane::fatal("Vessara", "unknown page argument " + name);
        }
    }
    return request;
}

// The production and its clocks live until the page closes, as the desktop
// program's live until process exit.
Prod::Prod* production = nullptr;
std::unique_ptr<Vessara::MusicClock> playerClock;
Vessara::MusicClock* showClock = nullptr;  // the session's, on playerClock

void showFrame(void*)
{
    if (production->frame(*showClock))
        return;
    emscripten_cancel_main_loop();
    production->shutDown();
    vessara_page_ended(0);
}

void renderPictures(Prod::Prod& prod, const Request& request)
{
    Vessara::MusicPlayer music;
    prod.startUpDecoding(music);

    Vessara::VirtualClock clock(request.at, 1.0 / 60.0, &music);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < request.frames; ++i) {
        const float time = clock.time();
        clock.spectrum(prod.spectrum);
        prod.renderFrame(time, clock.frameDelta(), nullptr);
        // Reading one pixel waits for the frame, so the timing holds the
        // drawing and not only its commands.
        unsigned char pixel[4];
        glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    }
    // Every GL error since start-up, loading and warm-up included.
    while (Kestrane::checkError()) {
    }
    const unsigned long glErrors = Kestrane::errorCount();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const char* path = "/frame.png";
    prod.context->saveScreenshot(path);
    vessara_page_frame(path, request.frames, seconds, int(glErrors));
}

}  // namespace

int main(int argc, char** argv)
{
    Kestrane::enableMessageBoxes(true);
    const Request request = readArguments(argc, argv);
    try {
        production = new Prod::Prod(false);
        production->fullscreen = false;
        if (request.single) {
            renderPictures(*production, request);
            return EXIT_SUCCESS;
        }
        // The page sizes the canvas to the window; the picture keeps its 4:3
        // inside it, as in a resized window on the desktop.
        production->startOffset = float(request.from);
        if (!production->musicPath.empty()) {
            production->music = std::make_unique<Vessara::MusicPlayer>();
            production->music->startDecoding(production->musicPath);
        }
        production->startUp();
        playerClock = production->startMusic();
        showClock = &production->session->clock(*production, *playerClock);
        emscripten_set_main_loop_arg(showFrame, nullptr, 0, 1);
    } catch (const std::exception& failure) {
        Kestrane::fatal("Kestrane Error", std::string("Start-up failed: ") + failure.what());
    } catch (...) {
        Kestrane::fatal("Kestrane Error", "Start-up failed: an engine call raised an error");
    }
    return EXIT_SUCCESS;
}
