// The one window the program draws into: borderless, placed at the screen's
// top-left corner, created with OpenGL support so a Context can be made on it.
//
// Use:
//   Window(width, height)   opens and shows the window (client size in pixels);
//                           a failure is fatal unless `required` is false, in
//                           which case isOpen() says whether it worked.
//                           The GL attributes (depth, stencil, samples) must be
//                           set with SDL_GL_SetAttribute before, as Context does.
//   width(), height()       the current client-area size.
//   sdlWindow()             the SDL handle, for the context and the display mode.
//   destroy()               closes the window.
// The window normally lives until process exit; Context never destroys it.
#pragma once

struct SDL_Window;

namespace Kestrane {

class Window {
public:
    Window(int width, int height, bool required = true);

    bool isOpen() const { return window != nullptr; }
    void destroy();
    int width() const;
    int height() const;
    SDL_Window* sdlWindow() const { return window; }

private:
    SDL_Window* window = nullptr;
};

}  // namespace Kestrane
