// Desktop sound: mpg123 decodes, SDL's audio thread plays (kestrane/Audio.h).
#include "kestrane/Audio.h"

#include <SDL.h>
#include <mpg123.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace Kestrane {

namespace {

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

bool decodeAudioFile(const std::string& path, int rate, std::vector<std::int16_t>& samples, std::string& error)
{
    samples.clear();
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
    mpg123_format(mh.handle, rate, MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(mh.handle, path.c_str()) != MPG123_OK) {
        error = path + ": " + mpg123_strerror(mh.handle);
        return false;
    }
    mh.opened = true;

    // Room for the whole track at once, estimated from the file's size and
    // its first frame's bit rate (exact for constant bit rates): growing a
    // 36 MB vector step by step would briefly hold two copies.
    long decodedRate = 0;
    int channels = 0, encoding = 0;
    mpg123_frameinfo info{};
    if (mpg123_getformat(mh.handle, &decodedRate, &channels, &encoding) == MPG123_OK &&
        mpg123_info(mh.handle, &info) == MPG123_OK && info.bitrate > 0 && fileBytes > 0) {
        const double seconds = double(fileBytes) * 8.0 / (double(info.bitrate) * 1000.0);
        samples.reserve(std::size_t(seconds * 1.02 * rate) * 2);
    }

    std::vector<unsigned char> buffer(64 * 1024);
    for (;;) {
        size_t done = 0;
        status = mpg123_read(mh.handle, buffer.data(), buffer.size(), &done);
        const size_t count = done / sizeof(std::int16_t);
        const auto* begin = reinterpret_cast<const std::int16_t*>(buffer.data());
        samples.insert(samples.end(), begin, begin + count);
        if (status == MPG123_DONE)
            break;
        if (status == MPG123_NEW_FORMAT || status == MPG123_OK)
            continue;
        error = path + ": not decodable as MP3: " + mpg123_strerror(mh.handle);
        samples.clear();
        return false;
    }
    samples.resize(samples.size() & ~std::size_t(1));
    if (samples.empty()) {
        error = path + ": no MPEG audio frames found";
        return false;
    }
    return true;
}

bool AudioOutput::open(int rate, Fill fill, void* user, std::string& error)
{
    close();
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = SDL_GetError();
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = fill;
    want.userdata = user;
    SDL_AudioSpec have{};
    handle = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!handle) {
        error = SDL_GetError();
        return false;
    }
    blockBytes = have.size ? have.size : have.samples * 4u;
    return true;
}

void AudioOutput::resume()
{
    if (handle)
        SDL_PauseAudioDevice(handle, 0);
}

void AudioOutput::lock()
{
    if (handle)
        SDL_LockAudioDevice(handle);
}

void AudioOutput::unlock()
{
    if (handle)
        SDL_UnlockAudioDevice(handle);
}

void AudioOutput::close()
{
    if (handle) {
        SDL_CloseAudioDevice(handle);
        handle = 0;
    }
}

}  // namespace Kestrane
