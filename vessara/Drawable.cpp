#include "kestrane/GL.h"

#include "vessara/Drawable.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Immediate.h"
#include "kestrane/Shader.h"
#include "kestrane/Texture.h"
#include "vessara/Demo.h"

#include <algorithm>
#include <cmath>

namespace Vessara {

namespace {
std::uint64_t quadsDrawn = 0;
}

Drawable::Drawable(Demo* owner, const std::string& name)
    : demo(owner),
      time(&owner->time),
      frameDelta(&owner->frameDelta),
      spectrum(owner->spectrum),
      textures(&owner->textures),
      pixelShaders(&owner->pixelShaders),
      vertexShaders(&owner->vertexShaders),
      shaders(&owner->shaders),
      meshes(&owner->meshes),
      scratchPool(&owner->scratchPool),
      reducedPool(&owner->reducedPool)
{
    owner->add(name, this);
    // A new drawable forgets the current texture and scene handed between
    // the standard drawables.
    owner->camera.clearShared();
}

void Drawable::frameStep(float start, float duration)
{
    localTime = *time - start;
    progress = localTime / duration;
    Kestrane::clear(0, 0, 0, 0, true, true, true);
    draw();
}

void Drawable::useShader(const std::string& name)
{
    releaseTextures();
    currentShader = (*shaders)[name];
    currentShader->bind();
}

void Drawable::releaseTextures()
{
    if (currentShader)
        for (const std::string& parameter : boundTextures)
            currentShader->disableTexture(parameter.c_str());
    boundTextures.clear();
}

void Drawable::setTexture(const std::string& parameter, const Kestrane::Texture* texture)
{
    boundTextures.push_back(parameter);
    if (currentShader)
        currentShader->setTexture(parameter.c_str(), texture ? texture->id() : 0u);
}

void Drawable::setTexture(const std::string& parameter, const std::string& textureName)
{
    boundTextures.push_back(parameter);
    const Kestrane::Texture* texture = (*textures)[textureName];
    if (currentShader)
        currentShader->setTexture(parameter.c_str(), texture->id());
}

void Drawable::disableTexture(const std::string& parameter)
{
    if (currentShader)
        currentShader->disableTexture(parameter.c_str());
}

void Drawable::setFloat(const std::string& name, float value)
{
    if (currentShader)
        currentShader->setFloat(name.c_str(), value);
}

void Drawable::setFloat4(const std::string& name, const float values[4])
{
    if (currentShader)
        currentShader->setFloat4(name.c_str(), values);
}

void Drawable::setFloat4(const std::string& name, float x, float y, float z, float w)
{
    const float values[4] = {x, y, z, w};
    setFloat4(name, values);
}

void Drawable::uploadCamera()
{
    if (!currentShader)
        return;
    setFloat4("cameraPosition", demo->camera.cameraPositionParameter().data());
    setFloat4("targetPosition", demo->camera.targetPositionParameter().data());
    currentShader->uploadState();
}

void Drawable::drawQuad(float x0, float y0, float x1, float y1)
{
    pushAll();
    resetAll();
    disable(Kestrane::Capability::DepthTest);
    disable(Kestrane::Capability::CullFace);
    uploadCamera();

    Kestrane::begin(Kestrane::Quads);
    Kestrane::vertexAttribute(2, 0.0f, 0.0f, 0.0f, 1.0f);
    Kestrane::vertexAttribute(0, x0, y0, 0.0f, 1.0f);
    Kestrane::vertexAttribute(2, 1.0f, 0.0f, 0.0f, 1.0f);
    Kestrane::vertexAttribute(0, x1, y0, 0.0f, 1.0f);
    Kestrane::vertexAttribute(2, 1.0f, 1.0f, 0.0f, 1.0f);
    Kestrane::vertexAttribute(0, x1, y1, 0.0f, 1.0f);
    Kestrane::vertexAttribute(2, 0.0f, 1.0f, 0.0f, 1.0f);
    Kestrane::vertexAttribute(0, x0, y1, 0.0f, 1.0f);
    Kestrane::end();
    ++quadsDrawn;

    enable(Kestrane::Capability::DepthTest);
    popAll();
}

Kestrane::TexelArea drawnImagePart(const Kestrane::TexelArea& visible, float pixelsAcross, float pixelsUp)
{
    if (visible.empty() || visible.texelU <= 0.0f || visible.texelV <= 0.0f)
        return visible;

    // Filtering and the mipmap levels spread alpha beyond the visible texels:
    // by a texel of the level read, at most twice the texels one pixel spans,
    // plus the bilinear neighbour. Four such spans and a texel cover both.
    const float texelsPerPixelU = pixelsAcross > 0.0f ? 1.0f / (visible.texelU * pixelsAcross) : 1.0f;
    const float texelsPerPixelV = pixelsUp > 0.0f ? 1.0f / (visible.texelV * pixelsUp) : 1.0f;
    const float marginU = (4.0f * std::max(1.0f, texelsPerPixelU) + 1.0f) * visible.texelU;
    const float marginV = (4.0f * std::max(1.0f, texelsPerPixelV) + 1.0f) * visible.texelV;

    // A repeating texture wraps its edges into each other, so an axis whose
    // widened part reaches either edge is drawn whole.
    Kestrane::TexelArea part = visible;
    part.u0 -= marginU;
    part.u1 += marginU;
    part.v0 -= marginV;
    part.v1 += marginV;
    if (part.u0 <= 0.0f || part.u1 >= 1.0f) {
        part.u0 = 0.0f;
        part.u1 = 1.0f;
    }
    if (part.v0 <= 0.0f || part.v1 >= 1.0f) {
        part.v0 = 0.0f;
        part.v1 = 1.0f;
    }
    return part;
}

void Drawable::drawImage(const std::string& textureName, float x, float y, float w, float h,
                         int sourceFactor, int destinationFactor)
{
    disable(Kestrane::Capability::DepthTest);
    enable(Kestrane::Capability::Blend);
    setBlendFunction(sourceFactor, destinationFactor);
    pushAll();
    resetAll();

    useShader("vessara_texture.cg");
    setFloat("alpha", 1.0f);
    uploadCamera();
    setTexture("tex0", textureName);
    // The image lies flat at one scale: its nearest mipmap level reads half
    // the texels of a blend of two and looks the same.
    Kestrane::Texture* image = (*textures)[textureName];
    image->useNearestLevel(true);

    // Where alpha is zero, (SrcAlpha, One) and (SrcAlpha, OneMinusSrcAlpha)
    // leave the target as it is, so with those blends only the part of the
    // image with visible texels is drawn: the same picture, fewer pixels.
    Kestrane::TexelArea part;
    if (sourceFactor == Kestrane::BlendFactor::SrcAlpha && (destinationFactor == Kestrane::BlendFactor::One ||
                                                           destinationFactor == Kestrane::BlendFactor::OneMinusSrcAlpha)) {
        GLint viewport[4] = {0, 0, 0, 0};
        glGetIntegerv(GL_VIEWPORT, viewport);
        part = drawnImagePart(image->visibleArea(), std::fabs(w) * 0.5f * float(viewport[2]),
                              std::fabs(h) * 0.5f * float(viewport[3]));
    }
    if (!part.empty()) {
        const float x0 = x + w * part.u0, x1 = x + w * part.u1;
        const float y0 = y + h * part.v0, y1 = y + h * part.v1;
        Kestrane::begin(Kestrane::Quads);
        Kestrane::vertexAttribute(2, part.u0, part.v0, 0.0f, 1.0f);
        Kestrane::vertexAttribute(0, x0, y0, 0.0f, 1.0f);
        Kestrane::vertexAttribute(2, part.u1, part.v0, 0.0f, 1.0f);
        Kestrane::vertexAttribute(0, x1, y0, 0.0f, 1.0f);
        Kestrane::vertexAttribute(2, part.u1, part.v1, 0.0f, 1.0f);
        Kestrane::vertexAttribute(0, x1, y1, 0.0f, 1.0f);
        Kestrane::vertexAttribute(2, part.u0, part.v1, 0.0f, 1.0f);
        Kestrane::vertexAttribute(0, x0, y1, 0.0f, 1.0f);
        Kestrane::end();
    }
    image->useNearestLevel(false);

    popAll();
    disable(Kestrane::Capability::Blend);
    enable(Kestrane::Capability::DepthTest);
}

bool Drawable::beat(int bin, float threshold)
{
    const float level = (bin >= 0 && bin < 512) ? spectrum[bin] : 0.0f;
    return triggers[0].step(level, threshold, *frameDelta);
}

std::uint64_t Drawable::quadCount()
{
    return quadsDrawn;
}

}  // namespace Vessara
