// The framework's fatal-error report: used by resource lookups, effects and
// scenes when the show cannot go on.
//
// Use: fatalError(message) reports the message titled "Quarnel Vessara Error"
// on standard error (and in a box when the program runs interactively on a
// display), then ends the process with exit status 1. It does not return;
// exit-time clean-up (the display mode) still runs.
#pragma once

#include <string>

namespace Vessara {

[[noreturn]] void fatalError(const std::string& message);

}  // namespace Vessara
