#include "Text.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace Forge {

Font::Font(const std::string& path) : font(path) {}

const Font& Font::bold() {
    static const Font font(BoldPath);
    return font;
}

float Font::width(const std::string& text, float pixelHeight) const { return font.width(text, pixelHeight); }

float Font::draw(Image& image, const std::string& text, float x, float baselineY, float pixelHeight,
                 Rgba colour) const {
    return font.rasterise(text, x, baselineY, pixelHeight, [&](int px, int py, float coverage) {
        image.blend(px, py, {colour.r, colour.g, colour.b, colour.a * coverage});
    });
}

std::vector<Contour> Font::outlines(const std::string& text, float height, int curveSteps) const {
    const stbtt_fontinfo& info = font.info();
    int ascent = 0, descent = 0, lineGap = 0;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &lineGap);
    const float scale = height / static_cast<float>(ascent - descent);
    std::vector<Contour> contours;
    float penX = 0.0f;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int cp = static_cast<unsigned char>(text[i]);
        stbtt_vertex* vertices = nullptr;
        const int count = stbtt_GetCodepointShape(&info, cp, &vertices);
        Contour current;
        Vec2 last{};
        auto flush = [&] {
            Contour c = cleaned(current);
            if (c.size() >= 3) contours.push_back(std::move(c));
            current.clear();
        };
        auto point = [&](float fx, float fy) { return Vec2{penX + fx * scale, fy * scale}; };
        for (int v = 0; v < count; ++v) {
            const stbtt_vertex& s = vertices[v];
            const Vec2 to = point(s.x, s.y);
            switch (s.type) {
                case STBTT_vmove:
                    flush();
                    current.push_back(to);
                    break;
                case STBTT_vline: current.push_back(to); break;
                case STBTT_vcurve: {
                    const Vec2 c = point(s.cx, s.cy);
                    for (int k = 1; k <= curveSteps; ++k) {
                        const float t = static_cast<float>(k) / static_cast<float>(curveSteps);
                        const float u = 1.0f - t;
                        current.push_back(last * (u * u) + c * (2.0f * u * t) + to * (t * t));
                    }
                    break;
                }
                case STBTT_vcubic: {
                    const Vec2 c1 = point(s.cx, s.cy), c2 = point(s.cx1, s.cy1);
                    for (int k = 1; k <= curveSteps; ++k) {
                        const float t = static_cast<float>(k) / static_cast<float>(curveSteps);
                        const float u = 1.0f - t;
                        current.push_back(last * (u * u * u) + c1 * (3 * u * u * t) + c2 * (3 * u * t * t) +
                                          to * (t * t * t));
                    }
                    break;
                }
                default: break;
            }
            last = to;
        }
        flush();
        stbtt_FreeShape(&info, vertices);
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(&info, cp, &advance, &bearing);
        penX += static_cast<float>(advance) * scale;
        if (i + 1 < text.size())
            penX += scale * static_cast<float>(stbtt_GetCodepointKernAdvance(&info, cp, static_cast<unsigned char>(text[i + 1])));
    }
    // TrueType outer contours run clockwise (y up): flip so outer ones are
    // counter-clockwise.
    for (Contour& c : contours) std::reverse(c.begin(), c.end());
    return contours;
}

}  // namespace Forge
