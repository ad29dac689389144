// What differs between the two GL dialects the engine draws with: desktop
// OpenGL (compatibility profile, GLSL 1.20) and OpenGL ES 3.0 as WebGL 2
// (GLSL ES 3.00). The shared engine code asks these instead of calling
// entry points or naming state only one dialect has. VertexInput.h is the
// other half: how vertex data reaches the shaders.
//
//   shaderTarget()              the GLSL the shader compiler emits for this GL.
//   fixedFunctionCapability(c)  the GL switch of a State capability that only
//                               fixed-function GL has (alpha test, normalize,
//                               line and point smoothing), or 0 where the
//                               dialect has no such state: switching it is
//                               then nothing, as for a program whose shaders
//                               ignore it.
//   setAlphaTest(compare, ref)  the alpha test's function and reference, where
//                               there is one.
//   setPointSize(size)          rasterized point size, where GL state sets it.
//   setMultisample(on)          multisample rasterization of the window, where
//                               it can be switched.
//   boundTextureSize(target, size)
//                               level 0's width, height and depth of the
//                               texture bound to target; false where GL cannot
//                               be asked (size is then left as it was).
//   clientVertexArrays()        whether vertex and index arrays may be drawn
//                               straight from client memory; where not, the
//                               streams keep a buffer object of their own.
#pragma once

#include "kestrane/cg/compiler/CgCompiler.h"

namespace Kestrane {

CgCompiler::Target shaderTarget();
unsigned fixedFunctionCapability(int capability);
void setAlphaTest(unsigned glCompare, float reference);
void setPointSize(float size);
void setMultisample(bool enabled);
bool boundTextureSize(unsigned target, int size[3]);
bool clientVertexArrays();

}  // namespace Kestrane
