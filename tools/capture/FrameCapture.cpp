#include <epoxy/gl.h>

#include "FrameCapture.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace Capture {

std::vector<std::uint8_t> readFrame(int width, int height)
{
    const std::size_t rowBytes = std::size_t(width) * 3;
    std::vector<std::uint8_t> pixels(rowBytes * std::size_t(height));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());

    // GL's first row is the bottom of the screen; an image's is the top.
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(pixels.begin() + std::ptrdiff_t(std::size_t(top) * rowBytes),
                         pixels.begin() + std::ptrdiff_t(std::size_t(top + 1) * rowBytes),
                         pixels.begin() + std::ptrdiff_t(std::size_t(bottom) * rowBytes));
    return pixels;
}

bool writePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb,
              std::string& error)
{
    errno = 0;
    if (!stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3)) {
        error = path + ": cannot write the PNG" + (errno ? std::string(": ") + std::strerror(errno) : "");
        return false;
    }
    return true;
}

}  // namespace Capture
