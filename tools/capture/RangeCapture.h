// Capturing a range of the show at a fixed frame rate.
//
// Use, once the options are checked and the output prepared (FrameSink.h):
//   captureRange(options, ffmpeg)
//       starts the show offscreen and renders frameCount(from, to, fps)
//       frames, frame n at music time frameTime(from, fps, n) with frame delta
//       1 / fps, into numbered PNGs or, for a video path, through `ffmpeg`
//       (its path) with the music of the same range. Shows a progress line on
//       a terminal and ends with one line saying where the frames went.
//       Frames are written by a FrameWriter thread while the next renders.
//       At the end it prints the time per frame spent rendering, reading back
//       and waiting for the writer, then the resident memory after the first
//       quarter of the frames and after the last, the peak, and the number of
//       GL errors (the whole-show soak reads these).
//       Returns the exit status: 0 done, 1 a write or ffmpeg failed or the
//       capture was interrupted (the frames so far are kept; a video is closed
//       cleanly).
#pragma once

#include "CaptureOptions.h"

#include <string>

namespace Capture {

int captureRange(const Options& options, const std::string& ffmpeg);

}  // namespace Capture
