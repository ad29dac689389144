// KestraneExt::ImageExt: a Kestrane::Image whose pixels live in memory it owns.
// ImageLoader fills one from a file; tests and tools may build one directly.
//
// Use:
//   ImageExt(width, height, format, pixels)   takes over packed rows, bottom row
//                                             first; the byte count must be
//                                             width x height x bytesPerPixel.
//   width(), height(), format(), pixels()     the Image operations.
//   Texture(image, Mipmapped)                 how the program uploads it.
// Lifetime: the pixel bytes are freed with the object; nothing else points into
// them once the texture is made.
#pragma once

#include "kestrane/Image.h"

#include <cstdint>
#include <vector>

namespace KestraneExt {

class ImageExt : public Kestrane::Image {
public:
    ImageExt(int width, int height, Kestrane::PixelFormat format, std::vector<std::uint8_t> pixels);

    int width() const override { return width_; }
    int height() const override { return height_; }
    Kestrane::PixelFormat format() const override { return format_; }
    const std::uint8_t* pixels() const override { return pixels_.data(); }
    std::size_t byteCount() const { return pixels_.size(); }

protected:
    ImageExt() = default;

    std::vector<std::uint8_t> pixels_;
    int width_ = 0;
    int height_ = 0;
    Kestrane::PixelFormat format_ = Kestrane::Rgb;
};

}  // namespace KestraneExt
