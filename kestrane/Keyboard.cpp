#include "kestrane/Keyboard.h"

#include <SDL.h>

namespace Kestrane {

bool keyDown(Key key)
{
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    auto held = [&](SDL_Scancode code) { return state && code < count && state[code] != 0; };
    switch (key) {
    case Key::Escape: return held(SDL_SCANCODE_ESCAPE);
    case Key::F10: return held(SDL_SCANCODE_F10);
    case Key::Space: return held(SDL_SCANCODE_SPACE);
    case Key::Left: return held(SDL_SCANCODE_LEFT);
    case Key::Right: return held(SDL_SCANCODE_RIGHT);
    case Key::Shift: return held(SDL_SCANCODE_LSHIFT) || held(SDL_SCANCODE_RSHIFT);
    case Key::PageUp: return held(SDL_SCANCODE_PAGEUP);
    case Key::PageDown: return held(SDL_SCANCODE_PAGEDOWN);
    case Key::Home: return held(SDL_SCANCODE_HOME);
    case Key::L: return held(SDL_SCANCODE_L);
    }
    return false;
}

void refreshKeyboard()
{
    SDL_PumpEvents();
}

}  // namespace Kestrane
