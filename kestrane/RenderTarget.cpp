#include "kestrane/GL.h"

#include "kestrane/RenderTarget.h"

#include "kestrane/FrameServices.h"

namespace Kestrane {

RenderTarget::RenderTarget(int width, int height, bool withColor, bool withDepth)
    : width_(width), height_(height)
{
    glGenFramebuffers(1, &framebuffer_);
    checkError();
    if (withColor) {
        colorTexture_ = std::make_unique<Texture>(width, height, nullptr, Rgba, Linear);
        checkError();
        colorTexture_->setWrap(Clamp);
        checkError();
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                                  colorTexture_->id(), 0);
        checkError();
    }
    if (withDepth) {
        depthTexture_ = std::make_unique<Texture>(width, height, nullptr, Depth, Linear);
        checkError();
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D,
                                  depthTexture_->id(), 0);
        checkError();
    }
    if (!withColor) {
        // A depth-only target has no colour to draw or read.
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        const GLenum none = GL_NONE;
        glDrawBuffers(1, &none);
        glReadBuffer(GL_NONE);
    }
    useScreenTarget();
    checkError();
}

RenderTarget::~RenderTarget()
{
    if (framebuffer_)
        glDeleteFramebuffers(1, &framebuffer_);
}

void RenderTarget::bind() const
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glViewport(0, 0, width_, height_);
}

void RenderTarget::attachDepth(bool attached) const
{
    bind();
    if (depthTexture_)
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D,
                                  attached ? depthTexture_->id() : 0, 0);
}

}  // namespace Kestrane
