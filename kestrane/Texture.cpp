#include <epoxy/gl.h>

#include "kestrane/Texture.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Messages.h"

#include <GL/glu.h>
#include <stb_image_resize.h>

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
    case Rgba: return {GL_RGBA, GL_UNSIGNED_BYTE, 4};
    case Rgb: return {GL_RGB, GL_UNSIGNED_BYTE, 3};
    case RgbaFloat: return {GL_RGBA, GL_FLOAT, GL_RGBA32F_ARB};
    case Depth: return {GL_DEPTH_COMPONENT, GL_UNSIGNED_BYTE, GL_DEPTH_COMPONENT};
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

// The power of two GLU rescales a size to: the lower one, or the upper one
// when the two highest bits of the size are set (3 -> 4, 5 -> 4, 200 -> 256,
// 300 -> 256, 480 -> 512), never above the largest texture GL takes.
int gluPowerOfTwo(int size, int maxSize)
{
    int power = 1;
    for (unsigned value = static_cast<unsigned>(size); value > 1; value >>= 1) {
        if (value == 3) {
            power *= 4;
            break;
        }
        power *= 2;
    }
    while (power > maxSize && power > 1)
        power /= 2;
    return power;
}

// gluBuild2DMipmaps on pixels of any size. Mesa's GLU leaves the top row of
// level 0 black when it widens or narrows an image whose height is already a
// power of two (100 x 64 -> 128 x 64), and its gluScaleImage blends opposite
// edges into each other; so sizes that need it are resampled here to the
// power-of-two size GLU would choose (stb_image_resize, edges clamped), and
// GLU only builds the chain from that.
GLint buildMipmaps(GLint internalFormat, int width, int height, GLenum format, GLenum type,
                   const void* pixels, int channels)
{
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    const int w = gluPowerOfTwo(width, maxSize);
    const int h = gluPowerOfTwo(height, maxSize);
    if ((w == width && h == height) || width <= 0 || height <= 0)
        return gluBuild2DMipmaps(GL_TEXTURE_2D, internalFormat, width, height, format, type, pixels);

    const std::size_t count = static_cast<std::size_t>(w) * h * channels;
    std::vector<float> scaledFloats;
    std::vector<std::uint8_t> scaledBytes;
    const void* scaled = nullptr;
    if (type == GL_FLOAT) {
        scaledFloats.resize(count);
        stbir_resize_float_generic(static_cast<const float*>(pixels), width, height, 0, scaledFloats.data(), w,
                                   h, 0, channels, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP,
                                   STBIR_FILTER_DEFAULT, STBIR_COLORSPACE_LINEAR, nullptr);
        scaled = scaledFloats.data();
    } else {
        scaledBytes.resize(count);
        stbir_resize_uint8_generic(static_cast<const std::uint8_t*>(pixels), width, height, 0,
                                   scaledBytes.data(), w, h, 0, channels, STBIR_ALPHA_CHANNEL_NONE, 0,
                                   STBIR_EDGE_CLAMP, STBIR_FILTER_DEFAULT, STBIR_COLORSPACE_LINEAR, nullptr);
        scaled = scaledBytes.data();
    }
    GLint unpackAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLint result = gluBuild2DMipmaps(GL_TEXTURE_2D, internalFormat, w, h, format, type, scaled);
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
    return result;
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
        if (pixels) {
            const int channels = format == Rgb ? 3 : 4;
            const GLint result = buildMipmaps(glInternalFormat_, width, height, glFormat_, glType_, pixels, channels);
            if (result != 0)
                showMessage(NativeErrorTitle,
                            std::string("gluBuild2DMipmaps: ") +
                                reinterpret_cast<const char*>(gluErrorString(static_cast<GLenum>(result))));
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

Texture::~Texture()
{
    if (id_)
        glDeleteTextures(1, &id_);
}

void Texture::bind() const { glBindTexture(GL_TEXTURE_2D, id_); }

void Texture::setWrap(int wrap)
{
    const GLint mode = wrap == Clamp ? GL_CLAMP_TO_EDGE : GL_REPEAT;
    glBindTexture(GL_TEXTURE_2D, id_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, mode);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, mode);
}

}  // namespace Kestrane
