// Context::saveScreenshot: the window's pixels read back and written upright
// as a PNG.
#include "kestrane/GL.h"

#include "kestrane/Context.h"

#include "kestrane/Messages.h"

#include <stb_image_write.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace Kestrane {

void Context::saveScreenshot(const char* path)
{
    const int w = window->width();
    const int h = window->height();
    if (w <= 0 || h <= 0)
        return;
    const std::size_t rowBytes = static_cast<std::size_t>(w) * 3;

    // RGBA is the one format both GL dialects read the window in.
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(w) * 4 * static_cast<std::size_t>(h));
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());

    // GL's row 0 is the bottom of the screen; the image's first row is the top.
    std::vector<std::uint8_t> upright(rowBytes * static_cast<std::size_t>(h));
    for (int r = 0; r < h; ++r) {
        const std::uint8_t* from = &rgba[static_cast<std::size_t>(r) * static_cast<std::size_t>(w) * 4];
        std::uint8_t* to = &upright[static_cast<std::size_t>(h - 1 - r) * rowBytes];
        for (int x = 0; x < w; ++x)
            std::memcpy(to + 3 * x, from + 4 * x, 3);
    }

    if (!stbi_write_png(path, w, h, 3, upright.data(), static_cast<int>(rowBytes)))
        showMessage("Kestrane Native Error", std::string("cannot write screenshot \"") + path + "\"");
}

}  // namespace Kestrane
