// Where captured frames go: a directory of numbered PNGs or a video encoder.
//
// Use, before anything is rendered:
//   prepareOutput(path, kind, error)  checks that the output can be written:
//                         a file's directory exists and is writable (and the
//                         file itself, if present); a frame directory is
//                         created when missing. false: error is one line.
//   findOnPath(program, path)         the first executable `program` in the
//                         colon-separated `path` (PATH), or "" when none.
// Then, per frame and at the end:
//   sink.write(n, rgb, error)   frame n (800 x 600 RGB, top row first).
//   sink.finish(error)          completes the output (the video is closed).
// PngDirectory writes DIR/frame000000.png, DIR/frame000001.png, ...
// A sink lives in the capture's scope; finish() is called once at the end.
#pragma once

#include "CaptureOptions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Capture {

bool prepareOutput(const std::string& path, OutputKind kind, std::string& error);
std::string findOnPath(const std::string& program, const char* path);

class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual bool write(long n, const std::vector<std::uint8_t>& rgb, std::string& error) = 0;
    virtual bool finish(std::string& error) = 0;
};

class PngDirectory : public FrameSink {
public:
    PngDirectory(std::string directory, int width, int height);
    bool write(long n, const std::vector<std::uint8_t>& rgb, std::string& error) override;
    bool finish(std::string&) override { return true; }

    static std::string frameName(long n);  // "frame000042.png"

private:
    std::string directory;
    int width, height;
};

}  // namespace Capture
