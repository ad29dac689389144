#include "kestrane/Keyboard.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace Kestrane {

namespace {

struct ScriptedPress {
    Key key;
    long step;
};

// The presses of VESSARA_SCRIPTED_KEYS, read once; empty when unset or bad.
const std::vector<ScriptedPress>& scriptedPresses()
{
    static const std::vector<ScriptedPress> presses = [] {
        std::vector<ScriptedPress> parsed;
        const char* text = std::getenv("VESSARA_SCRIPTED_KEYS");
        if (!text || !*text)
            return parsed;
        std::istringstream in(text);
        for (std::string item; std::getline(in, item, ',');) {
            const auto at = item.find('@');
            const std::string name = item.substr(0, at);
            char* end = nullptr;
            const long step = at == std::string::npos ? -1 : std::strtol(item.c_str() + at + 1, &end, 10);
            const bool known = name == "Escape" || name == "F10";
            if (!known || step < 0 || !end || *end != '\0' || end == item.c_str() + at + 1) {
                std::fprintf(stderr,
                             "VESSARA_SCRIPTED_KEYS: \"%s\" is not KEY@STEP (KEY Escape or F10, STEP a frame "
                             "number); no keys are scripted\n",
                             item.c_str());
                return std::vector<ScriptedPress>{};
            }
            parsed.push_back({name == "Escape" ? Key::Escape : Key::F10, step});
        }
        return parsed;
    }();
    return presses;
}

long scriptedStep = 0;

bool scriptedDown(Key key)
{
    for (const ScriptedPress& press : scriptedPresses())
        if (press.key == key && press.step == scriptedStep)
            return true;
    return false;
}

}  // namespace

bool keyDown(Key key)
{
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    auto held = [&](SDL_Scancode code) { return state && code < count && state[code] != 0; };
    if (scriptedDown(key))
        return true;
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

void advanceScriptedKeys()
{
    ++scriptedStep;
}

}  // namespace Kestrane
