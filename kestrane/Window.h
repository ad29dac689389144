// The one window the program draws into, created with OpenGL support so a
// Context can be made on it: borderless at the screen's top-left corner (the
// show's own window, full screen or not), or an ordinary decorated window the
// user can move and resize, centred on the screen.
//
// Use:
//   Window(width, height, style)
//                           opens and shows the window (client size in pixels);
//                           a failure is fatal unless `required` is false, in
//                           which case isOpen() says whether it worked.
//                           The GL attributes (depth, stencil, samples) must be
//                           set with SDL_GL_SetAttribute before, as Context does.
//   width(), height()       the current client-area size in pixels (follows
//                           resizing and full-screen switches).
//   sdlWindow()             the desktop's SDL handle, for its context and display
//                           mode (null in the browser, whose window is the
//                           page's canvas).
//   destroy()               closes the window.
// The window normally lives until process exit; Context never destroys it.
#pragma once

struct SDL_Window;

namespace Kestrane {

enum class WindowStyle { Borderless, Resizable };

class Window {
public:
    Window(int width, int height, WindowStyle style = WindowStyle::Borderless, bool required = true);

    bool isOpen() const { return open; }
    void destroy();
    int width() const;
    int height() const;
    SDL_Window* sdlWindow() const { return window; }

private:
    SDL_Window* window = nullptr;
    bool open = false;
};

}  // namespace Kestrane
