// The capture tool's command line, checked before anything is rendered.
//
// Use:
//   parseOptions(args, showEnd, options, error)
//       args without the program name; showEnd is where the show's last
//       timeline entry ends (the default --to). false: error holds a one-line
//       reason, and the tool exits with status 2.
//   frameCount(from, to, fps)   round((to - from) * fps): frames of a range.
//   frameTime(from, fps, n)     from + n / fps: the music time of frame n.
//   outputKind(path)            what --out names: a PNG file, a video file
//                               (.mp4, .mkv, .mov) or a directory of frames.
//   usageText()                 the --help text.
// Pure functions of their arguments: no file system, no GL.
#pragma once

#include <string>
#include <vector>

namespace Capture {

enum class Mode { Help, Frame, Range, Bench, Sheet };
enum class OutputKind { Png, Video, Directory };

struct Options {
    Mode mode = Mode::Range;
    double at = 0.0;     // Mode::Frame
    double from = 0.0;   // Mode::Range
    double to = 0.0;     // Mode::Range; showEnd unless given
    double fps = 60.0;   // frame rate; the frame delta is 1 / fps
    int benchFrames = 30;
    std::string out;     // Mode::Sheet: the sheet's PNG or JPEG
    OutputKind outKind = OutputKind::Directory;
    bool wide = false;
};

bool parseOptions(const std::vector<std::string>& args, double showEnd, Options& options, std::string& error);

long frameCount(double from, double to, double fps);
double frameTime(double from, double fps, long n);
OutputKind outputKind(const std::string& path);
std::string usageText();

}  // namespace Capture
