// Kestrane::Texture: one OpenGL 2D texture made from raw pixels or an Image,
// with the engine's fixed filtering and wrapping choices.
//
// Use:
//   Texture(w, h, pixels, format, filter)   generates, binds and uploads; null
//                                           pixels give a black texture (Rgb,
//                                           Rgba, RgbaFloat) or undefined depth.
//   Texture(image, filter)                  the same from an Image.
//       Nearest / Linear: level 0, clamp to edge. Mipmapped: the whole chain
//       as gluBuild2DMipmaps makes it (buildMipmapChain, Mipmaps.h: sizes
//       rescaled to the power of two GLU chooses), trilinear, GL's default
//       repeat wrapping.
//   Texture(w, h, format, levels)           Mipmapped from a chain built
//                                           beforehand (on another thread).
//   setWrap(Clamp or anything else)         binds it and sets clamp / repeat.
//   replaceImage(w, h, format, levels)      a new mipmap chain into the same
//                                           GL texture (live reload): the wrap
//                                           and filter set on it stay.
//   id()                                    the GL name, for samplers.
// Internal formats are sized (RGBA8, RGB8, RGBA32F, DEPTH_COMPONENT24), which
// every GL dialect takes. Lifetime: the GL texture is deleted with the object. Rows whose length is
// not a multiple of 4 bytes are uploaded with a matching unpack alignment.
#pragma once

#include "kestrane/Image.h"
#include "kestrane/Mipmaps.h"

#include <vector>

namespace Kestrane {

enum TextureFilter : int {
    Nearest = 0,
    Linear = 1,
    Mipmapped = 2,
};

// Argument of Texture::setWrap: 1 clamps, every other value repeats.
enum TextureWrap : int {
    Repeat = 0,
    Clamp = 1,
};

class Texture {
public:
    Texture(int width, int height, const void* pixels, PixelFormat format, TextureFilter filter);
    Texture(const Image& image, TextureFilter filter);
    Texture(int width, int height, PixelFormat format, const std::vector<MipmapLevel>& levels);
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    void setWrap(int wrap);
    void replaceImage(int width, int height, PixelFormat format, const std::vector<MipmapLevel>& levels);
    // A mipmapped texture minifies from the one nearest level instead of
    // blending two (false: blends two again, as created): half the texel
    // reads, for surfaces whose scale barely changes across the screen.
    // Other textures are left as they are.
    void useNearestLevel(bool nearest = true);
    // A texture that is not mipmapped is read without filtering (true) or
    // with its own filter again (false). For passes that read it only at
    // texel centres, where filtering changes nothing but costs: a filtered
    // depth texel is several times dearer than an unfiltered one on a
    // software rasterizer. Mipmapped textures are left as they are.
    void useUnfilteredTexels(bool unfiltered = true);
    // Binds it to GL_TEXTURE_2D of the active unit.
    void bind() const;

    unsigned int id() const { return id_; }
    int width() const { return width_; }
    int height() const { return height_; }
    PixelFormat format() const { return format_; }
    TextureFilter filter() const { return filter_; }
    // The part of the texture whose alpha is not zero, found from the pixels
    // it was made with (the whole texture when it was made without any).
    const TexelArea& visibleArea() const { return visibleArea_; }

private:
    unsigned int id_ = 0;
    unsigned int glFormat_ = 0;
    unsigned int glType_ = 0;
    PixelFormat format_;
    TextureFilter filter_;
    int width_;
    int height_;
    int glInternalFormat_ = 0;
    TexelArea visibleArea_;
};

}  // namespace Kestrane
