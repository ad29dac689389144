// Floating-point RGBA images: the canvas every generated texture is painted
// on, and its encoding to PNG (with or without alpha) or JPEG through
// stb_image_write.
//
// Use:
//   Image img(256, 256, {0, 0, 0, 1});
//   img.at(x, y) = {r, g, b, a};                 texel, (0, 0) top-left
//   img.sample(u, v)                             bilinear, wrapping
//   img.forEach([](float u, float v, Rgba& c) {...});   u, v at texel centres
//   encodePng(img, true)   encodeJpeg(img, 92)   the file's bytes
// Channels are kept in [0, 1] only when encoding (clamped and rounded), so
// intermediate maths may overshoot. Images are plain values.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace Forge {

struct Rgba {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 1.0f;
};

inline Rgba operator+(Rgba x, Rgba y) { return {x.r + y.r, x.g + y.g, x.b + y.b, x.a + y.a}; }
inline Rgba operator-(Rgba x, Rgba y) { return {x.r - y.r, x.g - y.g, x.b - y.b, x.a - y.a}; }
inline Rgba operator*(Rgba x, float s) { return {x.r * s, x.g * s, x.b * s, x.a * s}; }
inline Rgba operator*(Rgba x, Rgba y) { return {x.r * y.r, x.g * y.g, x.b * y.b, x.a * y.a}; }
inline Rgba mix(Rgba x, Rgba y, float t) { return x + (y - x) * t; }
// Opaque colour from 0-255 components.
inline Rgba rgb8(int r, int g, int b) { return {r / 255.0f, g / 255.0f, b / 255.0f, 1.0f}; }

class Image {
public:
    Image() = default;
    Image(int width, int height, Rgba fill = {});

    int width() const { return w; }
    int height() const { return h; }
    Rgba& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)]; }
    const Rgba& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)]; }
    // Texel with coordinates wrapped around the edges.
    const Rgba& wrapped(int x, int y) const;
    // Bilinear sample; u, v in texture space (1 = one full width), wrapping.
    Rgba sample(float u, float v) const;
    // Calls f(u, v, texel) for every texel, u and v at texel centres in [0, 1).
    void forEach(const std::function<void(float u, float v, Rgba& c)>& f);
    // Alpha-blends src over this image's texel (x, y), ignoring out-of-range.
    void blend(int x, int y, Rgba src);

    std::vector<Rgba> pixels;

private:
    int w = 0, h = 0;
};

std::vector<std::uint8_t> encodePng(const Image& image, bool withAlpha);
std::vector<std::uint8_t> encodeJpeg(const Image& image, int quality);

}  // namespace Forge
