// Short MP3 files for the music tests, encoded with LAME from known signals.
#pragma once

#include <string>
#include <vector>

// One segment of a test signal: `seconds` of a sine of `frequency` Hz and
// `amplitude` (0 = silence), the same on both channels.
struct ToneSegment {
    double seconds;
    double frequency;
    double amplitude;
};

// Encodes the segments at 44.1 kHz stereo, 192 kbit/s, to `path`; returns
// false when LAME fails.
bool writeTestMp3(const std::string& path, const std::vector<ToneSegment>& segments);

// A fresh file name in the system's temporary directory.
std::string temporaryPath(const std::string& name);
