#include "kestrane/GL.h"

#include "kestrane/Texture.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Messages.h"
#include "kestrane/Mipmaps.h"

#include <cstddef>
#include <string>
#include <vector>

namespace Kestrane {

namespace {

const char* const NativeErrorTitle = "Kestrane Native Error";

struct GLPixelFormat {
    GLenum format;
    GLenum type;
    GLint internalFormat;
};

GLPixelFormat glPixelFormat(int format)
{
    switch (format) {
    case Rgba: return {GL_RGBA, GL_UNSIGNED_BYTE, GL_RGBA8};
    case Rgb: return {GL_RGB, GL_UNSIGNED_BYTE, GL_RGB8};
    case RgbaFloat: return {GL_RGBA, GL_FLOAT, GL_RGBA32F};
    case Depth: return {GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, GL_DEPTH_COMPONENT24};
    default: fatal(NativeErrorTitle, "Texture: unsupported pixel format " + std::to_string(format));
    }
}

// Sets GL_UNPACK_ALIGNMENT to 1 while rows of rowBytes would not start on the
// current alignment (Rgb rows of widths that are not multiples of 4), so GL
// reads exactly the packed rows; the previous value comes back afterwards.
class UnpackAlignment {
public:
    explicit UnpackAlignment(std::size_t rowBytes)
    {
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &previous);
        changed = previous > 0 && rowBytes % static_cast<std::size_t>(previous) != 0;
        if (changed)
            glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    }
    ~UnpackAlignment()
    {
        if (changed)
            glPixelStorei(GL_UNPACK_ALIGNMENT, previous);
    }
    UnpackAlignment(const UnpackAlignment&) = delete;
    UnpackAlignment& operator=(const UnpackAlignment&) = delete;

private:
    GLint previous = 4;
    bool changed = false;
};

// Uploads a chain from buildMipmapChain into the bound texture, level by
// level (rows packed: the alignment follows each level's row length).
void uploadLevels(GLint internalFormat, GLenum format, GLenum type, int channels,
                  const std::vector<MipmapLevel>& levels)
{
    const std::size_t componentBytes = type == GL_FLOAT ? sizeof(float) : 1;
    for (std::size_t level = 0; level < levels.size(); ++level) {
        const MipmapLevel& image = levels[level];
        const UnpackAlignment alignment(std::size_t(image.width) * channels * componentBytes);
        glTexImage2D(GL_TEXTURE_2D, GLint(level), internalFormat, image.width, image.height, 0, format, type,
                     image.bytes.data());
    }
}

}  // namespace

Texture::Texture(const Image& image, TextureFilter filter)
    : Texture(image.width(), image.height(), image.pixels(), image.format(), filter)
{
}

Texture::Texture(int width, int height, const void* pixels, PixelFormat format, TextureFilter filter)
    : format_(format), filter_(filter), width_(width), height_(height)
{
    if (width < 0 || height < 0)
        fatal(NativeErrorTitle,
              "Texture: invalid size " + std::to_string(width) + " x " + std::to_string(height));
    visibleArea_ = Kestrane::visibleArea(pixels, width, height, format);
    const GLPixelFormat gl = glPixelFormat(format);

    glGenTextures(1, &id_);
    checkError();
    glBindTexture(GL_TEXTURE_2D, id_);
    checkError();

    glFormat_ = gl.format;
    glType_ = gl.type;
    glInternalFormat_ = gl.internalFormat;

    // Without pixels, colour textures start black; depth textures never take
    // pixels and start undefined.
    if (format == Depth)
        pixels = nullptr;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bytesPerPixel(format);
    std::vector<std::uint8_t> zeros;
    if (!pixels && format != Depth) {
        zeros.assign(rowBytes * static_cast<std::size_t>(height), 0);
        pixels = zeros.data();
    }

    const UnpackAlignment alignment(rowBytes);
    switch (filter) {
    case Nearest:
    case Linear: {
        const GLint glFilter = filter == Nearest ? GL_NEAREST : GL_LINEAR;
        glTexImage2D(GL_TEXTURE_2D, 0, glInternalFormat_, width, height, 0, glFormat_, glType_, pixels);
        checkError();
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, glFilter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, glFilter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        break;
    }
    case Mipmapped:
        if (pixels && width > 0 && height > 0) {
            GLint maxSize = 0;
            glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
            uploadLevels(glInternalFormat_, glFormat_, glType_, format == Rgb ? 3 : 4,
                         buildMipmapChain(pixels, width, height, format, maxSize));
        } else {
            glTexImage2D(GL_TEXTURE_2D, 0, glInternalFormat_, width, height, 0, glFormat_, glType_, nullptr);
        }
        checkError();
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        break;
    default:
        // An unknown filter leaves the texture created and bound, without an image.
        break;
    }
    checkError();
}

Texture::Texture(int width, int height, PixelFormat format, const std::vector<MipmapLevel>& levels)
    : format_(format), filter_(Mipmapped), width_(width), height_(height)
{
    if (!levels.empty())
        visibleArea_ = Kestrane::visibleArea(levels[0].bytes.data(), levels[0].width, levels[0].height, format);
    const GLPixelFormat gl = glPixelFormat(format);
    glFormat_ = gl.format;
    glType_ = gl.type;
    glInternalFormat_ = gl.internalFormat;
    glGenTextures(1, &id_);
    checkError();
    glBindTexture(GL_TEXTURE_2D, id_);
    checkError();
    uploadLevels(glInternalFormat_, glFormat_, glType_, format == Rgb ? 3 : 4, levels);
    checkError();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    checkError();
}

Texture::~Texture()
{
    if (id_)
        glDeleteTextures(1, &id_);
}

void Texture::replaceImage(int width, int height, PixelFormat format, const std::vector<MipmapLevel>& levels)
{
    // Wrap and filter are state of the GL texture object, which stays: only
    // its images are specified again.
    if (!levels.empty())
        visibleArea_ = Kestrane::visibleArea(levels[0].bytes.data(), levels[0].width, levels[0].height, format);
    const GLPixelFormat gl = glPixelFormat(format);
    format_ = format;
    width_ = width;
    height_ = height;
    glFormat_ = gl.format;
    glType_ = gl.type;
    glInternalFormat_ = gl.internalFormat;
    glBindTexture(GL_TEXTURE_2D, id_);
    uploadLevels(glInternalFormat_, glFormat_, glType_, format == Rgb ? 3 : 4, levels);
    checkError();
}

void Texture::bind() const { glBindTexture(GL_TEXTURE_2D, id_); }

void Texture::setWrap(int wrap)
{
    const GLint mode = wrap == Clamp ? GL_CLAMP_TO_EDGE : GL_REPEAT;
    glBindTexture(GL_TEXTURE_2D, id_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, mode);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, mode);
}

void Texture::useNearestLevel(bool nearest)
{
    if (filter_ != Mipmapped)
        return;
    glBindTexture(GL_TEXTURE_2D, id_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, nearest ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR_MIPMAP_LINEAR);
}

void Texture::useUnfilteredTexels(bool unfiltered)
{
    if (filter_ == Mipmapped)
        return;
    const GLint mode = unfiltered || filter_ == Nearest ? GL_NEAREST : GL_LINEAR;
    glBindTexture(GL_TEXTURE_2D, id_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mode);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mode);
}

}  // namespace Kestrane
