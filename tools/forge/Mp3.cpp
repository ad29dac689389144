#include "Mp3.h"

#include "Dsp.h"

#include <lame/lame.h>
#include <mpg123.h>

#include <memory>
#include <stdexcept>

namespace Forge {

std::vector<std::uint8_t> encodeMp3(const StereoBuffer& pcm, int kbps) {
    std::unique_ptr<lame_global_flags, decltype(&lame_close)> lame(lame_init(), &lame_close);
    if (!lame) throw std::runtime_error("mp3: lame_init failed");
    lame_set_in_samplerate(lame.get(), SampleRate);
    lame_set_out_samplerate(lame.get(), SampleRate);
    lame_set_num_channels(lame.get(), 2);
    lame_set_mode(lame.get(), JOINT_STEREO);
    lame_set_VBR(lame.get(), vbr_off);
    lame_set_brate(lame.get(), kbps);
    lame_set_quality(lame.get(), 5);
    lame_set_bWriteVbrTag(lame.get(), 1);
    lame_set_write_id3tag_automatic(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0) throw std::runtime_error("mp3: lame_init_params refused the settings");

    std::vector<std::uint8_t> out;
    const int chunk = 8192;
    std::vector<unsigned char> buffer(static_cast<std::size_t>(chunk * 5 / 4 + 7200));
    const std::size_t frames = pcm.frames();
    for (std::size_t i = 0; i < frames; i += chunk) {
        const int n = static_cast<int>(std::min<std::size_t>(chunk, frames - i));
        const int written = lame_encode_buffer_ieee_float(lame.get(), pcm.left.data() + i, pcm.right.data() + i, n,
                                                          buffer.data(), static_cast<int>(buffer.size()));
        if (written < 0) throw std::runtime_error("mp3: encoding failed (" + std::to_string(written) + ")");
        out.insert(out.end(), buffer.begin(), buffer.begin() + written);
    }
    const int flushed = lame_encode_flush(lame.get(), buffer.data(), static_cast<int>(buffer.size()));
    if (flushed < 0) throw std::runtime_error("mp3: flush failed");
    out.insert(out.end(), buffer.begin(), buffer.begin() + flushed);

    // The encoder left an empty first frame for the info tag: fill it in.
    std::vector<unsigned char> tag(8192);
    const std::size_t tagSize = lame_get_lametag_frame(lame.get(), tag.data(), tag.size());
    if (tagSize > tag.size() || tagSize > out.size()) throw std::runtime_error("mp3: no room for the info frame");
    std::copy(tag.begin(), tag.begin() + static_cast<std::ptrdiff_t>(tagSize), out.begin());
    return out;
}

bool decodeMp3(const std::string& path, StereoBuffer& out, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = path + ": " + why;
        return false;
    };
    mpg123_init();
    int err = MPG123_OK;
    std::unique_ptr<mpg123_handle, decltype(&mpg123_delete)> mh(mpg123_new(nullptr, &err), &mpg123_delete);
    if (!mh) return fail("cannot create an MP3 decoder");
    mpg123_param(mh.get(), MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    mpg123_format_none(mh.get());
    mpg123_format(mh.get(), SampleRate, MPG123_STEREO, MPG123_ENC_FLOAT_32);
    if (mpg123_open(mh.get(), path.c_str()) != MPG123_OK) return fail(mpg123_strerror(mh.get()));
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(mh.get(), &rate, &channels, &encoding) != MPG123_OK || rate != SampleRate ||
        channels != 2 || encoding != MPG123_ENC_FLOAT_32) {
        mpg123_close(mh.get());
        return fail("not a 44.1 kHz stereo MP3 stream");
    }
    out.left.clear();
    out.right.clear();
    std::vector<float> buffer(16384);
    for (;;) {
        size_t done = 0;
        const int r = mpg123_read(mh.get(), reinterpret_cast<unsigned char*>(buffer.data()),
                                  buffer.size() * sizeof(float), &done);
        const std::size_t samples = done / sizeof(float);
        for (std::size_t i = 0; i + 1 < samples; i += 2) {
            out.left.push_back(buffer[i]);
            out.right.push_back(buffer[i + 1]);
        }
        if (r == MPG123_DONE) break;
        if (r != MPG123_OK && r != MPG123_NEW_FORMAT) {
            const std::string why = mpg123_strerror(mh.get());
            mpg123_close(mh.get());
            return fail("decoding failed: " + why);
        }
    }
    mpg123_close(mh.get());
    if (out.left.empty()) return fail("no audio frames");
    return true;
}

}  // namespace Forge
