// The GL API as the engine and everything above it see it: desktop OpenGL
// through libepoxy, or OpenGL ES 3.0 (WebGL 2) in the browser build. Code
// shared by both targets uses only what both have; the few desktop-only
// calls live in the desktop platform layer (kestrane/sdl/).
#pragma once

#if defined(__EMSCRIPTEN__)
#include <GLES3/gl3.h>
// Desktop names that shared tables mention for what WebGL 2 lacks: the
// shader compiler refuses 1D and rectangle samplers for GLSL ES, and WebGL
// refuses double vertex components like any type it does not know.
#define GL_TEXTURE_1D 0x0DE0
#define GL_TEXTURE_RECTANGLE 0x84F5
#define GL_DOUBLE 0x140A
#else
#include <epoxy/gl.h>
#endif
