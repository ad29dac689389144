// The browser's window: the page's canvas (#canvas). The page sizes its
// drawing buffer (to the window, or to the picture's own size for a single
// frame), so width() and height() follow the canvas rather than the size
// asked for, which the canvas gets only while the page has left it at
// HTML's default of 300 x 150.
#include "kestrane/Window.h"

#include <emscripten/html5.h>

namespace Kestrane {

namespace {

constexpr const char* canvas = "#canvas";

void canvasSize(int& w, int& h)
{
    w = h = 0;
    emscripten_get_canvas_element_size(canvas, &w, &h);
}

}  // namespace

Window::Window(int width, int height, WindowStyle, bool)
{
    int w = 0, h = 0;
    canvasSize(w, h);
    if (w == 300 && h == 150)
        emscripten_set_canvas_element_size(canvas, width, height);
    open = true;
}

void Window::destroy() { open = false; }

int Window::width() const
{
    int w = 0, h = 0;
    canvasSize(w, h);
    return w;
}

int Window::height() const
{
    int w = 0, h = 0;
    canvasSize(w, h);
    return h;
}

}  // namespace Kestrane
