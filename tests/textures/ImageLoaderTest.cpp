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

// A minimal 8-bit palette PNG (stb_image_write has no palette mode): stored
// (uncompressed) deflate blocks, CRC-32 and Adler-32 computed here.
std::uint32_t crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xffffffffu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void putBigEndian(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xff);
}

std::string chunk(const std::string& type, const std::string& data)
{
    std::string out;
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    out += type + data;
    putBigEndian(out, crc32(type + data));
    return out;
}

std::string palettePng(int w, int h, const Bytes& rgbPalette, const Bytes& alphas, const Bytes& indices)
{
    std::string header;
    putBigEndian(header, static_cast<std::uint32_t>(w));
    putBigEndian(header, static_cast<std::uint32_t>(h));
    header += std::string("\x08\x03\x00\x00\x00", 5);  // 8 bits, palette
    std::string raw;
    for (int y = 0; y < h; ++y) {
        raw += '\0';  // filter: none
        raw.append(reinterpret_cast<const char*>(&indices[static_cast<std::size_t>(y * w)]), static_cast<std::size_t>(w));
    }
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    std::string zlib("\x78\x01\x01", 3);  // one final stored block
    const auto len = static_cast<std::uint16_t>(raw.size());
    zlib += static_cast<char>(len & 0xff);
    zlib += static_cast<char>(len >> 8);
    zlib += static_cast<char>(~len & 0xff);
    zlib += static_cast<char>((~len >> 8) & 0xff);
    zlib += raw;
    putBigEndian(zlib, (b << 16) | a);
    std::string png("\x89PNG\r\n\x1a\n", 8);
    png += chunk("IHDR", header);
    png += chunk("PLTE", std::string(rgbPalette.begin(), rgbPalette.end()));
    if (!alphas.empty())
        png += chunk("tRNS", std::string(alphas.begin(), alphas.end()));
    png += chunk("IDAT", zlib);
    png += chunk("IEND", "");
    return png;
}

}  // namespace

// Written top row first as image files store them; loaded bottom row first,
// rows packed, grey expanded to RGB, alpha kept only where the file has it.
TEST(ImageLoader, PngsLoadBottomRowFirstPackedAndExpanded)
{
    TestSupport::TempDir dir;
    const Bytes palette = {255, 0, 0, 0, 0, 255, 9, 8, 7};
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
        {"palette", dir.write("pal.png", palettePng(3, 1, palette, {}, {2, 0, 1})), Kestrane::Rgb,
         {9, 8, 7, 255, 0, 0, 0, 0, 255}},
        {"palette alpha", dir.write("palt.png", palettePng(2, 1, palette, {128, 64}, {1, 2})), Kestrane::Rgba,
         {0, 0, 255, 64, 9, 8, 7, 255}},
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
