#include "kestrane_ext/ImageLoader.h"

#include <stb_image.h>

#include <cstring>
#include <memory>
#include <string>

namespace KestraneExt {

namespace {

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

std::string reason()
{
    const char* text = stbi_failure_reason();
    return text ? text : "unknown reason";
}

}  // namespace

ImageLoader::ImageLoader(File file)
{
    const std::int32_t size = file.size();
    if (size == 0)
        file.fail("cannot decode an empty image file");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    const std::size_t got = file.read(bytes.data(), 1, bytes.size());
    if (got != bytes.size())
        file.fail("read " + std::to_string(got) + " of " + std::to_string(size) + " bytes");
    std::string error;
    if (!decode(bytes, error))
        file.fail(error);
    file.close();
}

ImageLoader::ImageLoader(const std::vector<std::uint8_t>& bytes, std::string& error)
{
    if (bytes.empty())
        error = "cannot decode an empty image file";
    else if (!decode(bytes, error))
        pixels_.clear();
}

bool ImageLoader::decode(const std::vector<std::uint8_t>& bytes, std::string& error)
{
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int size = static_cast<int>(bytes.size());

    // Channels as stored: 1 grey, 2 grey + alpha, 3 colour (also palette
    // PNGs), 4 colour + alpha (also palette PNGs with transparency).
    int w = 0, h = 0, stored = 0;
    if (!stbi_info_from_memory(data, size, &w, &h, &stored)) {
        error = "cannot decode image: " + reason();
        return false;
    }
    const bool alpha = stored == 2 || stored == 4;
    const int channels = alpha ? 4 : 3;

    const std::unique_ptr<stbi_uc, StbFree> decoded(stbi_load_from_memory(data, size, &w, &h, &stored, channels));
    if (!decoded) {
        error = "cannot decode image: " + reason();
        return false;
    }

    // stb gives the top row first; the engine stores the bottom row first.
    width_ = w;
    height_ = h;
    format_ = alpha ? Kestrane::Rgba : Kestrane::Rgb;
    const std::size_t rowBytes = static_cast<std::size_t>(w) * channels;
    pixels_.resize(rowBytes * static_cast<std::size_t>(h));
    for (int row = 0; row < h; ++row)
        std::memcpy(&pixels_[static_cast<std::size_t>(h - 1 - row) * rowBytes],
                    decoded.get() + static_cast<std::size_t>(row) * rowBytes, rowBytes);
    return true;
}

}  // namespace KestraneExt
