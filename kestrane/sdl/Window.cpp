#include "kestrane/Window.h"

#include "kestrane/Messages.h"

#include <SDL.h>

#include <string>

namespace Kestrane {

Window::Window(int width, int height, WindowStyle style, bool required)
{
    if (style == WindowStyle::Resizable)
        window = SDL_CreateWindow("Vessara", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                  SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_SHOWN);
    else
        window = SDL_CreateWindow("Kestrane Window", 0, 0, width, height,
                                  SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN);
    open = window != nullptr;
    if (!window && !required)
        return;
    if (!window)
        fatal("Kestrane Error", std::string("Cannot create the ") + std::to_string(width) + "x" +
                                    std::to_string(height) + " window: " + SDL_GetError());
    SDL_RaiseWindow(window);
}

void Window::destroy()
{
    if (window)
        SDL_DestroyWindow(window);
    window = nullptr;
    open = false;
}

int Window::width() const
{
    int w = 0, h = 0;
    if (window)
        SDL_GL_GetDrawableSize(window, &w, &h);
    return w;
}

int Window::height() const
{
    int w = 0, h = 0;
    if (window)
        SDL_GL_GetDrawableSize(window, &w, &h);
    return h;
}

}  // namespace Kestrane
