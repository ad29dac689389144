// Key polling: whether a key is held down now, from the keyboard state that
// the message pump (Context::pumpMessages) keeps up to date. The demo polls
// Escape and F10 once per frame; there is no other input.
#pragma once

namespace Kestrane {

enum class Key { Escape, F10 };

bool keyDown(Key key);

// Brings the keyboard state up to date without taking any event off the
// queue (for the check before the first frame).
void refreshKeyboard();

}  // namespace Kestrane
