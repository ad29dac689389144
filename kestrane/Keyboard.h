// Key polling: whether a key is held down now, from the keyboard state that
// the message pump (Context::pumpMessages) keeps up to date. The show polls
// Escape and F10 once per frame; the maker's mode (--edit) also polls its
// transport keys. Shift is either shift key.
//
// Scripted keys, a seam for running the real program headless (off unless
// the variable is set): VESSARA_SCRIPTED_KEYS="F10@20,Escape@30" holds F10
// down during frame step 20 and Escape during step 30, counting the calls of
// advanceScriptedKeys() (one per Context::pumpMessages) from 1, as if typed.
// SDL's offscreen driver has no keyboard, and a pushed key event does not
// change the key state the demo polls. A malformed value is reported on
// standard error, naming the variable, and ignored.
#pragma once

namespace Kestrane {

enum class Key { Escape, F10, Space, Left, Right, Shift, PageUp, PageDown, Home, L };

bool keyDown(Key key);

// Brings the keyboard state up to date without taking any event off the
// queue (for the check before the first frame).
void refreshKeyboard();

// Counts one frame step for the scripted keys.
void advanceScriptedKeys();

}  // namespace Kestrane
