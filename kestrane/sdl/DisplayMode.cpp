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

// Places the window over its display at the given size before the full-screen
// request. That request is carried out by the window manager; without one (a
// bare X server) the window keeps the size it had, while SDL already reports
// the full-screen size, and the picture would be placed for the wrong size.
void coverDisplay(SDL_Window* window, int display, int width, int height)
{
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(display, &bounds) != 0)
        return;
    SDL_SetWindowPosition(window, bounds.x, bounds.y);
    SDL_SetWindowSize(window, width, height);
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
    if (display < 0)
        display = 0;
    if (SDL_GetCurrentDisplayMode(display, &mode) != 0)
        mode = SDL_DisplayMode{};
    mode.w = width;
    mode.h = height;
    if (bitsPerPixel == 32 || bitsPerPixel == 24)
        mode.format = SDL_PIXELFORMAT_RGB888;
    else if (bitsPerPixel == 16)
        mode.format = SDL_PIXELFORMAT_RGB565;
    // The refresh rate stays as the display has it. Where the display has no
    // such mode, SDL switches to the closest larger one.
    SDL_SetWindowDisplayMode(window, &mode);
    SDL_DisplayMode closest;
    if (SDL_GetClosestDisplayMode(display, &mode, &closest))
        coverDisplay(window, display, closest.w, closest.h);
    enterFullScreen(window, SDL_WINDOW_FULLSCREEN);
}

void setDesktopFullScreen()
{
    if (!Context::current || !Context::current->window)
        return;
    SDL_Window* window = Context::current->window->sdlWindow();
    int display = SDL_GetWindowDisplayIndex(window);
    if (display < 0)
        display = 0;
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(display, &desktop) == 0)
        coverDisplay(window, display, desktop.w, desktop.h);
    enterFullScreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
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
