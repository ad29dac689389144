#include <epoxy/gl.h>

#include "kestrane/FrameServices.h"
#include "kestrane/RenderTarget.h"
#include "support/GLTest.h"
#include "support/TestSupport.h"

#include <array>
#include <cstdint>
#include <vector>

using Kestrane::RenderTarget;

namespace {

class RenderTargetTest : public GLTest {};

std::array<GLint, 4> viewport()
{
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

constexpr std::array<GLint, 4> WindowViewport{0, 0, 800, 600};

GLint attachment(GLenum point, GLenum what)
{
    GLint value = -1;
    glGetFramebufferAttachmentParameterivEXT(GL_FRAMEBUFFER_EXT, point, what, &value);
    return value;
}

std::vector<float> depthTexels(const Kestrane::Texture& texture)
{
    std::vector<float> texels(static_cast<std::size_t>(texture.width() * texture.height()), -1.0f);
    texture.bind();
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, texels.data());
    return texels;
}

}  // namespace

TEST_F(RenderTargetTest, ScreenTargetRestoresTheWindowViewportWhateverTheSize)
{
    RenderTarget small(4, 4, true, true), wide(1000, 30, true, false), large(1024, 1024, true, true);
    for (RenderTarget* target : {&small, &wide, &large}) {
        target->bind();
        EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, target->width(), target->height()}));
        GLint bound = -1;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), target->framebuffer());
        Kestrane::useScreenTarget();
        EXPECT_EQ(viewport(), WindowViewport);
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
        EXPECT_EQ(bound, 0);
    }
    // Made while another target is bound, a target still hands back the window.
    large.bind();
    RenderTarget made(64, 64, true, true);
    EXPECT_EQ(viewport(), WindowViewport);
}

TEST_F(RenderTargetTest, TargetWithoutColourHasOnlyADepthAttachment)
{
    RenderTarget target(64, 32, false, true);
    EXPECT_EQ(target.colorTexture(), nullptr);
    ASSERT_NE(target.depthTexture(), nullptr);
    target.bind();
    EXPECT_EQ(attachment(GL_COLOR_ATTACHMENT0_EXT, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE_EXT), GL_NONE);
    EXPECT_EQ(attachment(GL_DEPTH_ATTACHMENT_EXT, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE_EXT), GL_TEXTURE);
    EXPECT_EQ(static_cast<GLuint>(attachment(GL_DEPTH_ATTACHMENT_EXT, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME_EXT)),
              target.depthTexture()->id());
    EXPECT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), GLenum(GL_FRAMEBUFFER_COMPLETE_EXT));
    glClearDepth(0.25);
    Kestrane::clear(0, 0, 0, 0, false, true, false);
    glClearDepth(1.0);
    Kestrane::useScreenTarget();
    for (float depth : depthTexels(*target.depthTexture()))
        ASSERT_NEAR(depth, 0.25f, 1e-4f);

    RenderTarget colourOnly(16, 16, true, false);
    colourOnly.bind();
    EXPECT_EQ(attachment(GL_DEPTH_ATTACHMENT_EXT, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE_EXT), GL_NONE);
    EXPECT_EQ(colourOnly.depthTexture(), nullptr);
    Kestrane::useScreenTarget();
}

TEST_F(RenderTargetTest, ReleasesItsFrameBufferAndTextures)
{
    GLuint framebuffer = 0, colour = 0, depth = 0;
    {
        RenderTarget target(8, 8, true, true);
        framebuffer = target.framebuffer();
        colour = target.colorTexture()->id();
        depth = target.depthTexture()->id();
        EXPECT_TRUE(glIsFramebufferEXT(framebuffer));
    }
    EXPECT_FALSE(glIsFramebufferEXT(framebuffer));
    EXPECT_FALSE(glIsTexture(colour));
    EXPECT_FALSE(glIsTexture(depth));
}

TEST_F(RenderTargetTest, ScreenshotIsUpright)
{
    TestSupport::TempDir dir;
    Kestrane::clear(0, 0, 0, 1, true, false, false);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 3, 2);  // bottom-left
    Kestrane::clear(1, 0, 0, 1, true, false, false);
    glScissor(0, 598, 3, 2);  // top-left
    Kestrane::clear(0, 0, 1, 1, true, false, false);
    glDisable(GL_SCISSOR_TEST);
    glPixelStorei(GL_PACK_ALIGNMENT, 8);

    const std::string path = dir.file("shot.png");
    testContext().saveScreenshot(path.c_str());
    GLint alignment = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 8);

    TestSupport::Picture shot;
    std::string error;
    ASSERT_TRUE(TestSupport::readPng(path, shot, &error)) << error;
    ASSERT_EQ(shot.width, 800);
    ASSERT_EQ(shot.height, 600);
    const auto at = [&](int x, int y) {
        const std::uint8_t* p = shot.at(x, y);
        return std::array<int, 3>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(at(0, 0), (std::array<int, 3>{0, 0, 255}));
    EXPECT_EQ(at(2, 1), (std::array<int, 3>{0, 0, 255}));
    EXPECT_EQ(at(0, 599), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(at(3, 599), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(at(799, 0), (std::array<int, 3>{0, 0, 0}));
}

TEST_F(RenderTargetTest, ScreenshotToAnUnwritablePathIsReportedAndHarmless)
{
    testing::internal::CaptureStderr();
    testContext().saveScreenshot("/nonexistent-dir/dump0.png");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("/nonexistent-dir/dump0.png"), std::string::npos);
}
