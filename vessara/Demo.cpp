#include "kestrane/GL.h"

#include "vessara/Demo.h"

#include "kestrane/Context.h"
#include "kestrane/DisplayMode.h"
#include "kestrane/FrameServices.h"
#include "kestrane/GLDialect.h"
#include "kestrane/Keyboard.h"
#include "kestrane/Messages.h"
#include "kestrane/Platform.h"
#include "kestrane/State.h"
#include "vessara/ContentRoot.h"
#include "vessara/DataPreload.h"
#include "vessara/Drawable.h"
#include "vessara/MusicClock.h"
#include "vessara/MusicPlayer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace Vessara {

namespace {

// Audio problems never stop the show, so they only go to standard error (a
// box would hold the picture on machines without sound).
void reportAudioProblem(const std::string& text)
{
    std::fprintf(stderr, "BASS: %s\n", text.c_str());
    std::fflush(stderr);
}

}  // namespace

Demo::Demo() = default;

Demo::~Demo() = default;

void Demo::load()
{
    // Productions override load() and call this first.
    loadDataDirectories(*this);
    buildPools(*this);
}

void Demo::run()
{
    // The music decodes on its own thread while everything else loads.
    if (!musicPath.empty()) {
        music = std::make_unique<MusicPlayer>();
        music->startDecoding(musicPath);
    }
    startUp();
    std::unique_ptr<MusicClock> clock = startMusic();
    time = 0.0f;
    frameDelta = 0.0f;
    Kestrane::refreshKeyboard();
    if (!Kestrane::keyDown(Kestrane::Key::Escape))
        runFrames(session->clock(*this, *clock));
    shutDown();
}

void Demo::startUp()
{
    context = new Kestrane::Context(width, height, depthBits, stencilBits, samples, pixelType,
                                    resizableWindow ? Kestrane::WindowStyle::Resizable
                                                    : Kestrane::WindowStyle::Borderless);
    if (fullscreen && desktopResolution)
        Kestrane::setDesktopFullScreen();
    else if (fullscreen)
        Kestrane::setDisplayMode(width, height, 32);

    load();

    // Every drawable is prepared, then drawn once, so that first-use costs
    // (shader variants, buffer set-up) are paid before the music starts.
    // Nothing shows these pictures, so the scissor test keeps the drawing to
    // one pixel: every draw call and pass still runs, but a renderer without
    // a GPU is spared filling the screen and the effect targets for each.
    // By index: a scene may create drawables of its own (a sky box) while it
    // is prepared or drawn, which appends to the list under the loop.
    for (std::size_t i = 0; i < drawables.size(); ++i)
        drawables[i]->prepare();
    glScissor(0, 0, 1, 1);
    glEnable(GL_SCISSOR_TEST);
    for (std::size_t i = 0; i < drawables.size(); ++i)
        drawables[i]->draw();
    glDisable(GL_SCISSOR_TEST);
    // The first frame step presents the back buffer as it is now: black,
    // not the warm-up's drawing.
    clearWindow();

    // Loading freed many large buffers (files, decoded images) on several
    // threads; give their pages back rather than carry them through the show.
    Kestrane::releaseFreedMemory();
}

void Demo::startUpDecoding(MusicPlayer& player)
{
    if (!musicPath.empty())
        player.startDecoding(musicPath);
    startUp();
    if (!musicPath.empty() && !player.createStream(musicPath))
        Kestrane::showMessage("BASS", "BASS error, file not found?\n" + player.error() +
                                          " (frames get an empty spectrum)");
}

std::unique_ptr<MusicClock> Demo::startMusic()
{
    if (musicPath.empty())
        return std::make_unique<PlayerClock>(nullptr, startOffset);

    if (!music)
        music = std::make_unique<MusicPlayer>();
    if (!music->init())
        reportAudioProblem("BASS error\n" + music->error() + " (the show runs silently on the wall clock)");
    if (!music->createStream(musicPath))
        reportAudioProblem("BASS error, file not found?\n" + music->error());
    // The start offset in bytes of 44.1 kHz 16-bit stereo, truncated to 32 bits.
    const double bytes = double(startOffset) * musicBytesPerSecond;
    music->setPosition(bytes > 0 ? std::uint64_t(std::uint32_t(bytes)) : 0);
    if (!music->play())
        reportAudioProblem("BASS error, can not play stream?\n" + music->error() +
                           " (the show runs on the performance counter)");
    return std::make_unique<PlayerClock>(music.get(), startOffset);
}

void Demo::runFrames(MusicClock& clock)
{
    while (frame(clock)) {
    }
}

bool Demo::frame(MusicClock& clock)
{
    if (!context->pumpMessages())
        return false;
    if (session->endsByItself() && showOver(clock))
        return false;

    session->startFrame(*this);
    const float now = clock.time();
    const float delta = clock.frameDelta();
    clock.spectrum(spectrum);
    renderFrame(now, delta, nullptr);
    session->finishFrame(*this);

    if (Kestrane::keyDown(Kestrane::Key::F10))
        saveScreenshot();
    return !Kestrane::keyDown(Kestrane::Key::Escape);
}

bool Demo::showOver(const MusicClock& clock) const
{
    // `time` is the previous frame's. endTime stays the latest end; the
    // music clock keeps counting past the music's end, so the show stops
    // itself once nothing is left to show or hear.
    if (!(time < endTime))
        return true;
    return time >= timelineEnd() && time >= clock.musicLength();
}

void Demo::renderFrame(float now, float delta, const float* spectrum256)
{
    time = now;
    frameDelta = delta;
    if (spectrum256)
        std::copy(spectrum256, spectrum256 + 256, spectrum);

    bool composed = false;
    for (const TimelineEntry& entry : timeline)
        if (entry.activeAt(time)) {
            composeEntry(entry);
            composed = true;
        }
    // Before the first entry, on an exact boundary and after the last, the
    // back buffer may still hold an older frame: show black instead.
    if (!composed)
        clearWindow();
}

void Demo::composeEntry(const TimelineEntry& entry)
{
    Kestrane::setMultisample(false);
    Kestrane::State::resetRenderState();
    entry.drawable->frameStep(entry.start, entry.end - entry.start);

    // Each active entry clears the whole window before placing its picture,
    // so the bands outside the viewport stay black. The window is the
    // width x height screen after a mode switch; in a resized window or on
    // the desktop the screen is scaled to fit it.
    clearWindow();
    const Kestrane::Window* window = Kestrane::Context::current->window;
    const Rectangle picture = pictureViewport(window->width(), window->height());
    Kestrane::State::setViewport(picture.x, picture.y, picture.width, picture.height);
    entry.drawable->compose();
}

void Demo::clearWindow()
{
    Kestrane::useScreenTarget();
    const Kestrane::Window* window = Kestrane::Context::current->window;
    Kestrane::State::setViewport(0, 0, window->width(), window->height());
    Kestrane::clear(0, 0, 0, 0, true, true, true);
}

Demo::Rectangle Demo::pictureViewport(int windowWidth, int windowHeight) const
{
    // One scale for both axes, the smaller fit; the scaled screen centred.
    // Edges are rounded rather than sizes, so opposite bars differ by at
    // most a pixel.
    const double scale = std::min(double(windowWidth) / width, double(windowHeight) / height);
    const double left = (windowWidth - width * scale) / 2.0;
    const double bottom = (windowHeight - height * scale) / 2.0;
    const int x0 = int(std::lround(left + viewportX * scale));
    const int y0 = int(std::lround(bottom + viewportY * scale));
    const int x1 = int(std::lround(left + (viewportX + viewportWidth) * scale));
    const int y1 = int(std::lround(bottom + (viewportY + viewportHeight) * scale));
    return {x0, y0, x1 - x0, y1 - y0};
}

void Demo::saveScreenshot()
{
    Kestrane::useScreenTarget();
    char name[32];
    std::snprintf(name, sizeof name, "dump%i.png", screenshotCounter);
    // Into the directory the user started the show in, not the content root.
    const std::string path = userPath(name);
    context->saveScreenshot(path.c_str());
    Kestrane::fileWritten(path);
    ++screenshotCounter;
}

void Demo::shutDown()
{
    if (music)
        music->free();
    if (fullscreen)
        Kestrane::restoreDisplayMode();
    if (context)
        context->destroy();
}

float Demo::timelineEnd() const
{
    float end = 0.0f;
    for (const TimelineEntry& entry : timeline)
        end = std::max(end, entry.end);
    return end;
}

std::vector<std::size_t> Demo::activeEntries(float at) const
{
    std::vector<std::size_t> active;
    for (std::size_t i = 0; i < timeline.size(); ++i)
        if (timeline[i].activeAt(at))
            active.push_back(i);
    return active;
}

}  // namespace Vessara
