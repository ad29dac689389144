#include "CaptureOptions.h"

#include "vessara/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace Capture {

using Vessara::formatNumber;
using Vessara::parseNumber;

namespace {

// Limits that keep every later computation (frame counts, ffmpeg's -t) sane.
constexpr double maxSeconds = 100000.0;
constexpr double maxFps = 1000.0;
constexpr int maxBenchFrames = 100000;

bool endsWith(const std::string& text, const std::string& suffix)
{
    if (text.size() < suffix.size())
        return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - long(suffix.size()),
                      [](char a, char b) { return std::tolower((unsigned char)a) == std::tolower((unsigned char)b); });
}

}  // namespace

long frameCount(double from, double to, double fps)
{
    return std::lround((to - from) * fps);
}

double frameTime(double from, double fps, long n)
{
    return from + double(n) / fps;
}

OutputKind outputKind(const std::string& path)
{
    if (endsWith(path, ".png"))
        return OutputKind::Png;
    for (const char* video : {".mp4", ".mkv", ".mov"})
        if (endsWith(path, video))
            return OutputKind::Video;
    return OutputKind::Directory;
}

std::string usageText()
{
    return "usage: vessara-capture [--from SECONDS] [--to SECONDS] [--fps N] [--wide] --out DIR|FILE.mp4\n"
           "       vessara-capture --at SECONDS [--wide] --out FILE.png\n"
           "       vessara-capture --bench [--frames N] [--fps N] [--wide]\n"
           "       vessara-capture --sheet FILE.png|FILE.jpg [--wide]\n"
           "\n"
           "Renders the show without a display, on a virtual clock: frame n is drawn at\n"
           "music time FROM + n / N with frame delta 1 / N and the music's spectrum at that\n"
           "time. Same options, same frames.\n"
           "  --from, --to   the range in music seconds (default: the whole show)\n"
           "  --fps          frames per second (default 60)\n"
           "  --out DIR      numbered PNG frames DIR/frame000000.png, ... (DIR is created)\n"
           "  --out FILE.mp4 H.264 video with the music of the same range (needs ffmpeg;\n"
           "                 .mkv and .mov work too)\n"
           "  --at           one frame at that time, written as FILE.png\n"
           "  --wide         the letterboxed 800 x 450 picture of vessara-wide\n"
           "  --bench        time N frames (--frames, default 30) spread over every timeline\n"
           "                 entry and print a table; writes nothing\n"
           "  --sheet        one frame of each of the nine scenes, 200 x 150 each, tiled\n"
           "                 three by three into one PNG or JPEG (the README's picture)\n"
           "Exit status: 0 done, 1 failed while rendering or writing, 2 bad options or an\n"
           "output that cannot be written (also when ffmpeg is missing), before rendering.\n";
}

bool parseOptions(const std::vector<std::string>& args, double showEnd, Options& options, std::string& error)
{
    options = Options{};
    bool haveAt = false, haveFrom = false, haveTo = false, haveOut = false, haveFrames = false, bench = false;
    std::string sheet;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const Vessara::Option option = Vessara::splitOption(args[i]);
        const std::string& flag = option.name;
        if (flag == "--help" || flag == "-h") {
            options.mode = Mode::Help;
            return true;
        }
        if (flag == "--wide" || flag == "--bench") {
            if (!Vessara::refuseValue(option, error))
                return false;
            (flag == "--wide" ? options.wide : bench) = true;
            continue;
        }
        if (flag != "--at" && flag != "--from" && flag != "--to" && flag != "--fps" && flag != "--frames" &&
            flag != "--out" && flag != "--sheet") {
            error = "unknown option \"" + args[i] + "\"";
            return false;
        }
        std::string value;
        if (!Vessara::takeValue(args, i, option, value, error))
            return false;
        bool ok = true;
        if (flag == "--out" || flag == "--sheet") {
            if (value.empty()) {
                error = flag + " needs a path";
                return false;
            }
            (flag == "--out" ? options.out : sheet) = value;
            haveOut = haveOut || flag == "--out";
        } else if (flag == "--at") {
            ok = parseNumber(flag, value, 0.0, maxSeconds, true, options.at, error);
            haveAt = true;
        } else if (flag == "--from") {
            ok = parseNumber(flag, value, 0.0, maxSeconds, true, options.from, error);
            haveFrom = true;
        } else if (flag == "--to") {
            ok = parseNumber(flag, value, 0.0, maxSeconds, true, options.to, error);
            haveTo = true;
        } else if (flag == "--fps") {
            ok = parseNumber(flag, value, 0.0, maxFps, false, options.fps, error);
        } else {
            double frames = 0.0;
            ok = parseNumber(flag, value, 1.0, maxBenchFrames, true, frames, error);
            if (ok && frames != std::floor(frames)) {
                error = "--frames wants a whole number, not \"" + value + "\"";
                ok = false;
            }
            options.benchFrames = int(frames);
            haveFrames = true;
        }
        if (!ok)
            return false;
    }

    if (!sheet.empty()) {
        if (bench || haveAt || haveFrom || haveTo || haveOut || haveFrames) {
            error = "--sheet renders its own nine frames: no --at, --from, --to, --out, --bench or --frames";
            return false;
        }
        if (outputKind(sheet) != OutputKind::Png && !endsWith(sheet, ".jpg")) {
            error = "--sheet writes one picture: it must name a .png or .jpg file, not \"" + sheet + "\"";
            return false;
        }
        options.mode = Mode::Sheet;
        options.out = sheet;
        options.outKind = OutputKind::Png;
        return true;
    }
    if (bench) {
        if (haveAt || haveFrom || haveTo || haveOut) {
            error = "--bench writes nothing and covers the whole show: no --at, --from, --to or --out";
            return false;
        }
        options.mode = Mode::Bench;
        return true;
    }
    if (haveFrames) {
        error = "--frames only goes with --bench";
        return false;
    }
    if (!haveOut) {
        error = "nothing to do: give --out DIR, --out FILE.mp4, --at SECONDS --out FILE.png or --bench";
        return false;
    }
    options.outKind = outputKind(options.out);

    if (haveAt) {
        if (haveFrom || haveTo) {
            error = "--at renders one frame and does not go with --from or --to";
            return false;
        }
        if (options.outKind != OutputKind::Png) {
            error = "--at writes one PNG: --out must name a .png file, not \"" + options.out + "\"";
            return false;
        }
        options.mode = Mode::Frame;
        return true;
    }

    options.mode = Mode::Range;
    if (options.outKind == OutputKind::Png) {
        error = "a range is written as a directory of frames or as a video (.mp4); --out FILE.png is for --at";
        return false;
    }
    if (!haveTo)
        options.to = showEnd;
    if (!(options.to > options.from)) {
        error = haveTo ? "--to (" + formatNumber(options.to) + ") must come after --from (" +
                             formatNumber(options.from) + ")"
                       : "--from (" + formatNumber(options.from) + ") lies at or past the show's end (" +
                             formatNumber(showEnd) + " s)";
        return false;
    }
    if (frameCount(options.from, options.to, options.fps) < 1) {
        error = "the range " + formatNumber(options.from) + " to " + formatNumber(options.to) +
                " holds no frame at " + formatNumber(options.fps) + " fps";
        return false;
    }
    return true;
}

}  // namespace Capture
