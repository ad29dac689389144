#include "vessara/EditSession.h"

#include "kestrane/Context.h"
#include "kestrane/Keyboard.h"
#include "vessara/Demo.h"
#include "vessara/FileWatcher.h"
#include "vessara/SceneName.h"
#include "vessara/StatusLine.h"
#include "vessara/Transport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace Vessara {

namespace {

std::string extensionOf(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

// Reloads path into the cache that holds it. true: reloaded or not a cached
// file (nothing to do); false: the reason is in error.
template <typename Proxy>
bool reloadInto(Proxy& proxy, const std::string& path, std::string& error)
{
    const std::string name = proxy.nameOf(path);
    return name.empty() || proxy.reload(name, error);
}

}  // namespace

EditSession::EditSession(Kestrane::TickSource ticks, bool watch) : wallClock(ticks), watching(watch) {}

EditSession::~EditSession() = default;

MusicClock& EditSession::clock(Demo& demo, MusicClock&)
{
    transportClock = std::make_unique<Transport>(demo.music.get(), demo.startOffset, demo.timeline, demo.tempo);
    if (watching)
        watcher = std::make_unique<FileWatcher>(std::vector<std::string>{"data/", "vessara_data/"});
    return *transportClock;
}

void EditSession::startFrame(Demo& demo)
{
    handleKeys();
    if (watcher)
        for (const std::string& path : watcher->changedFiles())
            fileChanged(path);
    reloadSettled(demo);
}

void EditSession::handleKeys()
{
    using Kestrane::Key;
    if (!transportClock)
        return;
    const Key keys[] = {Key::Space, Key::Left, Key::Right, Key::PageUp, Key::PageDown, Key::Home, Key::L};
    unsigned held = 0;
    for (unsigned i = 0; i < std::size(keys); ++i)
        if (Kestrane::keyDown(keys[i]))
            held |= 1u << i;
    const unsigned pressed = held & ~keysHeld;
    keysHeld = held;
    if (!pressed)
        return;
    const int step = Kestrane::keyDown(Key::Shift) ? 4 : 1;
    Transport& t = *transportClock;
    if (pressed & 1u)
        t.togglePause();
    if (pressed & 2u)
        t.stepBeats(-step);
    if (pressed & 4u)
        t.stepBeats(step);
    if (pressed & 8u)
        t.previousEntry();
    if (pressed & 16u)
        t.nextEntry();
    if (pressed & 32u)
        t.home();
    if (pressed & 64u)
        t.toggleLoop();
}

void EditSession::fileChanged(const std::string& path)
{
    settled.changed(path, double(wallClock.elapsed()));
}

void EditSession::reloadSettled(Demo& demo)
{
    if (settled.empty())
        return;
    for (const std::string& path : settled.take(double(wallClock.elapsed())))
        reload(demo, path);
}

void EditSession::reload(Demo& demo, const std::string& path)
{
    const std::string extension = extensionOf(path);
    std::string error;
    bool ok = true;
    if (extension == ".cg")
        ok = reloadInto(demo.shaders, path, error);
    else if (extension == ".png" || extension == ".jpg")
        ok = reloadInto(demo.textures, path, error);
    else if (extension == ".vxm")
        ok = reloadInto(demo.meshes, path, error);
    else
        return;  // music, scene files, the content tool's own files: read once

    if (ok) {
        if (reloadErrors.erase(path))
            std::fprintf(stderr, "vessara: %s loads again\n", path.c_str());
        return;
    }
    // Said once per failing version of the file, and kept on screen.
    if (reloadErrors[path] != error)
        std::fprintf(stderr, "%s\n", error.c_str());
    std::fflush(stderr);
    reloadErrors[path] = error;
}

std::string EditSession::statusText(const Demo& demo) const
{
    const double now = transportClock ? transportClock->now() : double(demo.time);
    const double beat = now * double(demo.tempo) / 60.0;
    const long whole = long(std::floor(beat + 1e-6));
    char text[256];
    std::snprintf(text, sizeof text, "%7.2f s   beat %ld   bar %ld.%ld", now, whole + 1, whole / 4 + 1, whole % 4 + 1);
    std::string line = text;

    int shown = -1;
    for (std::size_t i = 0; i < demo.timeline.size(); ++i)
        if (demo.timeline[i].activeAt(float(now)))
            shown = int(i);
    if (shown >= 0)
        line += "   #" + std::to_string(shown + 1) + " " + sceneName(demo, demo.timeline[std::size_t(shown)].drawable);
    else
        line += "   (no entry)";
    if (frameSeconds > 0.0) {
        std::snprintf(text, sizeof text, "   %.0f fps  %.1f ms", 1.0 / frameSeconds, frameSeconds * 1000.0);
        line += text;
    }
    if (transportClock && transportClock->paused())
        line += "   paused";
    if (transportClock && transportClock->looping())
        line += "   loop #" + std::to_string(transportClock->loopedEntry() + 1);
    if (!reloadErrors.empty())
        line += "   " + std::to_string(reloadErrors.size()) + " file(s) do not load";
    return line;
}

void EditSession::finishFrame(Demo& demo)
{
    // Frame time from the wall clock: the music clock holds still when paused.
    const double now = double(wallClock.elapsed());
    const double last = now - lastFrameAt;
    lastFrameAt = now;
    frameSeconds = frameSeconds > 0.0 ? frameSeconds * 0.9 + last * 0.1 : last;

    std::vector<StatusLine::Line> lines;
    constexpr std::size_t errorLines = 8;
    for (const auto& [path, error] : reloadErrors) {
        std::size_t from = 0;
        while (from <= error.size() && lines.size() < errorLines) {
            const std::size_t to = std::min(error.find('\n', from), error.size());
            lines.push_back({error.substr(from, to - from), 255, 110, 100});
            from = to + 1;
        }
    }
    lines.push_back({statusText(demo)});

    if (!statusLine)
        statusLine = std::make_unique<StatusLine>();
    const Kestrane::Window* window = Kestrane::Context::current->window;
    statusLine->draw(*demo.shaders["vessara_texture.cg"], lines, window->width(), window->height());
}

}  // namespace Vessara
