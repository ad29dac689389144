#include "vessara/PlayerOptions.h"

#include "vessara/CommandLine.h"
#include "vessara/Demo.h"
#include "vessara/EditSession.h"

namespace Vessara {

namespace {

constexpr int badOptions = 2;

std::string usage(bool wide, double showEnd)
{
    const std::string program = wide ? "vessara-wide" : "vessara";
    const std::string padding(program.size(), ' ');
    return "usage: " + program + " [--window | --desktop] [--from SECONDS] [--edit]\n" +
           "       " + program + " --help\n"
           "\n"
           "Plays the show full screen, switching the display to 800 x 600" +
           (wide ? "; the picture is\nletterboxed to 800 x 450" : "") + ".\n" +
           "  --window        play in an ordinary window that can be resized; the display\n"
           "                  mode is left alone\n"
           "  --desktop       play full screen at the desktop's own resolution, without a\n"
           "                  mode switch\n"
           "  --from SECONDS  start the show, music and picture, that far in (0 to " +
           formatNumber(showEnd) + ")\n" +
           "  --edit          the maker's mode: a transport on the keys below, a status line\n"
           "                  (time, beat, bar, entry and scene, frame rate), and live reload\n"
           "                  of the .cg shaders, PNG/JPEG textures and VXM meshes of data/\n"
           "                  and vessara_data/ when they change on disk (a shader that does\n"
           "                  not compile keeps the old one and shows FILE:LINE:COL: error)\n"
           "In a window and on the desktop the picture is scaled to fit and keeps its shape,\n"
           "with black bars beside or above and below it.\n"
           "\n"
           "Keys: Escape quits; F10 saves the screen as dump0.png, dump1.png, ... (dump%i.png)\n"
           "in the directory the program was started from.\n"
           "With --edit: Space pauses and resumes; Left and Right step one beat back or\n"
           "forward (with Shift one bar of four beats); Page Up and Page Down jump to the\n"
           "start of the previous or next timeline entry; Home goes back to the start;\n"
           "L loops the entry shown until L is pressed again.\n"
           "\n"
           "Environment:\n"
           "  SDL_AUDIODRIVER  the sound output (pipewire, pulseaudio, alsa, ...). Without a\n"
           "                   sound card the show runs silently on the wall clock; \"dummy\"\n"
           "                   keeps the music clock without sound.\n"
           "  SDL_VIDEODRIVER  the display system, x11 or wayland (SDL picks one by itself).\n"
           "\n"
           "The show reads data/ and vessara_data/ from the current directory when it holds\n"
           "them, otherwise from beside the program (the installed share/vessara, or the\n"
           "source tree above build/).\n"
           "Exit status: 0 done, 1 failed (the reason on standard error), 2 bad options.\n";
}

PlayerCommand refuse(const std::string& reason, bool wide, double showEnd)
{
    PlayerCommand command;
    command.exitStatus = badOptions;
    command.text = std::string(wide ? "vessara-wide" : "vessara") + ": " + reason + "\n" + usage(wide, showEnd);
    return command;
}

}  // namespace

PlayerCommand readCommandLine(const std::vector<std::string>& args, double showEnd, bool wide)
{
    PlayerCommand command;
    command.play = true;
    bool window = false, desktop = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const Option option = splitOption(args[i]);
        std::string error;
        if (option.name == "--help" || option.name == "-h") {
            command.play = false;
            command.exitStatus = 0;
            command.text = usage(wide, showEnd);
            return command;
        }
        if (option.name == "--window" || option.name == "--desktop") {
            if (!refuseValue(option, error))
                return refuse(error, wide, showEnd);
            (option.name == "--window" ? window : desktop) = true;
        } else if (option.name == "--edit") {
            if (!refuseValue(option, error))
                return refuse(error, wide, showEnd);
            command.options.edit = true;
        } else if (option.name == "--from") {
            std::string value;
            if (!takeValue(args, i, option, value, error) ||
                !parseNumber(option.name, value, 0.0, showEnd, true, command.options.from, error))
                return refuse(error, wide, showEnd);
            if (!(command.options.from < showEnd))
                return refuse("--from " + value + " lies at the show's end (" + formatNumber(showEnd) + " s)",
                              wide, showEnd);
        } else {
            return refuse("unknown option \"" + args[i] + "\"", wide, showEnd);
        }
    }
    if (window && desktop)
        return refuse("--window and --desktop do not go together: pick one", wide, showEnd);
    command.options.screen = window ? Screen::Window : desktop ? Screen::Desktop : Screen::ModeSwitch;
    return command;
}

void applyPlayerOptions(Demo& demo, const PlayerOptions& options)
{
    demo.startOffset = float(options.from);
    if (options.edit)
        demo.session = std::make_unique<EditSession>();
    switch (options.screen) {
    case Screen::ModeSwitch:
        break;
    case Screen::Window:
        demo.fullscreen = false;
        demo.resizableWindow = true;
        break;
    case Screen::Desktop:
        demo.fullscreen = true;
        demo.desktopResolution = true;
        break;
    }
}

}  // namespace Vessara
