#include "vessara/MusicPlayer.h"

#include "vessara/Spectrum.h"

#include "kestrane/Platform.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace Vessara {

namespace {

constexpr std::uint64_t bytesPerFrame = 4;

}  // namespace

bool decodeMusic(const std::string& path, DecodedMusic& music, std::string& error)
{
    return Kestrane::decodeAudioFile(path, musicRate, music.samples, error);
}

// What the audio thread and the caller share.
struct MusicPlayer::Shared {
    std::mutex mutex;
    bool playing = false;
    std::uint64_t cursor = 0;           // next byte the device will be given
    std::uint64_t callbackStart = 0;    // cursor when the last callback began
    double callbackTime = 0;            // when the last callback ran
    bool calledBack = false;
    std::uint64_t startBytes = 0;       // position given to play/setPosition
    double startTime = 0;               // when it was given (wall-clock mode)
    mutable std::uint64_t lastReported = 0;
};

MusicPlayer::MusicPlayer(Kestrane::TickSource tickSource)
    : ticks(tickSource), originTicks(ticks.counter(ticks.user)), shared(std::make_unique<Shared>())
{
    if (ticks.frequency == 0)
        ticks.frequency = 1;
}

// Seconds since construction: ticks are subtracted before converting, so the
// resolution does not depend on the counter's value.
double MusicPlayer::now() const
{
    return double(ticks.counter(ticks.user) - originTicks) / double(ticks.frequency);
}

MusicPlayer::~MusicPlayer()
{
    free();
}

bool MusicPlayer::init()
{
    if (device.isOpen() || callerOutput)
        return true;
    std::string reason;
    if (!device.open(musicRate, audioCallback, this, reason)) {
        lastError = "no audio output: " + reason;
        return false;
    }
    deviceBufferBytes = device.bufferBytes();
    return true;
}

void MusicPlayer::useOutput(std::uint32_t bufferBytes)
{
    callerOutput = true;
    deviceBufferBytes = bufferBytes;
}

void MusicPlayer::startDecoding(const std::string& path)
{
    decodingPath = path;
    // Where the platform has no threads the decoding waits for createStream.
    const auto policy = Kestrane::workerThreads() > 0 ? std::launch::async : std::launch::deferred;
    decoding = std::async(policy, [path] {
        Decoding result;
        result.ok = decodeMusic(path, result.music, result.error);
        return result;
    });
}

bool MusicPlayer::createStream(const std::string& path)
{
    DecodedMusic decoded;
    std::string reason;
    bool ok;
    if (decoding.valid() && decodingPath == path) {
        Decoding result = decoding.get();
        decoded = std::move(result.music);
        reason = std::move(result.error);
        ok = result.ok;
    } else {
        ok = decodeMusic(path, decoded, reason);
    }
    if (!ok) {
        lastError = reason;
        return false;
    }
    device.lock();
    music = std::move(decoded);
    device.unlock();
    return true;
}

bool MusicPlayer::play()
{
    if (!hasStream()) {
        lastError = "no stream to play";
        return false;
    }
    {
        std::lock_guard lock(shared->mutex);
        shared->playing = true;
        shared->startTime = now();
    }
    started = true;
    device.resume();
    return true;
}

void MusicPlayer::setPosition(std::uint64_t bytes)
{
    bytes -= bytes % bytesPerFrame;
    std::lock_guard lock(shared->mutex);
    shared->cursor = shared->callbackStart = shared->startBytes = bytes;
    shared->calledBack = false;
    shared->startTime = now();
    shared->lastReported = bytes;
}

void MusicPlayer::pause()
{
    const std::uint64_t at = position();
    std::lock_guard lock(shared->mutex);
    shared->playing = false;
    shared->lastReported = at;
}

std::uint64_t MusicPlayer::position() const
{
    std::lock_guard lock(shared->mutex);
    if (!shared->playing)
        return shared->lastReported;

    double estimate;
    if (!hasDevice()) {
        // No output: the music advances with the wall clock.
        estimate = double(shared->startBytes) + (now() - shared->startTime) * musicBytesPerSecond;
    } else if (!shared->calledBack) {
        estimate = double(shared->startBytes);
    } else {
        // The block handed out by the last callback is heard after the one
        // already queued; between callbacks the position runs on the clock,
        // never past what the device has been given.
        const double latency = double(deviceBufferBytes);
        const double upper = double(shared->cursor) - latency;
        estimate = double(shared->callbackStart) - latency +
                   (now() - shared->callbackTime) * musicBytesPerSecond;
        estimate = std::min(estimate, upper);
    }
    std::uint64_t bytes = estimate > 0 ? std::uint64_t(estimate) : 0;
    bytes -= bytes % bytesPerFrame;
    bytes = std::max(bytes, shared->lastReported);
    shared->lastReported = bytes;
    return bytes;
}

bool MusicPlayer::spectrum(float* out256) const
{
    return spectrumAt(position(), out256);
}

bool MusicPlayer::spectrumAt(std::uint64_t bytes, float* out256) const
{
    if (!hasStream())
        return false;
    const std::uint64_t first = bytes / bytesPerFrame;
    float mono[spectrumBlock];
    for (int i = 0; i < spectrumBlock; ++i) {
        const std::uint64_t frame = first + std::uint64_t(i);
        if (frame < music.frames())
            mono[i] = (float(music.samples[2 * frame]) + float(music.samples[2 * frame + 1])) / 65536.0f;
        else
            mono[i] = 0.0f;
    }
    computeSpectrum(mono, out256);
    return true;
}

void MusicPlayer::free()
{
    device.close();
    std::lock_guard lock(shared->mutex);
    shared->playing = false;
    started = false;
    music.samples.clear();
    music.samples.shrink_to_fit();
}

void MusicPlayer::audioCallback(void* user, std::uint8_t* out, int length)
{
    static_cast<MusicPlayer*>(user)->feedOutput(out, length);
}

void MusicPlayer::feedOutput(std::uint8_t* out, int length)
{
    Shared& s = *shared;
    const std::uint64_t total = lengthBytes();
    std::uint64_t cursor;
    {
        std::lock_guard lock(s.mutex);
        if (!s.playing) {
            std::memset(out, 0, std::size_t(length));
            return;
        }
        cursor = s.cursor;
        s.callbackStart = cursor;
        s.cursor = cursor + std::uint64_t(length);
        s.callbackTime = now();
        s.calledBack = true;
    }
    // Past the end the device is fed silence and the position keeps counting.
    std::size_t copied = 0;
    if (cursor < total) {
        copied = std::size_t(std::min<std::uint64_t>(total - cursor, std::uint64_t(length)));
        std::memcpy(out, reinterpret_cast<const std::uint8_t*>(music.samples.data()) + cursor, copied);
    }
    std::memset(out + copied, 0, std::size_t(length) - copied);
}

}  // namespace Vessara
