// Sound in the platform layer: decoding a compressed music file to PCM, and
// one output stream that pulls 16-bit interleaved stereo block by block.
// On the desktop, mpg123 decodes and SDL's audio thread calls back; in the
// browser the page decodes the file (decodeAudioData) while it loads, and Web
// Audio calls back on the main thread between frames.
//
// Use:
//   decodeAudioFile(path, rate, samples, error)
//       the whole file as interleaved stereo at `rate` frames a second;
//       false with error naming the file and the reason (missing, not
//       decodable, no audio in it).
//   AudioOutput output;
//   output.open(rate, fill, user, error)   opens the output, silent until
//       resume(); false with the reason when there is none. fill(user, out,
//       length) then writes length bytes of samples for the next block.
//   output.bufferBytes()   bytes of one block: what is queued ahead of what
//       is heard, the latency the caller takes off its position.
//   output.resume()        starts calling back.
//   output.lock() / unlock()   keeps fill from running meanwhile, so the
//       caller can swap what it reads.
//   output.close()         stops and releases the output (also on destruction).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Kestrane {

bool decodeAudioFile(const std::string& path, int rate, std::vector<std::int16_t>& samples, std::string& error);

class AudioOutput {
public:
    using Fill = void (*)(void* user, std::uint8_t* out, int length);

    AudioOutput() = default;
    ~AudioOutput() { close(); }
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    bool open(int rate, Fill fill, void* user, std::string& error);
    bool isOpen() const { return handle != 0; }
    std::uint32_t bufferBytes() const { return blockBytes; }
    void resume();
    void lock();
    void unlock();
    void close();

private:
    std::uint32_t handle = 0;  // the platform's device or node id; 0 = closed
    std::uint32_t blockBytes = 0;
};

}  // namespace Kestrane
