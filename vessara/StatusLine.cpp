#include "kestrane/GL.h"

#include "vessara/StatusLine.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Immediate.h"
#include "kestrane/Shader.h"
#include "kestrane/State.h"
#include "kestrane/Texture.h"

#include <algorithm>
#include <cmath>

namespace Vessara {

namespace {

// The band behind the text: dark enough to read white on any picture, light
// enough to see the picture through it.
constexpr unsigned char bandAlpha = 170;

}  // namespace

StatusLine::StatusLine() : font(KestraneExt::TrueTypeFont::BoldPath) {}

StatusLine::~StatusLine() = default;

void StatusLine::draw(Kestrane::CompleteShader& shader, const std::vector<Line>& lines, int windowWidth,
                      int windowHeight)
{
    if (lines.empty() || windowWidth <= 0 || windowHeight <= 0)
        return;
    const int width = windowWidth;
    const int height = std::min(windowHeight, lineHeight * int(lines.size()));

    // Rows bottom-up, as GL reads them; text is laid out top-down.
    pixels.assign(std::size_t(width) * std::size_t(height) * 4, 0);
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4)
        pixels[i + 3] = bandAlpha;
    const int top = lineHeight * int(lines.size());
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const Line& line = lines[n];
        const float baseline = float(lineHeight * int(n)) + textHeight;
        font.rasterise(line.text, 6.0f, baseline, textHeight, [&](int x, int y, float coverage) {
            const int row = top - 1 - y;
            if (x < 0 || x >= width || row < 0 || row >= height)
                return;
            unsigned char* p = &pixels[(std::size_t(row) * std::size_t(width) + std::size_t(x)) * 4];
            const auto mix = [coverage](unsigned char under, unsigned char over) {
                return (unsigned char)std::lround(under + (over - under) * coverage);
            };
            p[0] = mix(p[0], line.red);
            p[1] = mix(p[1], line.green);
            p[2] = mix(p[2], line.blue);
            p[3] = mix(p[3], 255);
        });
    }

    if (!texture || texture->width() != width || texture->height() != height) {
        texture = std::make_unique<Kestrane::Texture>(width, height, pixels.data(), Kestrane::Rgba, Kestrane::Nearest);
    } else {
        texture->bind();
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    }

    // Over the whole window, whatever viewport the picture was placed in.
    Kestrane::useScreenTarget();
    Kestrane::State::setViewport(0, 0, windowWidth, windowHeight);
    Kestrane::State::disable(Kestrane::Capability::DepthTest);
    Kestrane::State::enable(Kestrane::Capability::Blend);
    Kestrane::State::setBlendFunction(Kestrane::BlendFactor::SrcAlpha, Kestrane::BlendFactor::OneMinusSrcAlpha);
    Kestrane::State::pushAll();
    Kestrane::State::resetAll();
    shader.bind();
    shader.setFloat("alpha", 1.0f);
    shader.uploadState();
    shader.setTexture("tex0", *texture);
    const float y1 = -1.0f + 2.0f * float(height) / float(windowHeight);
    Kestrane::begin(Kestrane::Quads);
    Kestrane::vertexAttribute(2, 0.0f, 0.0f, 0.0f, 1.0f);
    Kestrane::vertexAttribute(0, -1.0f, -1.0f, 0.0f, 1.0f);
    Kestrane::vertexAttribute(2, 1.0f, 0.0f, 0.0f, 1.0f);
    Kestrane::vertexAttribute(0, 1.0f, -1.0f, 0.0f, 1.0f);
    Kestrane::vertexAttribute(2, 1.0f, 1.0f, 0.0f, 1.0f);
    Kestrane::vertexAttribute(0, 1.0f, y1, 0.0f, 1.0f);
    Kestrane::vertexAttribute(2, 0.0f, 1.0f, 0.0f, 1.0f);
    Kestrane::vertexAttribute(0, -1.0f, y1, 0.0f, 1.0f);
    Kestrane::end();
    shader.disableTexture("tex0");
    Kestrane::State::popAll();
    Kestrane::State::disable(Kestrane::Capability::Blend);
    Kestrane::State::enable(Kestrane::Capability::DepthTest);
}

}  // namespace Vessara
