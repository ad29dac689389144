#include <epoxy/gl.h>

#include "support/GLTest.h"
#include "support/TestSupport.h"
#include "kestrane/FrameServices.h"
#include "kestrane/Texture.h"
#include "kestrane_ext/ImageExt.h"

#include <GL/glu.h>

#include <algorithm>
#include <cstdint>
#include <vector>

using Kestrane::Texture;
using Bytes = std::vector<std::uint8_t>;

namespace {

class TextureTest : public GLTest {};

Bytes texImage(const Texture& texture, GLenum format, int level = 0)
{
    GLint w = 0, h = 0;
    texture.bind();
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
    Bytes bytes(static_cast<std::size_t>(w * h * (format == GL_RGB ? 3 : 4)));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, bytes.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return bytes;
}

}  // namespace

TEST_F(TextureTest, EmptyTextureStartsTransparentBlack)
{
    Texture texture(4, 4, nullptr, Kestrane::Rgba, Kestrane::Nearest);
    EXPECT_EQ(texImage(texture, GL_RGBA), Bytes(64, 0));
}

TEST_F(TextureTest, OddWidthRgbUploadsExactlyItsBytes)
{
    // Rows of 9 bytes: with GL's default 4-byte alignment the second row would
    // be read from byte 12, past the first row's end.
    const Bytes pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    for (auto filter : {Kestrane::Nearest, Kestrane::Linear}) {
        Texture texture(3, 2, pixels.data(), Kestrane::Rgb, filter);
        EXPECT_EQ(texImage(texture, GL_RGB), pixels);
    }
    // Power-of-two sizes go to GLU as they are: 2 x 2 has 6-byte rows.
    const Bytes small(pixels.begin(), pixels.begin() + 12);
    Texture mipmapped(KestraneExt::ImageExt(2, 2, Kestrane::Rgb, small), Kestrane::Mipmapped);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);  // restored
    EXPECT_EQ(texImage(mipmapped, GL_RGB), small);
    // Resampled sizes keep the rows apart: 3 x 2 becomes 4 x 2 whose bottom
    // row comes from bytes 1-9 and top row from bytes 10-18.
    Texture stretched(KestraneExt::ImageExt(3, 2, Kestrane::Rgb, pixels), Kestrane::Mipmapped);
    const Bytes level0 = texImage(stretched, GL_RGB);
    ASSERT_EQ(level0.size(), 24u);
    EXPECT_LE(*std::max_element(level0.begin(), level0.begin() + 12), 10);
    EXPECT_GE(*std::min_element(level0.begin() + 12, level0.end()), 9);
}

TEST_F(TextureTest, MipmapLevelsAreTheOnesGluBuilds)
{
    // Patterned images whose chains pass through single rows or columns
    // (64 x 16 ends 4 x 1, 2 x 1, 1 x 1): every level equals GLU's own.
    struct Case {
        int w, h;
        Kestrane::PixelFormat format;
    };
    for (const Case c : {Case{64, 16, Kestrane::Rgb}, Case{8, 32, Kestrane::Rgba}, Case{1, 4, Kestrane::Rgb}}) {
        const int channels = c.format == Kestrane::Rgb ? 3 : 4;
        const GLenum glFormat = c.format == Kestrane::Rgb ? GL_RGB : GL_RGBA;
        Bytes pixels(std::size_t(c.w) * c.h * channels);
        for (std::size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = std::uint8_t((i * 53 + i / 7 * 11) & 255);
        Texture ours(KestraneExt::ImageExt(c.w, c.h, c.format, pixels), Kestrane::Mipmapped);

        GLuint glu = 0;
        glGenTextures(1, &glu);
        glBindTexture(GL_TEXTURE_2D, glu);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        ASSERT_EQ(gluBuild2DMipmaps(GL_TEXTURE_2D, channels, c.w, c.h, glFormat, GL_UNSIGNED_BYTE, pixels.data()), 0);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        for (int level = 0, size = std::max(c.w, c.h); size >= 1; ++level, size /= 2) {
            Bytes expected(std::size_t(std::max(1, c.w >> level)) * std::max(1, c.h >> level) * channels);
            glBindTexture(GL_TEXTURE_2D, glu);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glGetTexImage(GL_TEXTURE_2D, level, glFormat, GL_UNSIGNED_BYTE, expected.data());
            EXPECT_EQ(texImage(ours, glFormat, level), expected) << c.w << " x " << c.h << " level " << level;
        }
        glDeleteTextures(1, &glu);
    }
    EXPECT_EQ(Kestrane::checkError(), 0u);
}

TEST_F(TextureTest, RescaledImagesKeepEveryRow)
{
    // Sizes GLU widens, narrows or stretches to powers of two; a flat colour
    // must stay flat on every texel of level 0 and of the smallest level.
    for (auto [w, h] : {std::pair{100, 64}, {300, 256}, {64, 100}, {200, 100}, {5, 2}}) {
        Bytes colour;
        for (int i = 0; i < w * h; ++i)
            colour.insert(colour.end(), {200, 100, 50, 255});
        Texture texture(KestraneExt::ImageExt(w, h, Kestrane::Rgba, colour), Kestrane::Mipmapped);
        const Bytes level0 = texImage(texture, GL_RGBA);
        ASSERT_FALSE(level0.empty());
        std::size_t wrong = 0;
        for (std::size_t i = 0; i < level0.size(); i += 4)
            wrong += level0[i] != 200 || level0[i + 1] != 100 || level0[i + 2] != 50 || level0[i + 3] != 255;
        EXPECT_EQ(wrong, 0u) << w << " x " << h;
    }
}

TEST_F(TextureTest, SetWrapOneClampsEveryOtherValueRepeats)
{
    Texture texture(4, 4, nullptr, Kestrane::Rgba, Kestrane::Linear);
    for (int wrap : {1, 0, 5, -1}) {
        texture.setWrap(wrap);
        GLint wrapS = 0, wrapT = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
        const GLint expected = wrap == 1 ? GL_CLAMP_TO_EDGE : GL_REPEAT;
        EXPECT_EQ(wrapS, expected) << "wrap " << wrap;
        EXPECT_EQ(wrapT, expected) << "wrap " << wrap;
    }
}

TEST(TextureDeathTest, UnknownPixelFormatIsFatal)
{
    EXPECT_FATAL(
        {
            testContext();
            Texture(1, 1, nullptr, static_cast<Kestrane::PixelFormat>(7), Kestrane::Linear);
        },
        "Kestrane Native Error: Texture: unsupported pixel format 7");
}

TEST(VisibleArea, HoldsEveryTexelWhoseAlphaIsNotZero)
{
    // 8 x 4 Rgba, row 0 first; alpha set at the texels listed.
    struct Case {
        std::vector<std::pair<int, int>> opaque;
        Kestrane::PixelFormat format;
        float u0, v0, u1, v1;
        bool empty;
    };
    const Case cases[] = {
        {{}, Kestrane::Rgba, 0, 0, 0, 0, true},
        {{{3, 1}}, Kestrane::Rgba, 3 / 8.0f, 1 / 4.0f, 4 / 8.0f, 2 / 4.0f, false},
        {{{0, 3}, {7, 2}}, Kestrane::Rgba, 0, 2 / 4.0f, 1, 1, false},
        {{}, Kestrane::Rgb, 0, 0, 1, 1, false},  // no alpha: all of it
    };
    for (const Case& c : cases) {
        Bytes pixels(8 * 4 * 4, 200);
        for (std::size_t i = 3; i < pixels.size(); i += 4)
            pixels[i] = 0;
        for (auto [x, y] : c.opaque)
            pixels[std::size_t(y * 8 + x) * 4 + 3] = 1;
        const Kestrane::TexelArea area = Kestrane::visibleArea(pixels.data(), 8, 4, c.format);
        EXPECT_EQ(c.empty, area.empty());
        EXPECT_FLOAT_EQ(1 / 8.0f, area.texelU);
        EXPECT_FLOAT_EQ(1 / 4.0f, area.texelV);
        if (!c.empty) {
            EXPECT_FLOAT_EQ(c.u0, area.u0);
            EXPECT_FLOAT_EQ(c.v0, area.v0);
            EXPECT_FLOAT_EQ(c.u1, area.u1);
            EXPECT_FLOAT_EQ(c.v1, area.v1);
        }
    }
}
