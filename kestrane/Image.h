// Kestrane::Image: a block of 8-bit pixels in main memory described by its
// size and PixelFormat. The image decoder (KestraneExt::ImageLoader) is the
// implementation the program uses; Texture(image, filter) uploads one.
//
// Use:
//   width(), height()   size in pixels
//   format()            Rgba or Rgb (RgbaFloat: four floats per pixel)
//   pixels()            the rows, tightly packed (row = width x bytesPerPixel
//                       bytes, no gap) and stored bottom row first, as
//                       glTexImage2D expects them.
// Lifetime: the pixels belong to the implementation and live as long as it.
#pragma once

#include <cstdint>

namespace Kestrane {

// Pixel layouts shared by Image and Texture; the codes are fixed.
enum PixelFormat : int {
    Rgba = 0,       // R, G, B, A bytes
    Rgb = 1,        // R, G, B bytes
    RgbaFloat = 2,  // four 32-bit floats
    Depth = 3,      // depth only, never given pixels
};

// Bytes one pixel takes in memory; 0 for Depth and for codes outside the table.
constexpr int bytesPerPixel(int format)
{
    switch (format) {
    case Rgba: return 4;
    case Rgb: return 3;
    case RgbaFloat: return 16;
    default: return 0;
    }
}

class Image {
public:
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual PixelFormat format() const = 0;
    virtual const std::uint8_t* pixels() const = 0;
    virtual ~Image() = default;
};

}  // namespace Kestrane
