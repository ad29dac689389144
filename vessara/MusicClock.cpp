#include "vessara/MusicClock.h"

#include "vessara/MusicPlayer.h"

namespace Vessara {

PlayerClock::PlayerClock(const MusicPlayer* musicPlayer, float offset)
    : player(musicPlayer), startOffset(offset)
{
}

PlayerClock::PlayerClock(const MusicPlayer* musicPlayer, float offset, Kestrane::TickSource ticks)
    : player(musicPlayer), startOffset(offset), timer(ticks)
{
}

bool PlayerClock::followsMusic() const
{
    return player && player->hasStream() && player->playing();
}

float PlayerClock::time()
{
    if (followsMusic())
        return float(MusicPlayer::bytesToSeconds(player->position()));
    return timer.elapsed() + startOffset;
}

float PlayerClock::frameDelta()
{
    return timer.delta();
}

bool PlayerClock::spectrum(float* out256)
{
    return followsMusic() && player->spectrum(out256);
}

double PlayerClock::musicLength() const
{
    // Without an audio device the player's position runs on the wall clock,
    // so the music still ends at its length.
    return followsMusic() ? MusicPlayer::bytesToSeconds(player->lengthBytes()) : 0.0;
}

VirtualClock::VirtualClock(double start, double frameStep, const MusicPlayer* decoded)
    : next(start), current(start), step(frameStep), music(decoded)
{
}

float VirtualClock::time()
{
    current = next;
    next += step;
    return float(current);
}

bool VirtualClock::spectrum(float* out256)
{
    if (!music || !music->hasStream())
        return false;
    const double bytes = current * musicBytesPerSecond;
    return music->spectrumAt(bytes > 0 ? std::uint64_t(bytes) : 0, out256);
}

double VirtualClock::musicLength() const
{
    return music && music->hasStream() ? MusicPlayer::bytesToSeconds(music->lengthBytes()) : 0.0;
}

}  // namespace Vessara
