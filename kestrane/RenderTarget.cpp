#include <epoxy/gl.h>

#include "kestrane/RenderTarget.h"

#include "kestrane/FrameServices.h"

namespace Kestrane {

RenderTarget::RenderTarget(int width, int height, bool withColor, bool withDepth)
    : width_(width), height_(height)
{
    glGenFramebuffersEXT(1, &framebuffer_);
    checkError();
    if (withColor) {
        colorTexture_ = std::make_unique<Texture>(width, height, nullptr, Rgba, Linear);
        checkError();
        colorTexture_->setWrap(Clamp);
        checkError();
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer_);
        glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                                  colorTexture_->id(), 0);
        checkError();
    }
    if (withDepth) {
        depthTexture_ = std::make_unique<Texture>(width, height, nullptr, Depth, Linear);
        checkError();
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer_);
        glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_TEXTURE_2D,
                                  depthTexture_->id(), 0);
        checkError();
    }
    if (!withColor) {
        // A depth-only target has no colour to draw or read.
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer_);
        glDrawBuffer(GL_NONE);
        glReadBuffer(GL_NONE);
    }
    useScreenTarget();
    checkError();
}

RenderTarget::~RenderTarget()
{
    if (framebuffer_)
        glDeleteFramebuffersEXT(1, &framebuffer_);
}

void RenderTarget::bind() const
{
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer_);
    glViewport(0, 0, width_, height_);
}

void RenderTarget::attachDepth(bool attached) const
{
    bind();
    if (depthTexture_)
        glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_TEXTURE_2D,
                                  attached ? depthTexture_->id() : 0, 0);
}

}  // namespace Kestrane
