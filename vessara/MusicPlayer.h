// Music player: one MP3 stream, decoded whole, played through the platform's
// audio output (kestrane/Audio.h).
//
// Use, in order:
//   MusicPlayer(ticks)      optional: the clock the position runs on between
//                           audio blocks and without output (default: the
//                           performance counter; tests pass their own).
//   init()                  opens the audio output (44.1 kHz, 16-bit stereo).
//                           false: no device; the stream then plays silently
//                           on the wall clock.
//   useOutput(bufferBytes)  instead of init(): an output the caller feeds by
//                           calling feedOutput(out, length) for each block, as
//                           a device of that buffer size would (tests).
//   createStream(path)      decodes the whole file; false (and error()) when it
//                           cannot be opened or holds no MPEG audio.
//   startDecoding(path)     optional, earlier: decodes on a thread of its own
//                           meanwhile (start-up loading); createStream of the
//                           same path then waits for that result instead.
//   play()                  starts playback; false without a stream.
//   setPosition(bytes)      jumps (byte offsets of 44.1 kHz 16-bit stereo).
//   pause()                 silence from the next block on; position() holds
//                           where it was. setPosition then play() resumes.
//   position()              byte offset of the sample being heard now: output
//                           latency taken off, smooth between audio callbacks,
//                           never going back. Past the end it keeps counting
//                           silence, so a clock built on it never stops.
//   bytesToSeconds(bytes)   bytes / 176400.
//   spectrum(out256)        256 magnitudes of the 512 samples at position().
//   free()                  stops and releases the device and the samples.
// feedOutput(out, length) fills the next block of the output (the device's
// callback calls it). spectrumAt(bytes, out256) reads the spectrum at any offset (virtual clocks).
// The audio thread only reads the samples; positions are guarded by a mutex.
#pragma once

#include "kestrane/Audio.h"
#include "kestrane/Timer.h"

#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <vector>

namespace Vessara {

constexpr int musicRate = 44100;
constexpr double musicBytesPerSecond = 176400.0;  // 44.1 kHz, 2 channels, 2 bytes

// Whole-file MP3 decode to 44.1 kHz interleaved 16-bit stereo. On failure the
// result is empty and error names the file and the reason.
struct DecodedMusic {
    std::vector<std::int16_t> samples;  // L, R, L, R, ...
    std::size_t frames() const { return samples.size() / 2; }
};
bool decodeMusic(const std::string& path, DecodedMusic& music, std::string& error);

class MusicPlayer {
public:
    explicit MusicPlayer(Kestrane::TickSource ticks = Kestrane::performanceCounter());
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    bool init();
    void useOutput(std::uint32_t bufferBytes);
    void feedOutput(std::uint8_t* out, int length);
    bool createStream(const std::string& path);
    void startDecoding(const std::string& path);
    bool play();
    void setPosition(std::uint64_t bytes);
    void pause();
    std::uint64_t position() const;
    static double bytesToSeconds(std::uint64_t bytes) { return double(bytes) / musicBytesPerSecond; }
    bool spectrum(float* out256) const;
    bool spectrumAt(std::uint64_t bytes, float* out256) const;
    void free();

    bool hasDevice() const { return device.isOpen() || callerOutput; }
    bool hasStream() const { return !music.samples.empty(); }
    bool playing() const { return started; }
    std::uint64_t lengthBytes() const { return music.samples.size() * 2; }
    const std::string& error() const { return lastError; }

private:
    struct Shared;
    static void audioCallback(void* user, std::uint8_t* out, int length);

    struct Decoding {
        DecodedMusic music;
        std::string error;
        bool ok = false;
    };
    DecodedMusic music;
    std::string decodingPath;
    std::future<Decoding> decoding;
    double now() const;

    Kestrane::TickSource ticks;
    std::uint64_t originTicks;
    Kestrane::AudioOutput device;
    bool callerOutput = false;  // useOutput(): fed by feedOutput, no device
    std::uint32_t deviceBufferBytes = 0;
    bool started = false;
    std::string lastError;
    std::unique_ptr<Shared> shared;
};

}  // namespace Vessara
