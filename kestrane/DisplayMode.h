// Full-screen display switching for the demo's window.
//
// Use:
//   setDisplayMode(width, height, bitsPerPixel)
//       switches Context::current's window to full screen at that size and
//       hides the cursor. The first call also arranges for the display to be
//       restored at process exit, so fatal exits leave the desktop as found.
//   restoreDisplayMode()
//       leaves full screen and shows the cursor; does nothing when the display
//       was not switched.
// Failures of the switch itself are ignored: the show runs in the window.
#pragma once

namespace Kestrane {

void setDisplayMode(int width, int height, int bitsPerPixel);
void restoreDisplayMode();
bool displayModeSwitched();

}  // namespace Kestrane
