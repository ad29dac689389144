#include "vessara/Transport.h"

#include "vessara/MusicPlayer.h"

#include <algorithm>
#include <cmath>

namespace Vessara {

namespace {

std::uint64_t secondsToBytes(double seconds)
{
    const double bytes = seconds * musicBytesPerSecond;
    return bytes > 0 ? std::uint64_t(std::llround(bytes)) : 0;
}

// Beat lines closer than this to the time are taken as reached, so that a
// step from a line goes to the next one, not to the line itself again.
constexpr double onTheLine = 1e-3;

}  // namespace

Transport::Transport(MusicPlayer* musicPlayer, float startOffset, const std::vector<TimelineEntry>& entries,
                     float beatsPerMinute, Kestrane::TickSource ticks)
    : player(musicPlayer), timeline(entries), tempo(beatsPerMinute > 0 ? beatsPerMinute : 120.0), timer(ticks),
      timerOffset(startOffset), current(startOffset)
{
    for (std::size_t i = 0; i < timeline.size(); ++i) {
        order.push_back(int(i));
        showEnd = std::max(showEnd, double(timeline[i].end));
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return timeline[std::size_t(a)].start < timeline[std::size_t(b)].start; });
}

double Transport::musicLength() const
{
    return player && player->hasStream() ? MusicPlayer::bytesToSeconds(player->lengthBytes()) : 0.0;
}

bool Transport::followsMusic() const
{
    return player && player->hasStream() && player->playing();
}

double Transport::read()
{
    if (isPaused)
        return held;
    if (followsMusic())
        return MusicPlayer::bytesToSeconds(player->position());
    return double(timer.elapsed()) + timerOffset;
}

float Transport::time()
{
    double t = read();
    if (loopEntry >= 0) {
        const TimelineEntry& entry = timeline[std::size_t(loopEntry)];
        if (t >= entry.end || t < entry.start) {
            seek(entry.start + entryLead);
            t = read();
        }
    }
    current = t;
    return float(t);
}

float Transport::frameDelta()
{
    const float delta = timer.delta();
    return isPaused ? 0.0f : delta;
}

bool Transport::spectrum(float* out256)
{
    if (!player || !player->hasStream())
        return false;
    return player->spectrumAt(secondsToBytes(current), out256);
}

void Transport::seek(double seconds)
{
    const double latest = showEnd > entryLead ? showEnd - entryLead : 0.0;
    seconds = std::clamp(seconds, 0.0, std::max(latest, 0.0));
    if (isPaused)
        held = seconds;
    if (followsMusic()) {
        player->setPosition(secondsToBytes(seconds));
        // setPosition keeps the byte offset to whole sample frames.
        if (isPaused)
            held = MusicPlayer::bytesToSeconds(secondsToBytes(seconds) / 4 * 4);
    }
    timerOffset = seconds - double(timer.elapsed());
    current = isPaused ? held : seconds;
}

void Transport::togglePause()
{
    if (!isPaused) {
        held = read();
        isPaused = true;
        if (followsMusic())
            player->pause();
        current = held;
        return;
    }
    isPaused = false;
    if (followsMusic()) {
        player->setPosition(secondsToBytes(held));
        player->play();
    }
    timerOffset = held - double(timer.elapsed());
}

void Transport::stepBeats(int beats)
{
    if (beats == 0)
        return;
    const double span = std::abs(beats);
    const double lines = beatAt(read()) / span;
    const double target = beats > 0 ? std::floor(lines + onTheLine) + 1.0 : std::ceil(lines - onTheLine) - 1.0;
    seek(std::max(target, 0.0) * span * 60.0 / tempo);
}

int Transport::entryAtOrBefore(double seconds) const
{
    int found = -1;
    for (std::size_t k = 0; k < order.size(); ++k)
        if (double(timeline[std::size_t(order[k])].start) <= seconds)
            found = int(k);
    return found;
}

void Transport::jumpToEntry(int orderIndex)
{
    if (orderIndex < 0)
        home();
    else if (orderIndex < int(order.size()))
        seek(timeline[std::size_t(order[std::size_t(orderIndex)])].start + entryLead);
}

void Transport::previousEntry()
{
    jumpToEntry(entryAtOrBefore(read()) - 1);
}

void Transport::nextEntry()
{
    jumpToEntry(entryAtOrBefore(read()) + 1);
}

void Transport::home()
{
    // A millisecond in, as for any entry start: the show's first entry starts
    // at 0, and at 0 itself nothing is shown yet.
    seek(entryLead);
}

int Transport::shownEntry(double seconds) const
{
    int shown = -1;
    for (std::size_t i = 0; i < timeline.size(); ++i)
        if (timeline[i].activeAt(float(seconds)))
            shown = int(i);
    return shown;
}

void Transport::toggleLoop()
{
    loopEntry = loopEntry >= 0 ? -1 : shownEntry(read());
}

}  // namespace Vessara
