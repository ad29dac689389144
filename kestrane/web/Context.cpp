// The browser's context: WebGL 2 on the page's canvas. Presenting is the
// browser's: what a frame step drew is shown when it returns to the page.
#include "kestrane/Context.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Messages.h"

#include <emscripten/html5.h>

#include <string>

namespace Kestrane {

Context::Context(int width, int height, int depthBits, int stencilBits, int samples, int, WindowStyle style)
{
    window = new Window(width, height, style);

    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = false;
    attributes.depth = depthBits > 0;
    attributes.stencil = stencilBits > 0;
    attributes.antialias = samples > 0;
    attributes.premultipliedAlpha = false;
    attributes.preserveDrawingBuffer = false;
    attributes.powerPreference = EM_WEBGL_POWER_PREFERENCE_HIGH_PERFORMANCE;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE gl = emscripten_webgl_create_context("#canvas", &attributes);
    if (gl <= 0)
        fatal("Kestrane Error", "Cannot create a WebGL 2 context: this browser or its graphics driver "
                                "does not offer WebGL 2 (error " + std::to_string(int(gl)) + ")");
    emscripten_webgl_make_context_current(gl);
    glContext = reinterpret_cast<void*>(gl);

    startRuntime();
}

void* Context::handle(int kind) const
{
    switch (kind) {
    case GLContextHandle:
        return glContext;
    case CgContextHandle:
        return cgContext;
    default:
        return nullptr;  // no native window: the canvas is the page's
    }
}

bool Context::pumpMessages()
{
    checkError();
    ++presented;
    return true;
}

void Context::destroy()
{
    if (!glContext)
        return;
    emscripten_webgl_destroy_context(reinterpret_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(glContext));
    glContext = nullptr;
}

}  // namespace Kestrane
