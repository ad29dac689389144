#include "kestrane/GL.h"

#include "kestrane/Context.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Keyboard.h"
#include "kestrane/Messages.h"

#include <SDL.h>

#include <string>

namespace Kestrane {

namespace {

void setGLAttributes(int depthBits, int stencilBits, int samples, bool floatBuffer)
{
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, stencilBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, samples > 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples > 0 ? samples : 0);
    SDL_GL_SetAttribute(SDL_GL_FLOATBUFFERS, floatBuffer ? 1 : 0);
}

}  // namespace

Context::Context(int width, int height, int depthBits, int stencilBits, int samples, int pixelType,
                 WindowStyle style)
{
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        const char* driver = SDL_getenv("SDL_VIDEODRIVER");
        fatal("Kestrane Error", std::string("Cannot start the video system") +
                                    (driver ? std::string(" (SDL_VIDEODRIVER=") + driver + ")" : "") +
                                    ": " + SDL_GetError());
    }

    // Without multisampling the pixel type has no effect: an ordinary RGBA
    // buffer is chosen. With it, a floating-point buffer is tried first when
    // asked for, then an ordinary one.
    bool created = false;
    if (samples > 0) {
        if (pixelType == 1)
            created = createGL(width, height, depthBits, stencilBits, samples, true, style);
        if (!created)
            created = createGL(width, height, depthBits, stencilBits, samples, false, style);
        if (!created)
            fatal("Kestrane Error", std::string("KESTRANE ERROR: Pixel format/type not supported (") +
                                        std::to_string(samples) + " samples, depth " +
                                        std::to_string(depthBits) + ", stencil " +
                                        std::to_string(stencilBits) + "): " + SDL_GetError());
    } else if (!createGL(width, height, depthBits, stencilBits, 0, false, style)) {
        fatal("Kestrane Error", std::string("Cannot create an OpenGL compatibility context (depth ") +
                                    std::to_string(depthBits) + ", stencil " +
                                    std::to_string(stencilBits) + "): " + SDL_GetError());
    }

    startRuntime();
}

bool Context::createGL(int width, int height, int depthBits, int stencilBits, int samples, bool floatBuffer,
                       WindowStyle style)
{
    setGLAttributes(depthBits, stencilBits, samples, floatBuffer);
    auto* candidate = new Window(width, height, style, false);
    if (!candidate->isOpen()) {
        delete candidate;
        return false;
    }
    SDL_GLContext gl = SDL_GL_CreateContext(candidate->sdlWindow());
    if (!gl) {
        candidate->destroy();
        delete candidate;
        return false;
    }
    window = candidate;
    glContext = gl;
    return true;
}

void* Context::handle(int kind) const
{
    switch (kind) {
    case WindowHandle:
    case DeviceContextHandle:
        return window ? window->sdlWindow() : nullptr;
    case GLContextHandle:
        return glContext;
    case CgContextHandle:
        return cgContext;
    default:
        return nullptr;
    }
}

bool Context::pumpMessages()
{
    checkError();

    if (quitPending) {
        quitPending = false;
        return false;
    }

    SDL_Event event;
    if (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT)
            return false;
        // A close request becomes a quit that the next frame step sees, as
        // closing the only window of the program should. (A flag rather than a
        // pushed event: SDL_PollEvent would hand a freshly pushed event out
        // only after its poll sentinel, one step late.)
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)
            quitPending = true;
    }

    SDL_GL_SwapWindow(window->sdlWindow());
    ++presented;
    advanceScriptedKeys();
    return true;
}

void Context::destroy()
{
    if (!glContext)
        return;
    SDL_GL_MakeCurrent(window->sdlWindow(), nullptr);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(glContext));
    glContext = nullptr;
}

}  // namespace Kestrane
