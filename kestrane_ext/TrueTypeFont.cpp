#include "kestrane_ext/TrueTypeFont.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace KestraneExt {

TrueTypeFont::TrueTypeFont(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(path + ": cannot open the font");
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const int offset = data.empty() ? -1 : stbtt_GetFontOffsetForIndex(data.data(), 0);
    if (offset < 0 || !stbtt_InitFont(&info_, data.data(), offset))
        throw std::runtime_error(path + ": not a TrueType font");
}

float TrueTypeFont::width(const std::string& text, float pixelHeight) const
{
    const float scale = stbtt_ScaleForPixelHeight(&info_, pixelHeight);
    float x = 0.0f;
    for (std::size_t i = 0; i < text.size(); ++i) {
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(&info_, static_cast<unsigned char>(text[i]), &advance, &bearing);
        x += static_cast<float>(advance) * scale;
        if (i + 1 < text.size())
            x += scale * static_cast<float>(stbtt_GetCodepointKernAdvance(&info_, static_cast<unsigned char>(text[i]),
                                                                          static_cast<unsigned char>(text[i + 1])));
    }
    return x;
}

float TrueTypeFont::rasterise(const std::string& text, float x, float baselineY, float pixelHeight,
                              const Plot& plot) const
{
    const float scale = stbtt_ScaleForPixelHeight(&info_, pixelHeight);
    const float startX = x;
    std::vector<unsigned char> coverage;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int cp = static_cast<unsigned char>(text[i]);
        const float shiftX = x - std::floor(x);
        const float shiftY = baselineY - std::floor(baselineY);
        int x0, y0, x1, y1;
        stbtt_GetCodepointBitmapBoxSubpixel(&info_, cp, scale, scale, shiftX, shiftY, &x0, &y0, &x1, &y1);
        const int w = x1 - x0, h = y1 - y0;
        if (w > 0 && h > 0) {
            coverage.assign(static_cast<std::size_t>(w * h), 0);
            stbtt_MakeCodepointBitmapSubpixel(&info_, coverage.data(), w, h, w, scale, scale, shiftX, shiftY, cp);
            const int ox = static_cast<int>(std::floor(x)) + x0, oy = static_cast<int>(std::floor(baselineY)) + y0;
            for (int py = 0; py < h; ++py)
                for (int px = 0; px < w; ++px) {
                    const float a = coverage[static_cast<std::size_t>(py * w + px)] / 255.0f;
                    if (a > 0.0f)
                        plot(ox + px, oy + py, a);
                }
        }
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(&info_, cp, &advance, &bearing);
        x += static_cast<float>(advance) * scale;
        if (i + 1 < text.size())
            x += scale * static_cast<float>(
                             stbtt_GetCodepointKernAdvance(&info_, cp, static_cast<unsigned char>(text[i + 1])));
    }
    return x - startX;
}

}  // namespace KestraneExt
