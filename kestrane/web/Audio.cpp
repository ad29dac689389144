// Browser sound (kestrane/Audio.h). The page decodes the music with the
// browser's own decoder while it loads (library_kestrane.js), so decoding
// here copies what it made; the output is a Web Audio node that asks for one
// block at a time on the main thread.
#include "kestrane/Audio.h"

#include <cstdint>

extern "C" {
// Frames the page decoded for path at rate (0 with a reason when it could not).
int kestrane_decoded_frames(const char* path, int rate, char* reason, int reasonBytes);
// Copies them as interleaved 16-bit stereo.
void kestrane_copy_decoded(const char* path, std::int16_t* out, int frames);
int kestrane_audio_open(int rate, int bufferFrames, Kestrane::AudioOutput::Fill fill, void* user);
void kestrane_audio_resume(int node);
void kestrane_audio_close(int node);
}

namespace Kestrane {

bool decodeAudioFile(const std::string& path, int rate, std::vector<std::int16_t>& samples, std::string& error)
{
    samples.clear();
    char reason[512] = {};
    const int frames = kestrane_decoded_frames(path.c_str(), rate, reason, int(sizeof reason));
    if (frames <= 0) {
        error = path + ": " + reason;
        return false;
    }
    samples.resize(std::size_t(frames) * 2);
    kestrane_copy_decoded(path.c_str(), samples.data(), frames);
    return true;
}

bool AudioOutput::open(int rate, Fill fill, void* user, std::string& error)
{
    close();
    // Blocks are made on the main thread between frames: 4096 frames (93 ms)
    // carry the sound through a frame that slow, at that much latency, which
    // the music clock takes off.
    constexpr int frames = 4096;
    const int node = kestrane_audio_open(rate, frames, fill, user);
    if (node <= 0) {
        error = "this page has no Web Audio";
        return false;
    }
    handle = std::uint32_t(node);
    blockBytes = frames * 4;
    return true;
}

void AudioOutput::resume()
{
    if (handle)
        kestrane_audio_resume(int(handle));
}

// Blocks are asked for on the same thread as everything else: nothing to
// keep out.
void AudioOutput::lock() {}
void AudioOutput::unlock() {}

void AudioOutput::close()
{
    if (handle) {
        kestrane_audio_close(int(handle));
        handle = 0;
    }
}

}  // namespace Kestrane
