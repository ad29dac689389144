#include "TestMusic.h"

#include <lame.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>

bool writeTestMp3(const std::string& path, const std::vector<ToneSegment>& segments)
{
    std::vector<short> left, right;
    for (const ToneSegment& segment : segments) {
        const long frames = std::lround(segment.seconds * 44100.0);
        for (long i = 0; i < frames; ++i) {
            const double phase = 2.0 * std::numbers::pi * segment.frequency * double(i) / 44100.0;
            const short value = short(std::lround(segment.amplitude * 32767.0 * std::sin(phase)));
            left.push_back(value);
            right.push_back(value);
        }
    }

    lame_global_flags* lame = lame_init();
    if (!lame)
        return false;
    lame_set_in_samplerate(lame, 44100);
    lame_set_out_samplerate(lame, 44100);
    lame_set_num_channels(lame, 2);
    lame_set_brate(lame, 192);
    lame_set_quality(lame, 5);
    bool ok = lame_init_params(lame) >= 0;

    std::vector<unsigned char> mp3(left.size() * 5 / 4 + 7200 + 7200);
    int written = 0;
    if (ok) {
        written = lame_encode_buffer(lame, left.data(), right.data(), int(left.size()), mp3.data(), int(mp3.size()));
        ok = written >= 0;
    }
    if (ok) {
        const int flushed = lame_encode_flush(lame, mp3.data() + written, int(mp3.size()) - written);
        ok = flushed >= 0;
        written += ok ? flushed : 0;
    }
    std::FILE* file = ok ? std::fopen(path.c_str(), "w+b") : nullptr;
    ok = file && std::fwrite(mp3.data(), 1, std::size_t(written), file) == std::size_t(written);
    if (file) {
        // The LAME tag lets the decoder drop the encoder's delay and padding.
        if (ok)
            lame_mp3_tags_fid(lame, file);
        std::fclose(file);
    }
    lame_close(lame);
    return ok;
}

std::string temporaryPath(const std::string& name)
{
    static int counter = 0;
    return (std::filesystem::temp_directory_path() /
            ("vessara-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + "-" + name))
        .string();
}
