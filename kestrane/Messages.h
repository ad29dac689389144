// Message reporting for every layer: the titled boxes of the original
// platform become lines on standard error, and a box on screen only when the
// program runs interactively on a display.
//
// Use:
//   enableMessageBoxes(true)     once, by an interactive program with a display;
//                                tests and the capture tool never call it.
//   showMessage(title, text)     reports and returns.
//   fatal(title, text)           reports, then ends the process with status 1.
//                                exit() runs, so atexit clean-up (the display
//                                mode) still happens.
#pragma once

#include <string>

namespace Kestrane {

void enableMessageBoxes(bool enabled);
bool messageBoxesEnabled();

void showMessage(const std::string& title, const std::string& text);
[[noreturn]] void fatal(const std::string& title, const std::string& text);

}  // namespace Kestrane
