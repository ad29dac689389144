// Text from a TrueType font: drawn anti-aliased into images, or taken as
// outlines (closed polygons) for extruded lettering. The glyph rasterising is
// the engine's own (kestrane_ext/TrueTypeFont.h), shared with the show's
// status line.
//
// Use:
//   const Font& font = Font::bold();              DejaVu Sans Bold, loaded once
//   font.draw(image, "Quarnel", x, baseline, 48, colour);   returns the advance
//   font.width("Quarnel", 48)                     advance width in pixels
//   std::vector<Contour> c = font.outlines("Quarnel", 1.0f);  y up, cap height ~0.73
// Outlines are flattened (curves into line segments); outer contours run
// counter-clockwise and holes clockwise (signed area > 0 is an outer one).
// A font that cannot be read throws std::runtime_error naming the file.
// Fonts live until process exit (bold() is a function-local static).
#pragma once

#include "Geometry2D.h"
#include "Image.h"

#include "kestrane_ext/TrueTypeFont.h"

#include <string>
#include <vector>

namespace Forge {

class Font {
public:
    static constexpr const char* BoldPath = KestraneExt::TrueTypeFont::BoldPath;

    explicit Font(const std::string& path);
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    static const Font& bold();

    float width(const std::string& text, float pixelHeight) const;
    // Draws text with its baseline at y, starting at x (pixels, y down).
    float draw(Image& image, const std::string& text, float x, float baselineY, float pixelHeight, Rgba colour) const;
    // Glyph outlines of the text laid out on a baseline at y = 0, scaled so
    // the font's ascent-to-descent height is `height`; curves become
    // `curveSteps` segments.
    std::vector<Contour> outlines(const std::string& text, float height, int curveSteps = 8) const;

private:
    KestraneExt::TrueTypeFont font;
};

}  // namespace Forge
