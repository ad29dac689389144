#include "vessara/MusicPlayer.h"

#include "vessara/Spectrum.h"

#include <SDL.h>
#include <mpg123.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace Vessara {

namespace {

constexpr std::uint64_t bytesPerFrame = 4;

struct Mpg123Handle {
    mpg123_handle* handle = nullptr;
    bool opened = false;
    ~Mpg123Handle()
    {
        if (opened)
            mpg123_close(handle);
        if (handle)
            mpg123_delete(handle);
    }
};

}  // namespace

bool decodeMusic(const std::string& path, DecodedMusic& music, std::string& error)
{
    music.samples.clear();
    long fileBytes = 0;
    if (std::FILE* probe = std::fopen(path.c_str(), "rb")) {
        if (std::fseek(probe, 0, SEEK_END) == 0)
            fileBytes = std::ftell(probe);
        std::fclose(probe);
    } else {
        error = path + ": " + std::strerror(errno);
        return false;
    }

    static const bool initialised = mpg123_init() == MPG123_OK;
    (void)initialised;

    int status = MPG123_OK;
    Mpg123Handle mh;
    mh.handle = mpg123_new(nullptr, &status);
    if (!mh.handle) {
        error = path + ": cannot start the MP3 decoder: " + mpg123_plain_strerror(status);
        return false;
    }
    mpg123_param(mh.handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_FORCE_STEREO, 0.0);
    mpg123_format_none(mh.handle);
    mpg123_format(mh.handle, musicRate, MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(mh.handle, path.c_str()) != MPG123_OK) {
        error = path + ": " + mpg123_strerror(mh.handle);
        return false;
    }
    mh.opened = true;

    // Room for the whole track at once, estimated from the file's size and
    // its first frame's bit rate (exact for constant bit rates): growing a
    // 36 MB vector step by step would briefly hold two copies.
    long rate = 0;
    int channels = 0, encoding = 0;
    mpg123_frameinfo info{};
    if (mpg123_getformat(mh.handle, &rate, &channels, &encoding) == MPG123_OK &&
        mpg123_info(mh.handle, &info) == MPG123_OK && info.bitrate > 0 && fileBytes > 0) {
        const double seconds = double(fileBytes) * 8.0 / (double(info.bitrate) * 1000.0);
        music.samples.reserve(std::size_t(seconds * 1.02 * musicRate) * 2);
    }

    std::vector<unsigned char> buffer(64 * 1024);
    for (;;) {
        size_t done = 0;
        status = mpg123_read(mh.handle, buffer.data(), buffer.size(), &done);
        const size_t count = done / sizeof(std::int16_t);
        const auto* begin = reinterpret_cast<const std::int16_t*>(buffer.data());
        music.samples.insert(music.samples.end(), begin, begin + count);
        if (status == MPG123_DONE)
            break;
        if (status == MPG123_NEW_FORMAT || status == MPG123_OK)
            continue;
        error = path + ": not decodable as MP3: " + mpg123_strerror(mh.handle);
        music.samples.clear();
        return false;
    }
    music.samples.resize(music.samples.size() & ~std::size_t(1));
    if (music.samples.empty()) {
        error = path + ": no MPEG audio frames found";
        return false;
    }
    return true;
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
    if (device || callerOutput)
        return true;
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        lastError = std::string("no audio output: ") + SDL_GetError();
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = musicRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = audioCallback;
    want.userdata = this;
    SDL_AudioSpec have{};
    device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!device) {
        lastError = std::string("no audio output: ") + SDL_GetError();
        return false;
    }
    deviceBufferBytes = have.size ? have.size : have.samples * std::uint32_t(bytesPerFrame);
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
    decoding = std::async(std::launch::async, [path] {
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
    if (device)
        SDL_LockAudioDevice(device);
    music = std::move(decoded);
    if (device)
        SDL_UnlockAudioDevice(device);
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
    if (device)
        SDL_PauseAudioDevice(device, 0);
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
    if (device) {
        SDL_CloseAudioDevice(device);
        device = 0;
    }
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
