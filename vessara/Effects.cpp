#include "vessara/Effects.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Texture.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <initializer_list>

namespace Vessara {

using Kestrane::BlendFactor::One;
using Kestrane::BlendFactor::OneMinusSrcAlpha;
using Kestrane::BlendFactor::SrcAlpha;
using Kestrane::Capability::Blend;
using Kestrane::Capability::DepthTest;

namespace {

// The scratch element every same-size pass of element renders into; looked up
// again before each use.
Element& scratchFor(Element& element)
{
    return *poolElement(element.width, *element.scratchPool);
}

// Textures read unfiltered while it lives, for passes that read whole
// texels: an unfiltered read costs far less than a filtered one on a
// software rasterizer. Their own filters come back with it.
class UnfilteredReads {
public:
    UnfilteredReads(std::initializer_list<Kestrane::Texture*> list)
    {
        for (Kestrane::Texture* texture : list)
            if (texture && count < textures.size()) {
                texture->useUnfilteredTexels(true);
                textures[count++] = texture;
            }
    }
    ~UnfilteredReads()
    {
        for (std::size_t i = 0; i < count; ++i)
            textures[i]->useUnfilteredTexels(false);
    }
    UnfilteredReads(const UnfilteredReads&) = delete;
    UnfilteredReads& operator=(const UnfilteredReads&) = delete;

private:
    std::array<Kestrane::Texture*, 3> textures{};
    std::size_t count = 0;
};

// The common ending of a same-size effect: back to the element's target,
// then the scratch image replaces the element's colour, texel for pixel.
void copyBack(Element& scratch, Element& element)
{
    Kestrane::useScreenTarget();
    element.bind();
    const UnfilteredReads wholeTexels{scratch.colorTexture()};
    copyTarget(scratch, element);
}

}  // namespace

void copyTarget(Element& source, Element& destination)
{
    destination.bind();
    source.useShader("vessara_texture.cg");
    source.setTexture("tex0", source.colorTexture());
    source.drawQuad(-1.0f, -1.0f, 1.0f, 1.0f);
    source.disableTexture("tex0");
    source.bind();
}

void addQuad(Drawable& drawable, const Kestrane::Texture* texture, float alpha)
{
    drawable.useShader("vessara_texture.cg");
    drawable.setTexture("tex0", texture);
    drawable.setFloat("alpha", alpha);
    Kestrane::State::enable(Blend);
    Kestrane::State::setBlendFunction(SrcAlpha, One);
    drawable.drawQuad(-1.0f, -1.0f, 1.0f, 1.0f);
    drawable.setFloat("alpha", 1.0f);
    Kestrane::State::disable(Blend);
}

void findEdges(Element& element, float amp, const float edgeColor[4], const float bgColor[4])
{
    if (amp < 0.01f)
        return;
    Element& scratch = scratchFor(element);
    scratch.bind();
    element.useShader("vessara_find_edges.cg");
    element.setFloat4("edgeColor", edgeColor);
    element.setFloat4("bgColor", bgColor);
    element.setFloat("texelSize", 1.0f / float(element.width));
    element.setFloat("amp", amp);
    element.setTexture("tex0", element.colorTexture());
    element.drawQuad(-1.0f, -1.0f, 1.0f, 1.0f);
    element.releaseTextures();
    copyBack(scratchFor(element), element);
}

void outlineEdges(Element& element, float amp, const float edgeColor[4])
{
    if (amp < 0.01f)
        return;
    Element& scratch = scratchFor(element);
    {
        // The shader reads depth and colour at texel centres only.
        const UnfilteredReads wholeTexels{element.depthTexture(), element.colorTexture()};
        scratch.bind();
        element.useShader("vessara_outline_edges.cg");
        element.setFloat4("edgeColor", edgeColor);
        element.setFloat("texelSize", 1.0f / float(element.width));
        element.setFloat("amp", amp);
        element.setTexture("tex0", element.depthTexture());
        element.setTexture("tex1", element.colorTexture());
        element.drawQuad(-1.0f, -1.0f, 1.0f, 1.0f);
        element.releaseTextures();
    }
    copyBack(scratchFor(element), element);
}

void distortSine(Element& element, float freqX, float freqY, float ampX, float ampY,
                 float offsetX, float offsetY)
{
    Element& scratch = scratchFor(element);
    scratch.bind();
    if (ampX < 1e-6f || ampY < 1e-6f)
        return;
    element.useShader("vessara_distort_sine.cg");
    element.setFloat4("freq", freqX, freqY, 0.0f, 1.0f);
    element.setFloat4("amp", ampX, ampY, 0.0f, 1.0f);
    element.setFloat4("ofset", offsetX, offsetY, 0.0f, 1.0f);
    element.setTexture("tex0", element.colorTexture());
    element.drawQuad(-1.0f, -1.0f, 1.0f, 1.0f);
    element.releaseTextures();
    copyBack(scratchFor(element), element);
}

void directionalBlur(Element& element, float stepX, float stepY, float growth, float gamma)
{
    if (std::fabs(stepX) + std::fabs(stepY) < 0.001f || gamma < 0.001f)
        return;
    for (int i = 0; i < 2; ++i) {
        const float step[4] = {(stepX + float(i) * (stepX * growth)) / float(element.width),
                               (stepY + float(i) * (stepY * growth)) / float(element.height),
                               0.0f, 0.0f};
        Element& scratch = scratchFor(element);
        scratch.bind();
        element.useShader("vessara_directional_blur.cg");
        element.setFloat4("pixelStep", step);
        element.setFloat("gamma", gamma);
        element.setTexture("tex0", element.colorTexture());
        element.drawQuad(-1.0f, -1.0f, 1.0f, 1.0f);
        element.releaseTextures();

        Kestrane::useScreenTarget();
        element.bind();
        element.setTexture("tex0", scratchFor(element).colorTexture());
        element.setFloat4("pixelStep", step);
        element.drawQuad(-1.0f, -1.0f, 1.0f, 1.0f);
        element.releaseTextures();
    }
}

void blur(Element& element, float step, float growth, float gamma)
{
    directionalBlur(element, step, 0.0f, growth, gamma);
    directionalBlur(element, 0.0f, step, growth, gamma);
}

void glow(Element& element, int size, float step, float growth, float alpha, float gamma)
{
    if (alpha < 0.001f || step < 0.001f || gamma < 0.001f)
        return;
    Element& reduced = *poolElement(size, *element.reducedPool);
    copyTarget(element, reduced);
    blur(reduced, step, growth, gamma);
    element.bind();
    addQuad(element, reduced.colorTexture(), alpha);
}

void depthOfField(Element& element, int passes, float focusDepth, float stepX, float stepY,
                  float growth, float ramp, float exponent)
{
    if (std::fabs(stepX) + std::fabs(stepY) < 0.001f || passes <= 0)
        return;
    // Both passes read whole texels (the shader mixes neighbours itself).
    const UnfilteredReads wholeTexels{element.depthTexture(), element.colorTexture(),
                                      scratchFor(element).colorTexture()};
    for (int i = 0; i < passes; ++i) {
        const float step[4] = {(stepX + float(i) * (stepX * growth)) / float(element.width),
                               (stepY + float(i) * (stepY * growth)) / float(element.height),
                               0.0f, 0.0f};
        Element& scratch = scratchFor(element);
        scratch.bind();
        Kestrane::clear(0.0f, 0.0f, 0.0f, 0.0f, true, true, true);
        element.useShader("vessara_depth_of_field.cg");
        element.setFloat4("pixelStep", step);
        element.setFloat("focusDepth", focusDepth);
        element.setFloat("ramp", ramp);
        element.setFloat("exponent", exponent);
        element.setTexture("colorMap", element.colorTexture());
        element.setTexture("depthMap", element.depthTexture());
        element.drawQuad(-1.0f, -1.0f, 1.0f, 1.0f);
        element.releaseTextures();

        // The pass reads the element's depth while drawing into the element,
        // so the depth texture is detached meanwhile: sampling an attached
        // texture is undefined, and a multi-threaded rasterizer may store
        // the depth tiles back while the quad reads them.
        Kestrane::useScreenTarget();
        element.attachDepth(false);
        element.setFloat4("pixelStep", step);
        element.setFloat("focusDepth", focusDepth);
        element.setTexture("colorMap", scratchFor(element).colorTexture());
        element.setTexture("depthMap", element.depthTexture());
        element.drawQuad(-1.0f, -1.0f, 1.0f, 1.0f);
        element.releaseTextures();
        element.attachDepth(true);
    }
}

void colorOverlay(Element& element, const float color[4])
{
    if (color[3] < 0.001f)
        return;
    element.useShader("vessara_color.cg");
    element.setFloat4("color", color);
    element.uploadCamera();
    Kestrane::State::disable(DepthTest);
    Kestrane::State::enable(Blend);
    Kestrane::State::setBlendFunction(SrcAlpha, OneMinusSrcAlpha);
    element.drawQuad(-1.0f, -1.0f, 1.0f, 1.0f);
    Kestrane::State::disable(Blend);
    Kestrane::State::enable(DepthTest);
}

}  // namespace Vessara
