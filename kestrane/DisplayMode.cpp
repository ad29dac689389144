#include "kestrane/DisplayMode.h"

#include "kestrane/Context.h"

#include <SDL.h>

#include <cstdlib>

namespace Kestrane {

namespace {
SDL_Window* switchedWindow = nullptr;
bool restoreRegistered = false;

void restoreAtExit()
{
    restoreDisplayMode();
}

void enterFullScreen(SDL_Window* window, Uint32 flags)
{
    SDL_SetWindowFullscreen(window, flags);
    SDL_ShowCursor(SDL_DISABLE);
    switchedWindow = window;

    if (!restoreRegistered) {
        restoreRegistered = true;
        std::atexit(restoreAtExit);
    }
}
}  // namespace

void setDisplayMode(int width, int height, int bitsPerPixel)
{
    if (!Context::current || !Context::current->window)
        return;
    SDL_Window* window = Context::current->window->sdlWindow();

    SDL_DisplayMode mode{};
    int display = SDL_GetWindowDisplayIndex(window);
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) != 0)
        mode = SDL_DisplayMode{};
    mode.w = width;
    mode.h = height;
    if (bitsPerPixel == 32 || bitsPerPixel == 24)
        mode.format = SDL_PIXELFORMAT_RGB888;
    else if (bitsPerPixel == 16)
        mode.format = SDL_PIXELFORMAT_RGB565;
    // The refresh rate stays as the display has it.
    SDL_SetWindowDisplayMode(window, &mode);
    enterFullScreen(window, SDL_WINDOW_FULLSCREEN);
}

void setDesktopFullScreen()
{
    if (!Context::current || !Context::current->window)
        return;
    enterFullScreen(Context::current->window->sdlWindow(), SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void restoreDisplayMode()
{
    if (!switchedWindow)
        return;
    SDL_SetWindowFullscreen(switchedWindow, 0);
    SDL_ShowCursor(SDL_ENABLE);
    switchedWindow = nullptr;
}

bool displayModeSwitched()
{
    return switchedWindow != nullptr;
}

}  // namespace Kestrane
