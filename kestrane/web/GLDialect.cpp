// WebGL 2 (OpenGL ES 3.0): no fixed-function state, GLSL ES 3.00 shaders,
// no client-memory vertex arrays, and no query of a texture's size.
#include "kestrane/GL.h"

#include "kestrane/GLDialect.h"

namespace Kestrane {

CgCompiler::Target shaderTarget() { return CgCompiler::Target::Es300; }

unsigned fixedFunctionCapability(int) { return 0; }

// The alpha test is fixed-function: programs that want one discard.
void setAlphaTest(unsigned, float) {}

// A point's size is the vertex program's (PSIZE), not state.
void setPointSize(float) {}

// WebGL multisamples the canvas when it was made with antialiasing, for good.
void setMultisample(bool) {}

bool boundTextureSize(unsigned, int[3]) { return false; }

bool clientVertexArrays() { return false; }

}  // namespace Kestrane
