// Desktop OpenGL, compatibility profile: the fixed-function state exists and
// the shaders are GLSL 1.20.
#include "kestrane/GL.h"

#include "kestrane/GLDialect.h"

#include "kestrane/State.h"

namespace Kestrane {

CgCompiler::Target shaderTarget() { return CgCompiler::Target::Glsl120; }

unsigned fixedFunctionCapability(int capability)
{
    switch (capability) {
    case Capability::AlphaTest: return GL_ALPHA_TEST;
    case Capability::Normalize: return GL_NORMALIZE;
    case Capability::LineSmooth: return GL_LINE_SMOOTH;
    case Capability::PointSmooth: return GL_POINT_SMOOTH;
    default: return 0;
    }
}

void setAlphaTest(unsigned glCompare, float reference) { glAlphaFunc(glCompare, reference); }

void setPointSize(float size) { glPointSize(size); }

void setMultisample(bool enabled)
{
    if (enabled)
        glEnable(GL_MULTISAMPLE);
    else
        glDisable(GL_MULTISAMPLE);
}

bool boundTextureSize(unsigned target, int size[3])
{
    GLint queried[3] = {0, 0, 0};
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_WIDTH, &queried[0]);
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_HEIGHT, &queried[1]);
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_DEPTH, &queried[2]);
    for (int i = 0; i < 3; ++i)
        size[i] = queried[i];
    return true;
}

bool clientVertexArrays() { return true; }

}  // namespace Kestrane
