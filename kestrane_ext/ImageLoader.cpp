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
    std::vector<stbi_uc> bytes(static_cast<std::size_t>(size));
    const std::size_t got = file.read(bytes.data(), 1, bytes.size());
    if (got != bytes.size())
        file.fail("read " + std::to_string(got) + " of " + std::to_string(size) + " bytes");

    // Channels as stored: 1 grey, 2 grey + alpha, 3 colour (also palette
    // PNGs), 4 colour + alpha (also palette PNGs with transparency).
    int w = 0, h = 0, stored = 0;
    if (!stbi_info_from_memory(bytes.data(), size, &w, &h, &stored))
        file.fail("cannot decode image: " + reason());
    const bool alpha = stored == 2 || stored == 4;
    const int channels = alpha ? 4 : 3;

    const std::unique_ptr<stbi_uc, StbFree> decoded(
        stbi_load_from_memory(bytes.data(), size, &w, &h, &stored, channels));
    if (!decoded)
        file.fail("cannot decode image: " + reason());

    // stb gives the top row first; the engine stores the bottom row first.
    width_ = w;
    height_ = h;
    format_ = alpha ? Kestrane::Rgba : Kestrane::Rgb;
    const std::size_t rowBytes = static_cast<std::size_t>(w) * channels;
    pixels_.resize(rowBytes * static_cast<std::size_t>(h));
    for (int row = 0; row < h; ++row)
        std::memcpy(&pixels_[static_cast<std::size_t>(h - 1 - row) * rowBytes],
                    decoded.get() + static_cast<std::size_t>(row) * rowBytes, rowBytes);
    file.close();
}

}  // namespace KestraneExt
