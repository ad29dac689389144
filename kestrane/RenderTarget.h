// Kestrane::RenderTarget: an off-screen frame buffer object that renders
// straight into a colour texture (Rgba, Linear, clamped) and a depth texture
// (Depth, Linear), from which the post-processing effects then sample.
//
// Use:
//   RenderTarget(w, h, withColor, withDepth)   creates the frame buffer and the
//                                              textures asked for, then returns
//                                              to the window (useScreenTarget).
//   bind()                 draw into it: binds the frame buffer, viewport 0,0,w,h.
//   useScreenTarget()      (FrameServices) draw on the window again.
//   colorTexture(), depthTexture()   the attachments, null when not made.
//   attachDepth(false) ... attachDepth(true)   binds it with its depth texture
//                          detached, then attached again, around a pass that
//                          samples that depth texture while drawing into it.
// Lifetime: the targets are made at start-up; the object owns its frame buffer
// and its two textures and releases all three when destroyed.
#pragma once

#include "kestrane/Texture.h"

#include <memory>

namespace Kestrane {

class RenderTarget {
public:
    RenderTarget(int width, int height, bool withColor, bool withDepth);
    ~RenderTarget();
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    void bind() const;
    // Binds the target with (true) or without (false) its depth attachment.
    // GL leaves undefined a draw that samples a texture attached to the
    // frame buffer it draws into, even one it does not write.
    void attachDepth(bool attached) const;

    int width() const { return width_; }
    int height() const { return height_; }
    unsigned int framebuffer() const { return framebuffer_; }
    Texture* colorTexture() const { return colorTexture_.get(); }
    Texture* depthTexture() const { return depthTexture_.get(); }

private:
    int width_;
    int height_;
    unsigned int framebuffer_ = 0;
    std::unique_ptr<Texture> colorTexture_;
    std::unique_ptr<Texture> depthTexture_;
};

}  // namespace Kestrane
