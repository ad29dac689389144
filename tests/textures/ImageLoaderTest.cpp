#include "support/TestSupport.h"

#include "kestrane_ext/ImageLoader.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cstdint>
#include <string>
#include <vector>

using KestraneExt::File;
using KestraneExt::ImageLoader;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Pixels given top row first, as image files store them.
std::string writePng(const TestSupport::TempDir& dir, const std::string& name, int w, int h, int channels, const Bytes& pixels)
{
    const std::string path = dir.file(name);
    EXPECT_NE(stbi_write_png(path.c_str(), w, h, channels, pixels.data(), w * channels), 0);
    return path;
}

Bytes pixelsOf(const ImageLoader& image)
{
    return Bytes(image.pixels(), image.pixels() + image.byteCount());
}

}  // namespace

// Written top row first as image files store them; loaded bottom row first,
// rows packed, grey expanded to RGB, alpha kept only where the file has it.
TEST(ImageLoader, PngsLoadBottomRowFirstPackedAndExpanded)
{
    TestSupport::TempDir dir;
    Bytes odd;  // 3 x 2 RGB: rows of 9 bytes, no padding
    for (int i = 0; i < 18; ++i)
        odd.push_back(static_cast<std::uint8_t>(i * 10));
    const struct {
        const char* name;
        std::string path;
        Kestrane::PixelFormat format;
        Bytes pixels;
    } cases[] = {
        {"rgb", writePng(dir, "rgb.png", 2, 2, 3, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}), Kestrane::Rgb,
         {0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255, 0}},
        {"rgba", writePng(dir, "rgba.png", 2, 2, 4, {1, 2, 3, 4, 5, 6, 7, 8, 10, 20, 30, 40, 50, 60, 70, 80}),
         Kestrane::Rgba, {10, 20, 30, 40, 50, 60, 70, 80, 1, 2, 3, 4, 5, 6, 7, 8}},
        {"odd width", writePng(dir, "odd.png", 3, 2, 3, odd), Kestrane::Rgb,
         {90, 100, 110, 120, 130, 140, 150, 160, 170, 0, 10, 20, 30, 40, 50, 60, 70, 80}},
        {"grey", writePng(dir, "grey.png", 2, 1, 1, {7, 200}), Kestrane::Rgb, {7, 7, 7, 200, 200, 200}},
        {"grey alpha", writePng(dir, "greya.png", 1, 1, 2, {90, 33}), Kestrane::Rgba, {90, 90, 90, 33}},
        // Palette (255,0,0) (0,0,255) (9,8,7): indices 2 0 1, then 1 2 with alphas 128 64.
        {"palette", "tests/textures/images/palette.png", Kestrane::Rgb, {9, 8, 7, 255, 0, 0, 0, 0, 255}},
        {"palette alpha", "tests/textures/images/palette_alpha.png", Kestrane::Rgba, {0, 0, 255, 64, 9, 8, 7, 255}},
    };
    for (const auto& c : cases) {
        ImageLoader image(File(c.path, "rb"));
        EXPECT_EQ(image.format(), c.format) << c.name;
        EXPECT_EQ(pixelsOf(image), c.pixels) << c.name;
    }
}

TEST(ImageLoaderDeathTest, UnusableFilesNameThemselves)
{
    TestSupport::TempDir dir;
    Bytes noise;  // a real PNG, to be cut short in its pixel data
    for (int i = 0; i < 64 * 64 * 3; ++i)
        noise.push_back(static_cast<std::uint8_t>((i * 7919) >> 3));
    const std::string whole = TestSupport::readFile(writePng(dir, "whole.png", 64, 64, 3, noise));
    const struct {
        std::string path, message;
    } cases[] = {
        {dir.write("empty.png", ""), "Kestrane File Error: \".*empty.png\": cannot decode an empty image file"},
        {dir.write("notes.jpg", "this is not a picture at all"), "notes.jpg.*cannot decode image: .+"},
        {dir.write("cut.png", whole.substr(0, whole.size() / 2)), "cut.png.*cannot decode image"},
    };
    for (const auto& c : cases)
        EXPECT_FATAL(ImageLoader(File(c.path, "rb")), c.message);
}
