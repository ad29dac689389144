#include "kestrane_ext/ImageExt.h"

#include "kestrane/Messages.h"

#include <string>
#include <utility>

namespace KestraneExt {

ImageExt::ImageExt(int width, int height, Kestrane::PixelFormat format, std::vector<std::uint8_t> pixels)
    : pixels_(std::move(pixels)), width_(width), height_(height), format_(format)
{
    const long long expected =
        static_cast<long long>(width) * height * Kestrane::bytesPerPixel(format);
    if (width < 0 || height < 0 || Kestrane::bytesPerPixel(format) == 0 ||
        static_cast<long long>(pixels_.size()) != expected)
        Kestrane::fatal("Kestrane Native Error",
                        "ImageExt: " + std::to_string(pixels_.size()) + " bytes do not hold a " +
                            std::to_string(width) + " x " + std::to_string(height) +
                            " image of format " + std::to_string(format));
}

}  // namespace KestraneExt
