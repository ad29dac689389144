// Video output through ffmpeg: raw RGB frames go down a pipe, the music of the
// same range is muxed in, H.264 and AAC come out.
//
// Use:
//   VideoSettings s{ffmpeg, out, width, height, fps, from, duration, music};
//   ffmpegArguments(s)        the command line (argv) the encoder runs.
//   VideoEncoder encoder;
//   encoder.start(s, error)   spawns ffmpeg in its own process group, so that
//                             Ctrl-C reaches only the capture, which then
//                             closes the video cleanly.
//   encoder.write(n, rgb, error)  one frame; false once ffmpeg stopped reading.
//   encoder.finish(error)     closes the pipe and waits; false when ffmpeg
//                             exits with a failure.
// The destructor closes the pipe and waits for ffmpeg if finish() was not
// called. Audio is cut with -ss from and -t duration on the music input; an
// empty `music` gives a silent video.
#pragma once

#include "FrameSink.h"

#include <sys/types.h>

#include <string>
#include <vector>

namespace Capture {

struct VideoSettings {
    std::string ffmpeg;  // path of the ffmpeg program
    std::string out;     // .mp4, .mkv or .mov
    int width = 800;
    int height = 600;
    double fps = 60.0;
    double from = 0.0;      // music time of the first frame
    double duration = 0.0;  // frames / fps
    std::string music;      // "" = no audio track
};

std::vector<std::string> ffmpegArguments(const VideoSettings& settings);

class VideoEncoder : public FrameSink {
public:
    VideoEncoder() = default;
    ~VideoEncoder() override;
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    bool start(const VideoSettings& settings, std::string& error);
    bool write(long n, const std::vector<std::uint8_t>& rgb, std::string& error) override;
    bool finish(std::string& error) override;

private:
    int pipeFd = -1;
    pid_t child = -1;
};

}  // namespace Capture
