// Program entry of both deliverables: `vessara` composes into the whole
// 800 x 600 screen, `vessara-wide` (built with VESSARA_WIDE) into 800 x 450,
// 75 pixels above the bottom. The command line is ignored.
#include "kestrane/Messages.h"
#include "prod/Prod.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#ifndef VESSARA_WIDE
#define VESSARA_WIDE 0
#endif

namespace {

// Boxes on screen only when the program runs on a real display.
bool interactiveDisplay()
{
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0))
        return false;
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

}  // namespace

int main()
{
    Kestrane::enableMessageBoxes(interactiveDisplay());
    try {
        Prod::Prod prod(VESSARA_WIDE != 0);
        prod.run();
    } catch (const std::exception& failure) {
        Kestrane::fatal("Kestrane Error", std::string("Start-up failed: ") + failure.what());
    } catch (const char* failure) {
        Kestrane::fatal("Kestrane Error", std::string("Start-up failed: ") + failure);
    } catch (...) {
        Kestrane::fatal("Kestrane Error", "Start-up failed: an engine call raised an error");
    }
    return EXIT_SUCCESS;
}
