// The browser's keyboard: key-down and key-up events of the page, kept as a
// table that keyDown() reads. Events arrive between frame steps, so there is
// nothing to pump. The keys the show and the maker's mode use do not reach
// the page's own shortcuts (F10, Space, arrows and paging keys would scroll
// or open menus).
#include "kestrane/Keyboard.h"

#include <emscripten/html5.h>

#include <array>
#include <cstring>

namespace Kestrane {

namespace {

struct KeyName {
    Key key;
    const char* code;  // KeyboardEvent.code
};

constexpr KeyName keyNames[] = {
    {Key::Escape, "Escape"},     {Key::F10, "F10"},           {Key::Space, "Space"},
    {Key::Left, "ArrowLeft"},    {Key::Right, "ArrowRight"},  {Key::Shift, "ShiftLeft"},
    {Key::Shift, "ShiftRight"},  {Key::PageUp, "PageUp"},     {Key::PageDown, "PageDown"},
    {Key::Home, "Home"},         {Key::L, "KeyL"},
};

std::array<int, 16> held{};  // by Key: how many of its physical keys are down

EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* event, void*)
{
    for (const KeyName& name : keyNames)
        if (std::strcmp(event->code, name.code) == 0) {
            int& count = held[static_cast<std::size_t>(name.key)];
            if (type == EMSCRIPTEN_EVENT_KEYDOWN && !event->repeat)
                ++count;
            else if (type == EMSCRIPTEN_EVENT_KEYUP && count > 0)
                --count;
            return EM_TRUE;  // handled: no default action
        }
    return EM_FALSE;
}

// A key released while the page had no focus sends no key-up.
EM_BOOL onBlur(int, const EmscriptenFocusEvent*, void*)
{
    held.fill(0);
    return EM_FALSE;
}

void listen()
{
    static bool listening = false;
    if (listening)
        return;
    listening = true;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, onKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, onKey);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, onBlur);
}

}  // namespace

bool keyDown(Key key)
{
    listen();
    return held[static_cast<std::size_t>(key)] > 0;
}

void refreshKeyboard() { listen(); }

// Keys are scripted only in the desktop program (headless runs); the page is
// driven by its URL (?at=) instead.
void advanceScriptedKeys() {}

}  // namespace Kestrane
