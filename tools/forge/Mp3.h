// MP3 encoding of the music with libmp3lame and decoding with libmpg123 (for
// the music report and the tests).
//
// Use:
//   std::vector<uint8_t> bytes = encodeMp3(pcm);     CBR 192 kbit/s stereo
//   writeFileBytes(path, bytes, &error)              (kestrane_ext/ByteWriter.h)
//   StereoBuffer decoded;  decodeMp3(path, decoded, &error)   false + reason
// The encoder gets fixed settings and writes no ID3 tag, only the LAME info
// frame (which carries the encoder delay, so decoders trim it and the music
// starts exactly at sample 0): the bytes are the same on every run.
#pragma once

#include "Instruments.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Forge {

std::vector<std::uint8_t> encodeMp3(const StereoBuffer& pcm, int kbps = 192);
bool decodeMp3(const std::string& path, StereoBuffer& out, std::string* error);

}  // namespace Forge
