// Text from a TrueType font (stb_truetype), laid out on one line and turned
// into anti-aliased coverage: the one text rasteriser of the project, used by
// the content tool for its lettering and by the show's maker's mode for its
// status line.
//
// Use:
//   TrueTypeFont font(path)           reads the file; throws std::runtime_error
//                                     naming it when it cannot be read or is
//                                     not a TrueType font.
//   font.width(text, pixelHeight)     advance width of the line in pixels.
//   font.rasterise(text, x, baselineY, pixelHeight, plot)
//                                     calls plot(px, py, coverage) for every
//                                     pixel a glyph covers (coverage in (0, 1],
//                                     y down, glyphs placed at sub-pixel
//                                     positions, kerning applied); returns the
//                                     advance. Pixels may lie outside any image:
//                                     plot clips.
//   font.info()                       the stb_truetype font, for outlines.
// Characters are bytes (Latin-1 code points). The font owns its file's bytes.
#pragma once

#include <stb_truetype.h>

#include <functional>
#include <string>
#include <vector>

namespace KestraneExt {

class TrueTypeFont {
public:
    static constexpr const char* BoldPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
    static constexpr const char* MonoPath = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

    explicit TrueTypeFont(const std::string& path);
    TrueTypeFont(const TrueTypeFont&) = delete;
    TrueTypeFont& operator=(const TrueTypeFont&) = delete;

    float width(const std::string& text, float pixelHeight) const;
    using Plot = std::function<void(int x, int y, float coverage)>;
    float rasterise(const std::string& text, float x, float baselineY, float pixelHeight, const Plot& plot) const;

    const stbtt_fontinfo& info() const { return info_; }

private:
    std::vector<unsigned char> data;
    stbtt_fontinfo info_{};
};

}  // namespace KestraneExt
