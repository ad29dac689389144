#include "TextureOps.h"

#include <algorithm>
#include <cmath>

namespace Forge {

Rgba ramp(const std::vector<ColorStop>& stops, float t) {
    if (stops.empty()) return {};
    if (t <= stops.front().position) return stops.front().color;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].position) {
            const float span = stops[i].position - stops[i - 1].position;
            const float x = span > 0.0f ? (t - stops[i - 1].position) / span : 1.0f;
            return mix(stops[i - 1].color, stops[i].color, x);
        }
    }
    return stops.back().color;
}

float smoothstep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

Image verticalGradient(int width, int height, const std::vector<ColorStop>& stops) {
    Image image(width, height);
    image.forEach([&](float, float v, Rgba& c) { c = ramp(stops, v); });
    return image;
}

namespace {

// One box-filter pass of half-width r along a line of n texels.
void boxLine(std::vector<Rgba>& line, std::vector<Rgba>& scratch, int r, Edge edge) {
    const int n = static_cast<int>(line.size());
    auto at = [&](int i) -> const Rgba& {
        if (edge == Edge::Wrap) return line[static_cast<std::size_t>(((i % n) + n) % n)];
        return line[static_cast<std::size_t>(std::clamp(i, 0, n - 1))];
    };
    Rgba sum{0, 0, 0, 0};
    for (int i = -r; i <= r; ++i) sum = sum + at(i);
    const float norm = 1.0f / static_cast<float>(2 * r + 1);
    for (int i = 0; i < n; ++i) {
        scratch[static_cast<std::size_t>(i)] = sum * norm;
        sum = sum + at(i + r + 1) - at(i - r);
    }
    line.swap(scratch);
}

}  // namespace

void blur(Image& image, float radius, Edge edge) {
    // Three boxes of width w have variance 3 * (w^2 - 1) / 12; match it to
    // a Gaussian whose sigma is radius / 2.
    const float sigma = radius * 0.5f;
    const int r = std::max(1, static_cast<int>(std::lround((std::sqrt(4.0f * sigma * sigma + 1.0f) - 1.0f) / 2.0f)));
    const int w = image.width(), h = image.height();
    std::vector<Rgba> line, scratch;
    line.resize(static_cast<std::size_t>(w));
    scratch.resize(static_cast<std::size_t>(w));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) line[static_cast<std::size_t>(x)] = image.at(x, y);
        for (int pass = 0; pass < 3; ++pass) boxLine(line, scratch, r, edge);
        for (int x = 0; x < w; ++x) image.at(x, y) = line[static_cast<std::size_t>(x)];
    }
    line.resize(static_cast<std::size_t>(h));
    scratch.resize(static_cast<std::size_t>(h));
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) line[static_cast<std::size_t>(y)] = image.at(x, y);
        for (int pass = 0; pass < 3; ++pass) boxLine(line, scratch, r, edge);
        for (int y = 0; y < h; ++y) image.at(x, y) = line[static_cast<std::size_t>(y)];
    }
}

void setAlpha(Image& image, const std::function<float(float u, float v)>& alpha) {
    image.forEach([&](float u, float v, Rgba& c) { c.a = std::clamp(alpha(u, v), 0.0f, 1.0f); });
}

void alphaFromLuminance(Image& image) {
    for (Rgba& c : image.pixels) c.a = std::clamp(std::max({c.r, c.g, c.b}), 0.0f, 1.0f);
}

Image normalMap(const Image& height, float strength, Edge edge) {
    const int w = height.width(), h = height.height();
    Image out(w, h);
    auto sample = [&](int x, int y) {
        if (edge == Edge::Wrap) return height.wrapped(x, y).r;
        return height.at(std::clamp(x, 0, w - 1), std::clamp(y, 0, h - 1)).r;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // Image rows run down, texture v runs up: dh/dv = -(dh/drow).
            const float dx = (sample(x + 1, y) - sample(x - 1, y)) * 0.5f * strength;
            const float dy = -(sample(x, y + 1) - sample(x, y - 1)) * 0.5f * strength;
            const Float3 n = normalize({-dx, -dy, 1.0f});
            out.at(x, y) = {0.5f + 0.5f * n.x, 0.5f + 0.5f * n.y, 0.5f + 0.5f * n.z, 1.0f};
        }
    return out;
}

Image sphereMap(int size, const std::function<Rgba(Float3 direction)>& environment) {
    Image image(size, size);
    const Rgba behind = environment({0.0f, 0.0f, -1.0f});
    image.forEach([&](float u, float v, Rgba& c) {
        const float x = 2.0f * u - 1.0f, y = 1.0f - 2.0f * v;  // image rows run down, y up
        const float r2 = x * x + y * y;
        if (r2 >= 1.0f) {
            c = behind;
            return;
        }
        const float nz = std::sqrt(1.0f - r2);
        // The view ray (0, 0, -1) reflected by the ball's normal (x, y, nz).
        c = environment({2.0f * nz * x, 2.0f * nz * y, 2.0f * nz * nz - 1.0f});
    });
    return image;
}

}  // namespace Forge
