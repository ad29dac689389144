// Lines of text over the bottom of the window, drawn after the picture is
// composed and outside every scene's render target: the maker's mode's status
// line and, above it, the errors of files that failed to reload.
//
// Use (GL context current, screen bound):
//   StatusLine line;              loads DejaVu Sans Bold, the content tool's
//                                 font, through the same rasteriser
//                                 (KestraneExt::TrueTypeFont); throws
//                                 std::runtime_error naming the file if it
//                                 cannot be read.
//   line.draw(shader, lines, windowWidth, windowHeight)
//       lines from top to bottom, each on a dark band across the window,
//       the last one at the bottom edge; drawn with `shader` (the demo's
//       "vessara_texture.cg"), blended over what is there. Leaves blending
//       off and depth testing on, as the scenes' image drawing does.
//   StatusLine::lineHeight        pixels per line.
// The text is rasterised into one RGBA texture each call; the texture lives
// with the object.
#pragma once

#include "kestrane_ext/TrueTypeFont.h"

#include <memory>
#include <string>
#include <vector>

namespace Kestrane {
class CompleteShader;
class Texture;
}  // namespace Kestrane

namespace Vessara {

class StatusLine {
public:
    static constexpr int lineHeight = 20;
    static constexpr float textHeight = 15.0f;

    struct Line {
        std::string text;
        unsigned char red = 255, green = 255, blue = 255;
    };

    StatusLine();
    ~StatusLine();
    StatusLine(const StatusLine&) = delete;
    StatusLine& operator=(const StatusLine&) = delete;

    void draw(Kestrane::CompleteShader& shader, const std::vector<Line>& lines, int windowWidth, int windowHeight);

private:
    KestraneExt::TrueTypeFont font;
    std::unique_ptr<Kestrane::Texture> texture;
    std::vector<unsigned char> pixels;
};

}  // namespace Vessara
