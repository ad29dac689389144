// Program entry of both deliverables: `vessara` composes into the whole
// 800 x 600 screen, `vessara-wide` (built with VESSARA_WIDE) into 800 x 450,
// 75 pixels above the bottom.
//
// The command line (vessara/PlayerOptions.h) is read first, so --help and bad
// options need no display and no data. The program then changes into the
// content root (vessara/ContentRoot.h): the current directory when it holds
// the data, else the data beside the program. Screenshots still go to the
// directory it was started in.
#include "kestrane/Messages.h"
#include "prod/Prod.h"
#include "vessara/ContentRoot.h"
#include "vessara/PlayerOptions.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#ifndef VESSARA_WIDE
#define VESSARA_WIDE 0
#endif

namespace {

constexpr bool wide = VESSARA_WIDE != 0;

// Boxes on screen only when the program runs on a real display.
bool interactiveDisplay()
{
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0))
        return false;
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

// Where the last timeline entry ends: --from must lie before it.
double showEnd()
{
    const Prod::Prod settings(wide);
    return Prod::beatSeconds(Prod::boundaryBeats.back(), settings.tempo);
}

}  // namespace

int main(int argc, char** argv)
{
    const Vessara::PlayerCommand command = Vessara::readCommandLine({argv + 1, argv + argc}, showEnd(), wide);
    if (!command.play) {
        std::fputs(command.text.c_str(), command.exitStatus == 0 ? stdout : stderr);
        return command.exitStatus;
    }

    Kestrane::enableMessageBoxes(interactiveDisplay());
    Vessara::enterContentRoot();
    try {
        Prod::Prod prod(wide);
        Vessara::applyPlayerOptions(prod, command.options);
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
