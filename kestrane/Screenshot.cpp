// Context::saveScreenshot: the window's pixels read back and written upright
// as a PNG.
#include <epoxy/gl.h>

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

    // The buffer rows are packed; read with a matching alignment so that GL
    // writes nothing past the buffer whatever the window's width.
    GLint previousAlignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    std::vector<std::uint8_t> bottomUp(rowBytes * static_cast<std::size_t>(h));
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    glPixelStorei(GL_PACK_ALIGNMENT, previousAlignment);

    // GL's row 0 is the bottom of the screen; the image's first row is the top.
    std::vector<std::uint8_t> upright(bottomUp.size());
    for (int r = 0; r < h; ++r)
        std::memcpy(&upright[static_cast<std::size_t>(h - 1 - r) * rowBytes],
                    &bottomUp[static_cast<std::size_t>(r) * rowBytes], rowBytes);

    if (!stbi_write_png(path, w, h, 3, upright.data(), static_cast<int>(rowBytes)))
        showMessage("Kestrane Native Error", std::string("cannot write screenshot \"") + path + "\"");
}

}  // namespace Kestrane
