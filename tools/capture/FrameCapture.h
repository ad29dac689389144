// Reading finished frames back from the screen for the capture tool.
//
// Use, after Demo::renderFrame and before the frame is presented:
//   readFrame(width, height)         the back buffer's RGB pixels, top row first.
//   writePng(path, w, h, rgb, error) writes them; false with a reason on failure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Capture {

std::vector<std::uint8_t> readFrame(int width, int height);
bool writePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb,
              std::string& error);

}  // namespace Capture
