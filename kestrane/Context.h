// The GL and shader-runtime context of the program, on its one window.
// The desktop's (kestrane/sdl/) is an SDL window with a GL compatibility
// context; the browser's (kestrane/web/) is WebGL 2 on the page's canvas,
// where the window style, the pixel type and the window handles do not
// apply, and presenting is the browser's at the end of each frame step.
//
// Use:
//   Context(width, height, depthBits, stencilBits, samples, pixelType, style)
//       opens a width x height window (borderless at the top-left, or a
//       resizable one with WindowStyle::Resizable), creates a GL
//       compatibility context with the requested depth and stencil bits and
//       multisample count (samples <= 0: none; pixelType 1 asks for a
//       floating-point colour buffer when multisampling, falling back to an
//       ordinary one), makes it current, sets the viewport to the whole window,
//       sets Context::current, creates the shader-runtime context with the
//       fatal error handler Kestrane::CGerror and binds the default shader.
//   pumpMessages()   once per frame: GL error check, at most one window event,
//                    present, one step of the scripted keys (Keyboard.h).
//                    false = quit requested (nothing presented).
//   handle(kind)     raw handles (HandleKind below) as void*.
//   saveScreenshot(path)   writes the screen as a PNG (see Screenshot.cpp).
//   destroy()        releases the GL context. The window and the shader-runtime
//                    context stay; Context::current stays set.
// One Context per process; it and its window live until process exit.
#pragma once

#include "kestrane/Window.h"
#include "kestrane/cg/Cg.h"

#include <cstdint>

namespace Kestrane {

// Selector of Context::handle.
enum HandleKind : int {
    WindowHandle = 0,         // SDL_Window*
    DeviceContextHandle = 1,  // SDL_Window* as well: the surface buffers are swapped on
    GLContextHandle = 2,      // SDL_GLContext
    CgContextHandle = 3,      // CGcontext
};

class Context {
public:
    Context(int width, int height, int depthBits, int stencilBits, int samples, int pixelType,
            WindowStyle style = WindowStyle::Borderless);
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    void* handle(int kind) const;
    bool pumpMessages();
    void destroy();
    void saveScreenshot(const char* path);

    // Number of frames presented by pumpMessages so far.
    std::uint64_t presentedFrames() const { return presented; }

    // The one live context, set as soon as its GL context is current.
    static Context* current;

    Window* window = nullptr;    // created here, kept until process exit
    void* glContext = nullptr;   // SDL_GLContext
    CGcontext cgContext = nullptr;

private:
    // Viewport, Context::current, the shader-runtime context and the default
    // shader, once the platform's GL context is current.
    void startRuntime();
    bool createGL(int width, int height, int depthBits, int stencilBits, int samples, bool floatBuffer,
                  WindowStyle style);

    std::uint64_t presented = 0;
    bool quitPending = false;
};

}  // namespace Kestrane
