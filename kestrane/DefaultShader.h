// The engine's built-in default shader: positions transformed by
// "StateComplete", every fragment painted opaque white.
//
// Use:
//   createDefaultShader()   once, by the Context constructor after the shader
//                           context exists: compiles Kestrane::defaultShader and
//                           binds it.
//   useDefaultShader()      binds it and uploads the current World, View and
//                           Projection to it (only "StateComplete" is declared).
// defaultShader lives until process exit (never freed).
#pragma once

#include "kestrane/Shader.h"

namespace Kestrane {

extern CompleteShader* defaultShader;

// The built-in source, vertex entry "vsMain", pixel entry "psMain".
extern const char* const defaultShaderSource;

void createDefaultShader();
void useDefaultShader();

}  // namespace Kestrane
