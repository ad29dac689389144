// The object that runs the show: settings, the drawable registry, the timeline,
// and the run that opens the window, loads, plays the music and renders frame
// after frame locked to it.
//
// Use:
//   Demo() / a production's constructor   settings (fields below).
//   run()                 the whole show: the music starts decoding on a thread
//                         of its own (MusicPlayer::startDecoding), then
//                         startUp(), startMusic(), frames on a
//                         PlayerClock until the show is over (below), Escape
//                         or a window close, shutDown().
// The steps of run, each usable on its own (capture tool, tests):
//   startUp()             context, full screen (when fullscreen: a display
//                         switch, or the desktop's resolution), load(),
//                         prepare() then one warm-up draw() of every drawable
//                         (scissored to one pixel: the calls, not the filling);
//                         then the window is cleared to black, so the first
//                         frame presented is defined.
//   startUpDecoding(music)
//                         startUp() while `music`, a player without output
//                         (pictures on a virtual clock), decodes musicPath;
//                         a missing or undecodable file is reported, and the
//                         frames then get an empty spectrum.
//   startMusic()          plays musicPath from startOffset; reports failures
//                         titled "BASS" and goes on; returns the clock to run on.
//   runFrames(clock)      the frame loop on any clock (see frame()); run()
//                         passes the clock its session gives (FrameSession.h).
//   frame(clock)          one loop step: present the previous frame, stop when
//                         the show is over (a session that ends by itself),
//                         session's startFrame, read the clock, renderFrame,
//                         session's finishFrame, F10 screenshot, Escape.
//                         false = leave the loop.
//   showOver(clock)       true once the previous frame's time reached endTime,
//                         or lay past both the last timeline entry's end and
//                         the end of the music the clock follows (a clock
//                         following no music counts as finished): the show
//                         ends with the music rather than showing black until
//                         endTime.
//   renderFrame(time, frameDelta, spectrum256)
//                         sets the clock fields and composes every timeline entry
//                         with start < time < end into the viewport; with none
//                         active the window is cleared to black, so no frame
//                         shows leftovers. Nothing is presented. spectrum256
//                         null keeps the spectrum.
//   pictureViewport(windowWidth, windowHeight)
//                         where the viewport lands in a window of that size: the
//                         width x height screen scaled to fit, aspect kept and
//                         centred (black bars beside or above it), the viewport
//                         scaled with it. A window of width x height (the mode
//                         switch, the capture tool) gives the viewport itself.
//   shutDown()            music freed, display restored, GL context released.
// Drawables and resources the demo registers live until process exit; the
// demo frees only its containers.
#pragma once

#include "vessara/CameraBlock.h"
#include "vessara/Drawable.h"
#include "vessara/FrameSession.h"
#include "vessara/ResourceProxies.h"
#include "vessara/ResourceProxy.h"
#include "vessara/TimelineEntry.h"

#include <memory>
#include <string>
#include <vector>

namespace Kestrane {
class Context;
}

namespace Vessara {

class MusicClock;
class MusicPlayer;

class Demo : public DrawableResourceProxy {
public:
    Demo();
    virtual ~Demo();
    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    virtual void load();
    void run();

    void startUp();
    void startUpDecoding(MusicPlayer& music);
    std::unique_ptr<MusicClock> startMusic();
    void runFrames(MusicClock& clock);
    bool frame(MusicClock& clock);
    bool showOver(const MusicClock& clock) const;
    void renderFrame(float time, float frameDelta, const float* spectrum256);
    void shutDown();

    struct Rectangle {
        int x, y, width, height;
    };
    Rectangle pictureViewport(int windowWidth, int windowHeight) const;

    // Indices of the timeline entries shown at `time` (start < time < end).
    std::vector<std::size_t> activeEntries(float time) const;
    // Where the last timeline entry ends (0 for an empty timeline).
    float timelineEnd() const;

    std::vector<TimelineEntry> timeline;
    bool fullscreen = false;
    // With fullscreen: cover the desktop at its own resolution instead of
    // switching the display to width x height.
    bool desktopResolution = false;
    // Without fullscreen: an ordinary window the user can move and resize
    // rather than the borderless one at the top-left.
    bool resizableWindow = false;
    int width = 800;
    int height = 600;
    int depthBits = 24;
    int stencilBits = 8;
    int samples = 0;
    int pixelType = 0;
    float endTime = 240.0f;
    std::string musicPath;
    float startOffset = 0.0f;
    int viewportX = 0;
    int viewportY = 0;
    int viewportWidth = width;
    int viewportHeight = height;
    float tempo = 0.0f;
    float spectrum[512] = {};
    float time = 0.0f;
    float frameDelta = 0.0f;
    // Resource caches by bare file name, filled by load() (ResourceProxies.h).
    TextureResourceProxy textures;
    PixelShaderResourceProxy pixelShaders;
    VertexShaderResourceProxy vertexShaders;
    CompleteShaderResourceProxy shaders;
    VXMResourceProxy meshes;
    // Square scratch render targets by size 4..1024, built by load() (Element.h).
    ElementPool scratchPool;
    ElementPool reducedPool;
    // The current camera and texture shared by scenes and standard drawables.
    CameraBlock camera;

    Kestrane::Context* context = nullptr;  // lives until process exit
    std::unique_ptr<MusicPlayer> music;    // null without musicPath
    int screenshotCounter = 0;
    // How the show is watched: the show's own session (no input but Escape
    // and F10, nothing over the picture), or the maker's mode (EditSession.h).
    std::unique_ptr<FrameSession> session = std::make_unique<FrameSession>();

private:
    void composeEntry(const TimelineEntry& entry);
    void clearWindow();
    void saveScreenshot();
};

}  // namespace Vessara
