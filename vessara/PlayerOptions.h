// The command line of the show's programs (vessara, vessara-wide), read in
// one place by both, with the conventions of CommandLine.h.
//
// Use:
//   PlayerCommand command = readCommandLine(args, showEnd, wide)
//       args without the program name; showEnd is where the show's last
//       timeline entry ends (--from must lie before it); wide names the
//       program vessara-wide and describes its letterboxed picture.
//       command.play: run the show with command.options. Otherwise print
//       command.text (standard output when exitStatus is 0, --help; standard
//       error when it is 2, a bad option: one line naming it, then the usage)
//       and exit with command.exitStatus.
//   applyPlayerOptions(demo, options)
//       the screen (mode switch, window or desktop), the start time and, with
//       --edit, the maker's mode (EditSession.h) set on the demo before it runs.
// Pure functions of their arguments: no I/O.
#pragma once

#include <string>
#include <vector>

namespace Vessara {

class Demo;

enum class Screen {
    ModeSwitch,  // the production's own: full screen, display switched to its size
    Window,      // an ordinary resizable window; the display mode is left alone
    Desktop,     // full screen at the desktop's own resolution, no mode switch
};

struct PlayerOptions {
    Screen screen = Screen::ModeSwitch;
    double from = 0.0;  // music seconds the show starts at
    bool edit = false;  // the maker's mode: transport keys, status line, live reload
};

struct PlayerCommand {
    bool play = false;
    int exitStatus = 0;
    std::string text;
    PlayerOptions options;
};

PlayerCommand readCommandLine(const std::vector<std::string>& args, double showEnd, bool wide);
void applyPlayerOptions(Demo& demo, const PlayerOptions& options);

}  // namespace Vessara
