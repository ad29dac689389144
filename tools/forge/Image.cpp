#include "Image.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace Forge {

Image::Image(int width, int height, Rgba fill)
    : pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill), w(width), h(height) {
    if (width <= 0 || height <= 0) throw std::invalid_argument("image: size must be positive");
}

const Rgba& Image::wrapped(int x, int y) const {
    x %= w;
    y %= h;
    if (x < 0) x += w;
    if (y < 0) y += h;
    return at(x, y);
}

Rgba Image::sample(float u, float v) const {
    const float fx = u * static_cast<float>(w) - 0.5f;
    const float fy = v * static_cast<float>(h) - 0.5f;
    const float x0 = std::floor(fx), y0 = std::floor(fy);
    const float tx = fx - x0, ty = fy - y0;
    const int ix = static_cast<int>(x0), iy = static_cast<int>(y0);
    const Rgba top = mix(wrapped(ix, iy), wrapped(ix + 1, iy), tx);
    const Rgba bottom = mix(wrapped(ix, iy + 1), wrapped(ix + 1, iy + 1), tx);
    return mix(top, bottom, ty);
}

void Image::forEach(const std::function<void(float u, float v, Rgba& c)>& f) {
    for (int y = 0; y < h; ++y) {
        const float v = (static_cast<float>(y) + 0.5f) / static_cast<float>(h);
        for (int x = 0; x < w; ++x) f((static_cast<float>(x) + 0.5f) / static_cast<float>(w), v, at(x, y));
    }
}

void Image::blend(int x, int y, Rgba src) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    Rgba& dst = at(x, y);
    const float a = std::clamp(src.a, 0.0f, 1.0f);
    dst.r += (src.r - dst.r) * a;
    dst.g += (src.g - dst.g) * a;
    dst.b += (src.b - dst.b) * a;
    dst.a = a + dst.a * (1.0f - a);
}

namespace {

std::vector<std::uint8_t> toBytes(const Image& image, int channels) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(image.pixels.size() * static_cast<std::size_t>(channels));
    auto q = [](float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    for (const Rgba& c : image.pixels) {
        bytes.push_back(q(c.r));
        bytes.push_back(q(c.g));
        bytes.push_back(q(c.b));
        if (channels == 4) bytes.push_back(q(c.a));
    }
    return bytes;
}

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* p = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), p, p + size);
}

}  // namespace

std::vector<std::uint8_t> encodePng(const Image& image, bool withAlpha) {
    const int channels = withAlpha ? 4 : 3;
    const std::vector<std::uint8_t> raw = toBytes(image, channels);
    std::vector<std::uint8_t> out;
    if (!stbi_write_png_to_func(appendBytes, &out, image.width(), image.height(), channels, raw.data(),
                                image.width() * channels))
        throw std::runtime_error("png: encoding failed");
    return out;
}

std::vector<std::uint8_t> encodeJpeg(const Image& image, int quality) {
    const std::vector<std::uint8_t> raw = toBytes(image, 3);
    std::vector<std::uint8_t> out;
    if (!stbi_write_jpg_to_func(appendBytes, &out, image.width(), image.height(), 3, raw.data(), quality))
        throw std::runtime_error("jpeg: encoding failed");
    return out;
}

}  // namespace Forge
