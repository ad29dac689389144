#include "kestrane/Keyboard.h"

#include <SDL.h>

namespace Kestrane {

bool keyDown(Key key)
{
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    const SDL_Scancode code = key == Key::Escape ? SDL_SCANCODE_ESCAPE : SDL_SCANCODE_F10;
    return state && code < count && state[code] != 0;
}

void refreshKeyboard()
{
    SDL_PumpEvents();
}

}  // namespace Kestrane
