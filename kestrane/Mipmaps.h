// The mipmap chain of an image, built on the CPU the way gluBuild2DMipmaps
// builds it, without GL, so that it can run on any thread (start-up loading
// builds chains on the image decoding threads).
//
// Use:
//   powerOfTwoSize(size, maxSize)   the power of two GLU rescales a size to.
//   buildMipmapChain(pixels, width, height, format, maxSize)
//       level 0: the pixels, resampled (stb_image_resize, edges clamped) to
//       powerOfTwoSize of each side when either is not a power of two; each
//       further level: the 2 x 2 average of the one above, rounded to
//       nearest (pairs once a side is 1, rounded down, as GLU does), down to
//       1 x 1. Rgb, Rgba (bytes) and
//       RgbaFloat (floats); rows packed, bottom row first, as in Image.
//   Texture(width, height, format, levels)   uploads such a chain.
//   visibleArea(pixels, width, height, format)
//       the smallest rectangle holding every texel whose alpha is not zero.
#pragma once

#include "kestrane/Image.h"

#include <cstdint>
#include <vector>

namespace Kestrane {

struct MipmapLevel {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;  // packed rows; floats for RgbaFloat
};

// A rectangle of a texture in texture coordinates (u along the rows, v
// across them, from the first row), and the size of one texel in the same
// units. The default is the whole texture.
struct TexelArea {
    float u0 = 0.0f, v0 = 0.0f, u1 = 1.0f, v1 = 1.0f;
    float texelU = 0.0f, texelV = 0.0f;
    bool empty() const { return !(u0 < u1 && v0 < v1); }
};

// The texels of an Rgba image whose alpha is not zero, as whole texels; an
// image where every alpha is zero gives an empty area. Rgb and RgbaFloat
// images are visible everywhere.
TexelArea visibleArea(const void* pixels, int width, int height, PixelFormat format);

int powerOfTwoSize(int size, int maxSize);
std::vector<MipmapLevel> buildMipmapChain(const void* pixels, int width, int height, PixelFormat format,
                                          int maxSize);

}  // namespace Kestrane
