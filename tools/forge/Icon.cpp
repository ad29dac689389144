#include "Icon.h"

#include "Content.h"
#include "Preview.h"

#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

namespace Forge {

namespace {

std::vector<std::uint8_t> assetBytes(const std::string& name) {
    for (const Asset& asset : allAssets())
        if (asset.name == name) return asset.make();
    throw std::runtime_error("the icon needs the asset \"" + name + "\", which the content list lacks");
}

Image decode(const std::vector<std::uint8_t>& bytes, const std::string& name) {
    int w = 0, h = 0, channels = 0;
    std::unique_ptr<unsigned char, decltype(&stbi_image_free)> pixels(
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 4), &stbi_image_free);
    if (!pixels) throw std::runtime_error(name + ": cannot decode the image (" + stbi_failure_reason() + ")");
    Image image(w, h);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const unsigned char* p = pixels.get() + i * 4;
        image.pixels[i] = {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, p[3] / 255.0f};
    }
    return image;
}

// Coverage of a rounded square filling the icon, at pixel centre (x, y).
float tileCoverage(int size, float x, float y) {
    const float half = 0.5f * static_cast<float>(size), radius = 0.2f * static_cast<float>(size);
    const float dx = std::max(std::fabs(x - half) - (half - radius), 0.0f);
    const float dy = std::max(std::fabs(y - half) - (half - radius), 0.0f);
    return std::clamp(radius - std::sqrt(dx * dx + dy * dy) + 0.5f, 0.0f, 1.0f);
}

}  // namespace

Image programIcon(int size) {
    const std::vector<std::uint8_t> logo = assetBytes("quarnel.vxm");
    const Image sky = decode(assetBytes("bgenv.jpg"), "bgenv.jpg");
    // The word is about 220 units wide: from 420 units away a 34 degree view
    // leaves a margin of a tenth on each side. Rendered at four times the
    // size and averaged down, for smooth edges.
    constexpr int oversample = 4;
    const PreviewCamera camera{{0.0f, 70.0f, 420.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, 34.0f};
    const Image big = renderPreview(logo, "quarnel.vxm", camera, size * oversample, size * oversample, &sky,
                                    {0.0f, 0.0f, 0.0f, 0.0f});

    Image icon(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgba sum{0.0f, 0.0f, 0.0f, 0.0f};
            for (int dy = 0; dy < oversample; ++dy)
                for (int dx = 0; dx < oversample; ++dx) {
                    const Rgba c = big.at(x * oversample + dx, y * oversample + dy);
                    sum = sum + Rgba{c.r * c.a, c.g * c.a, c.b * c.a, c.a};
                }
            const Rgba logoColour = sum * (1.0f / (oversample * oversample));  // premultiplied
            const float v = (static_cast<float>(y) + 0.5f) / static_cast<float>(size);
            const Rgba tile = mix(rgb8(34, 52, 110), rgb8(8, 12, 34), v);
            Rgba c = logoColour + tile * (1.0f - logoColour.a);
            c.a = tileCoverage(size, static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            icon.at(x, y) = c;
        }
    return icon;
}

}  // namespace Forge
