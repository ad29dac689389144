// A contact sheet of the show: one frame of each of the nine scenes, shrunk
// and tiled three by three in the show's order (the README's picture).
//
// Use:
//   sheetInstants()            the nine music times, one inside each scene
//                              (the first entry of Pils), in show order.
//   tileSheet(frames, w, h, columns, shrink)
//                              w x h RGB frames (top row first) box-filtered
//                              down by `shrink` and tiled `columns` across,
//                              row by row; a missing tile at the end stays
//                              black. Pure function.
//   captureSheet(options)      starts the show offscreen, renders the frames
//                              at sheetInstants() on one renderer in time
//                              order, writes the sheet to options.out (a PNG,
//                              or a JPEG at quality 90 when it ends in .jpg).
//                              Returns the exit status: 0 written, 1 not.
#pragma once

#include "CaptureOptions.h"

#include <cstdint>
#include <vector>

namespace Capture {

struct SheetInstant {
    const char* scene;
    double time;
};
const std::vector<SheetInstant>& sheetInstants();

constexpr int sheetColumns = 3;
constexpr int sheetShrink = 4;  // 800 x 600 frames become 200 x 150 tiles

struct RgbPicture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // top row first
};
RgbPicture tileSheet(const std::vector<std::vector<std::uint8_t>>& frames, int width, int height, int columns,
                     int shrink);

int captureSheet(const Options& options);

}  // namespace Capture
