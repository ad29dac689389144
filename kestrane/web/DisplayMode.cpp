// Full screen in the browser: the canvas asks the page for it. Browsers grant
// it only during a user's click or key press; a refusal leaves the show in
// the page, as a failed switch leaves it in its window on the desktop. There
// is no display mode to switch: both kinds fill the screen at its resolution.
#include "kestrane/DisplayMode.h"

#include <emscripten/html5.h>

namespace Kestrane {

namespace {

void requestFullScreen()
{
    EmscriptenFullscreenStrategy strategy{};
    strategy.scaleMode = EMSCRIPTEN_FULLSCREEN_SCALE_ASPECT;
    strategy.canvasResolutionScaleMode = EMSCRIPTEN_FULLSCREEN_CANVAS_SCALE_HIDEF;
    strategy.filteringMode = EMSCRIPTEN_FULLSCREEN_FILTERING_DEFAULT;
    emscripten_request_fullscreen_strategy("#canvas", EM_FALSE, &strategy);
}

}  // namespace

void setDisplayMode(int, int, int) { requestFullScreen(); }

void setDesktopFullScreen() { requestFullScreen(); }

void restoreDisplayMode()
{
    if (displayModeSwitched())
        emscripten_exit_fullscreen();
}

bool displayModeSwitched()
{
    EmscriptenFullscreenChangeEvent status{};
    return emscripten_get_fullscreen_status(&status) == EMSCRIPTEN_RESULT_SUCCESS && status.isFullscreen;
}

}  // namespace Kestrane
