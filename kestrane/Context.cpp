// What every platform's Context does once its GL context is current
// (kestrane/sdl/Context.cpp, kestrane/web/Context.cpp create it).
#include "kestrane/GL.h"

#include "kestrane/Context.h"

#include "kestrane/CgErrorHandler.h"
#include "kestrane/DefaultShader.h"
#include "kestrane/FrameServices.h"

namespace Kestrane {

Context* Context::current = nullptr;

void Context::startRuntime()
{
    glViewport(0, 0, window->width(), window->height());
    current = this;

    cgContext = cgCreateContext();
    cgSetErrorCallback(CGerror);

    // The built-in default shader (positions by StateComplete, painted white),
    // compiled and bound: Kestrane::defaultShader.
    createDefaultShader();

    checkError();
}

}  // namespace Kestrane
