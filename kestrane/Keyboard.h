// Key polling: whether a key is held down now, from the keyboard state that
// the message pump (Context::pumpMessages) keeps up to date. The show polls
// Escape and F10 once per frame; the maker's mode (--edit) also polls its
// transport keys. Shift is either shift key.
#pragma once

namespace Kestrane {

enum class Key { Escape, F10, Space, Left, Right, Shift, PageUp, PageDown, Home, L };

bool keyDown(Key key);

// Brings the keyboard state up to date without taking any event off the
// queue (for the check before the first frame).
void refreshKeyboard();

}  // namespace Kestrane
