#include "ContactSheet.h"

#include "FrameCapture.h"
#include "ShowRenderer.h"

#include <stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace Capture {

const std::vector<SheetInstant>& sheetInstants()
{
    // Inside each scene's entry where its picture is typical, in show order.
    static const std::vector<SheetInstant> instants = {
        {"Pils", 2.21},        {"ShinyCross", 10.31}, {"Horizon", 24.29},
        {"Flowerball", 36.81}, {"Dragonfly", 83.93},  {"Underwater", 110.43},
        {"Balloon", 132.52},   {"PilsTakeoff", 154.60}, {"Skate", 184.05},
    };
    return instants;
}

RgbPicture tileSheet(const std::vector<std::vector<std::uint8_t>>& frames, int width, int height, int columns,
                     int shrink)
{
    const int tileWidth = width / shrink, tileHeight = height / shrink;
    const int rows = (int(frames.size()) + columns - 1) / columns;
    RgbPicture sheet;
    sheet.width = tileWidth * columns;
    sheet.height = tileHeight * rows;
    sheet.rgb.assign(std::size_t(sheet.width) * std::size_t(sheet.height) * 3, 0);
    const int area = shrink * shrink;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const std::uint8_t* frame = frames[i].data();
        const int left = int(i) % columns * tileWidth, top = int(i) / columns * tileHeight;
        // Byte offset of pixel (x, y) in RGB rows `rowWidth` pixels wide.
        auto at = [](int rowWidth, int x, int y) {
            return (std::size_t(y) * std::size_t(rowWidth) + std::size_t(x)) * 3;
        };
        for (int y = 0; y < tileHeight; ++y)
            for (int x = 0; x < tileWidth; ++x)
                for (int c = 0; c < 3; ++c) {
                    int sum = 0;
                    for (int dy = 0; dy < shrink; ++dy)
                        for (int dx = 0; dx < shrink; ++dx)
                            sum += frame[at(width, x * shrink + dx, y * shrink + dy) + std::size_t(c)];
                    sheet.rgb[at(sheet.width, left + x, top + y) + std::size_t(c)] =
                        std::uint8_t((sum + area / 2) / area);
                }
    }
    return sheet;
}

int captureSheet(const Options& options)
{
    ShowRenderer renderer(options.wide);
    renderer.startUp();
    std::vector<std::vector<std::uint8_t>> frames;
    for (const SheetInstant& instant : sheetInstants()) {
        renderer.render(instant.time, 1.0 / options.fps);
        frames.push_back(renderer.read());
    }
    const RgbPicture sheet = tileSheet(frames, renderer.width(), renderer.height(), sheetColumns, sheetShrink);
    renderer.shutDown();
    std::string error;
    const bool jpeg = outputKind(options.out) != OutputKind::Png;
    if (jpeg && !stbi_write_jpg(options.out.c_str(), sheet.width, sheet.height, 3, sheet.rgb.data(), 90)) {
        std::fprintf(stderr, "vessara-capture: %s: cannot write the JPEG\n", options.out.c_str());
        return EXIT_FAILURE;
    }
    if (!jpeg && !writePng(options.out, sheet.width, sheet.height, sheet.rgb, error)) {
        std::fprintf(stderr, "vessara-capture: %s\n", error.c_str());
        return EXIT_FAILURE;
    }
    std::printf("vessara-capture: %s written: %d x %d, %zu scenes\n", options.out.c_str(), sheet.width,
                sheet.height, frames.size());
    return EXIT_SUCCESS;
}

}  // namespace Capture
