// Whether messages also go on screen: one switch for every platform's
// showMessage and fatal (kestrane/sdl/Messages.cpp, kestrane/web/Messages.cpp).
#include "kestrane/Messages.h"

namespace Kestrane {

namespace {
bool boxesEnabled = false;
}

void enableMessageBoxes(bool enabled) { boxesEnabled = enabled; }

bool messageBoxesEnabled() { return boxesEnabled; }

}  // namespace Kestrane
