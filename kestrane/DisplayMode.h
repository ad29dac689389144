// Full screen for the demo's window: with a display-mode switch, or at the
// desktop's own resolution.
//
// Use:
//   setDisplayMode(width, height, bitsPerPixel)
//       switches Context::current's window to full screen at that size and
//       hides the cursor. The first call (of either kind) also arranges for
//       the display to be restored at process exit, so fatal exits leave the
//       desktop as found.
//   setDesktopFullScreen()
//       makes the window cover the whole desktop at the resolution it has
//       (no mode switch; the window's drawable becomes the desktop's size)
//       and hides the cursor.
//   restoreDisplayMode()
//       leaves full screen and shows the cursor; does nothing when the window
//       is not full screen.
//   displayModeSwitched()   true while the window is full screen (either kind).
// Failures of the switch itself are ignored: the show runs in the window.
#pragma once

namespace Kestrane {

void setDisplayMode(int width, int height, int bitsPerPixel);
void setDesktopFullScreen();
void restoreDisplayMode();
bool displayModeSwitched();

}  // namespace Kestrane
