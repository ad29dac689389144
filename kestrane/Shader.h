// Shader programs: one Cg program per VertexShader or PixelShader, and a
// CompleteShader holding the vertex and pixel programs compiled from one source.
//
// Use per drawing (a drawable's order):
//   CompleteShader s(source, "vsMain", "psMain");  at start-up; a compile error
//                                   ends the process through the runtime's handler.
//   s.bind();                       vertex then pixel program: enable its profile, bind.
//   s.setTexture("tex0", texture);  fragment program only: sampler on its own unit.
//   s.setFloat("alpha", 0.5f); s.setFloat4("color", rgba);
//                                   both programs; a name a program does not
//                                   declare is skipped silently. Values persist.
//   ...World/View/Projection changes...; s.uploadState();  the six State matrices.
//   draw (the draw paths call cgGLPrepareDraw, which links and uploads).
//   s.disableTexture("tex0");       before another shader is bound: frees the unit.
// Every name is looked up on each call; nothing caches parameter handles.
// Programs are never destroyed while the system runs; a CompleteShader owns its
// two program wrappers (the runtime's programs live until process exit).
#pragma once

#include "kestrane/cg/Cg.h"

#include <memory>

namespace Kestrane {

class Texture;

// Vertex program (profile 6150, CG_PROFILE_ARBVP1).
class VertexShader {
public:
    // Compiles source's entry for profile in the shader context of
    // Context::current, then loads it.
    VertexShader(const char* source, const char* entry, int profile);
    // The state upload of the six State matrices to this program.
    void uploadState();

    int profile;
    CGprogram program;
};

// Fragment program (profile 7000, CG_PROFILE_ARBFP1); same layout as VertexShader.
class PixelShader {
public:
    PixelShader(const char* source, const char* entry, int profile);
    void uploadState();

    int profile;
    CGprogram program;
};

class CompleteShader {
public:
    // vertex = VertexShader(source, vertexEntry, 6150), then
    // pixel = PixelShader(source, pixelEntry, 7000).
    CompleteShader(const char* source, const char* vertexEntry, const char* pixelEntry);
    CompleteShader(const CompleteShader&) = delete;
    CompleteShader& operator=(const CompleteShader&) = delete;

    void bind();
    void setFloat(const char* name, float value);
    void setFloat4(const char* name, const float* values);
    void setTexture(const char* name, const Texture& texture);
    // The same with a GL texture name (render-target textures, tests).
    void setTexture(const char* name, unsigned int glTexture);
    void disableTexture(const char* name);
    void uploadState();

    std::unique_ptr<VertexShader> vertex;
    std::unique_ptr<PixelShader> pixel;
};

}  // namespace Kestrane
