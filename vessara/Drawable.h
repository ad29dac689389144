// Base of everything the demo draws: scenes, sky boxes, particle systems,
// loaded ZTX scenes. A drawable belongs to one Demo, registers itself there
// under its name when constructed, reads the demo's clock, frame delta and
// spectrum through pointers, and reaches the demo's caches and pools.
//
// The runtime drives it through these virtual operations:
//   prepare()                 once at start-up, before the warm-up draw.
//   draw()                    renders the content into whatever target is bound.
//   frameStep(start, length)  once per frame while its timeline entry is active:
//                             sets localTime and progress, clears the bound
//                             target and draws. Elements bind their own render
//                             target around this.
//   compose()                 after the runtime has cleared the screen and set the
//                             deliverable's viewport: places the finished picture
//                             there. A plain drawable has nothing to place; an
//                             element draws its colour texture.
// Drawing with a shader, in order: useShader(name) (releases the samplers set
// since the last selection), setTexture / setFloat / setFloat4, World changes,
// uploadCamera() (camera parameters and the six State matrices), then draw;
// drawQuad and drawImage do the upload themselves. Without a current shader
// the parameter operations do nothing.
// Drawables are created with new by their owners and live until process exit.
#pragma once

#include "kestrane/Mipmaps.h"
#include "kestrane/State.h"
#include "vessara/BeatTrigger.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Kestrane {
class CompleteShader;
class Texture;
}  // namespace Kestrane

namespace Vessara {

class Demo;
class Element;
class TextureResourceProxy;
class PixelShaderResourceProxy;
class VertexShaderResourceProxy;
class CompleteShaderResourceProxy;
class VXMResourceProxy;

// Square scratch render targets by power-of-two size (Element.h).
using ElementPool = std::map<int, Element*>;

class Drawable : public Kestrane::State {
public:
    Drawable(Demo* demo, const std::string& name);
    virtual ~Drawable() = default;
    Drawable(const Drawable&) = delete;
    Drawable& operator=(const Drawable&) = delete;

    virtual void draw() {}
    virtual void frameStep(float start, float duration);
    virtual void prepare() {}
    virtual void compose() {}

    // Shader and parameters: all act on currentShader.
    void useShader(const std::string& name);
    void releaseTextures();
    void setTexture(const std::string& parameter, const Kestrane::Texture* texture);
    void setTexture(const std::string& parameter, const std::string& textureName);
    void disableTexture(const std::string& parameter);
    void setFloat(const std::string& name, float value);
    void setFloat4(const std::string& name, const float values[4]);
    void setFloat4(const std::string& name, float x, float y, float z, float w);
    void uploadCamera();

    // A quad in clip coordinates with texture coordinates (0,0)..(1,1), drawn
    // through the current shader with identity matrices; depth testing is on
    // and culling off afterwards, the matrix stacks as they were.
    void drawQuad(float x0, float y0, float x1, float y1);
    // A cached texture as a rectangle in clip coordinates, blended with the
    // two BlendFactor values; leaves blending off and depth testing on, and
    // "vessara_texture.cg" current with the texture bound. With (SrcAlpha,
    // One) or (SrcAlpha, OneMinusSrcAlpha) only drawnImagePart is drawn.
    void drawImage(const std::string& textureName, float x, float y, float w, float h,
                   int sourceFactor, int destinationFactor);
    // Scene operations on the demo's shared camera block (CameraBlock.h),
    // in CameraOperations.cpp: setCamera stores eye, target and up and sets
    // View from them; setCurrentTexture puts a cached texture in shared slot 0
    // (fatal if not cached); drawMesh draws mesh `index` of a cached VXM file,
    // or all of them in file order for -1 (fatal if not cached or out of range).
    void setCamera(float eyeX, float eyeY, float eyeZ, float targetX, float targetY,
                   float targetZ, float upX, float upY, float upZ);
    void setCurrentTexture(const std::string& name);
    void drawMesh(int index, const std::string& name);
    // Trigger 0 fed with spectrum[bin]; a bin outside the spectrum reads 0.
    bool beat(int bin, float threshold);

    // Quads drawn by drawQuad since process start (tests count passes with it).
    static std::uint64_t quadCount();

    Demo* demo;
    const float* time;
    const float* frameDelta;
    const float* spectrum;
    float localTime = 0.0f;
    float progress = 0.0f;
    TextureResourceProxy* textures;
    PixelShaderResourceProxy* pixelShaders;
    VertexShaderResourceProxy* vertexShaders;
    CompleteShaderResourceProxy* shaders;
    VXMResourceProxy* meshes;
    ElementPool* scratchPool;
    ElementPool* reducedPool;
    std::vector<std::string> boundTextures;
    Kestrane::CompleteShader* currentShader = nullptr;
    std::array<BeatTrigger, 10> triggers{};
};

// The part of an image that drawImage draws when transparent texels change
// nothing: its visible area widened by what filtering and the mipmap level
// read at this size spread (pixelsAcross x pixelsUp on screen); an axis that
// then reaches an edge is whole, as a repeating texture wraps. An empty
// visible area stays empty: nothing is drawn.
Kestrane::TexelArea drawnImagePart(const Kestrane::TexelArea& visible, float pixelsAcross, float pixelsUp);

}  // namespace Vessara
