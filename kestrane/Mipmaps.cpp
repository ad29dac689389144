#include "kestrane/Mipmaps.h"

#include <stb_image_resize.h>

#include <algorithm>
#include <cstring>

namespace Kestrane {

namespace {

// Averages with GLU's rounding for bytes: squares to nearest, (a + b + c + d
// + 2) / 4; pairs (a row or column of one) rounded down, (a + b) / 2.
std::uint8_t average(int a, int b, int c, int d) { return std::uint8_t((a + b + c + d + 2) / 4); }
float average(float a, float b, float c, float d) { return (a + b + c + d) * 0.25f; }
std::uint8_t average(int a, int b) { return std::uint8_t((a + b) / 2); }
float average(float a, float b) { return (a + b) * 0.5f; }

// One level from the one above: w x h (powers of two, not both 1) to
// max(1, w / 2) x max(1, h / 2).
template <typename T>
void halve(const T* above, int w, int h, int channels, T* below)
{
    const int bw = std::max(1, w / 2), bh = std::max(1, h / 2);
    const std::size_t row = std::size_t(w) * channels;
    for (int y = 0; y < bh; ++y) {
        for (int x = 0; x < bw; ++x) {
            T* out = below + (std::size_t(y) * bw + x) * channels;
            if (w > 1 && h > 1) {
                const T* a = above + std::size_t(2 * y) * row + std::size_t(2 * x) * channels;
                const T* b = a + row;
                for (int c = 0; c < channels; ++c)
                    out[c] = average(a[c], a[c + channels], b[c], b[c + channels]);
            } else {
                // A single row or column: average neighbouring pairs.
                const std::size_t step = w > 1 ? std::size_t(channels) : row;
                const T* a = above + (std::size_t(w > 1 ? x : y) * 2) * step;
                for (int c = 0; c < channels; ++c)
                    out[c] = average(a[c], a[c + step]);
            }
        }
    }
}

template <typename T>
std::vector<MipmapLevel> chain(const void* pixels, int width, int height, int channels, int maxSize)
{
    std::vector<MipmapLevel> levels(1);
    MipmapLevel& top = levels[0];
    top.width = powerOfTwoSize(width, maxSize);
    top.height = powerOfTwoSize(height, maxSize);
    top.bytes.resize(std::size_t(top.width) * top.height * channels * sizeof(T));
    if (top.width == width && top.height == height) {
        std::memcpy(top.bytes.data(), pixels, top.bytes.size());
    } else if constexpr (sizeof(T) == 1) {
        stbir_resize_uint8_generic(static_cast<const std::uint8_t*>(pixels), width, height, 0, top.bytes.data(),
                                   top.width, top.height, 0, channels, STBIR_ALPHA_CHANNEL_NONE, 0,
                                   STBIR_EDGE_CLAMP, STBIR_FILTER_DEFAULT, STBIR_COLORSPACE_LINEAR, nullptr);
    } else {
        stbir_resize_float_generic(static_cast<const float*>(pixels), width, height, 0,
                                   reinterpret_cast<float*>(top.bytes.data()), top.width, top.height, 0, channels,
                                   STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP, STBIR_FILTER_DEFAULT,
                                   STBIR_COLORSPACE_LINEAR, nullptr);
    }
    while (levels.back().width > 1 || levels.back().height > 1) {
        const MipmapLevel& above = levels.back();
        MipmapLevel below;
        below.width = std::max(1, above.width / 2);
        below.height = std::max(1, above.height / 2);
        below.bytes.resize(std::size_t(below.width) * below.height * channels * sizeof(T));
        halve(reinterpret_cast<const T*>(above.bytes.data()), above.width, above.height, channels,
              reinterpret_cast<T*>(below.bytes.data()));
        levels.push_back(std::move(below));
    }
    return levels;
}

}  // namespace

// The lower power of two, or the upper one when the two highest bits of the
// size are set (3 -> 4, 5 -> 4, 200 -> 256, 300 -> 256, 480 -> 512), never
// above the largest texture GL takes.
int powerOfTwoSize(int size, int maxSize)
{
    int power = 1;
    for (unsigned value = static_cast<unsigned>(size); value > 1; value >>= 1) {
        if (value == 3) {
            power *= 4;
            break;
        }
        power *= 2;
    }
    while (power > maxSize && power > 1)
        power /= 2;
    return power;
}

std::vector<MipmapLevel> buildMipmapChain(const void* pixels, int width, int height, PixelFormat format,
                                          int maxSize)
{
    if (!pixels || width <= 0 || height <= 0)
        return {};
    switch (format) {
    case Rgb: return chain<std::uint8_t>(pixels, width, height, 3, maxSize);
    case Rgba: return chain<std::uint8_t>(pixels, width, height, 4, maxSize);
    case RgbaFloat: return chain<float>(pixels, width, height, 4, maxSize);
    default: return {};
    }
}

TexelArea visibleArea(const void* pixels, int width, int height, PixelFormat format)
{
    TexelArea area;
    if (width <= 0 || height <= 0)
        return area;
    area.texelU = 1.0f / float(width);
    area.texelV = 1.0f / float(height);
    if (format != Rgba || !pixels)
        return area;
    const auto* texels = static_cast<const std::uint8_t*>(pixels);
    int x0 = width, y0 = height, x1 = -1, y1 = -1;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = texels + std::size_t(y) * std::size_t(width) * 4u;
        for (int x = 0; x < width; ++x) {
            if (row[std::size_t(x) * 4u + 3u] == 0)
                continue;
            x0 = std::min(x0, x);
            x1 = std::max(x1, x);
            y0 = std::min(y0, y);
            y1 = y;
        }
    }
    area.u0 = float(x0) * area.texelU;
    area.u1 = float(x1 + 1) * area.texelU;
    area.v0 = float(y0) * area.texelV;
    area.v1 = float(y1 + 1) * area.texelV;
    return area;
}

}  // namespace Kestrane
