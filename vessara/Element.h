// Vessara::Element: a drawable with its own off-screen render target (colour
// and depth textures). Every timeline scene is an element: it renders into its
// target, the post-processing effects work on that target, and the runtime
// composes its colour texture onto the screen.
//
// Use:
//   new Element(w, h, demo, name)   (a scene's base) creates the target, registers
//                         the drawable, looks up its four reducedTargets in the
//                         demo's reducedPool (fatal when a size is missing, so
//                         w must be a power of two from 4 to 1024).
//   frameStep(start, length)   binds its target, sets localTime and progress,
//                         clears, draw(), then returns to the screen.
//   compose()             draws its colour texture over the viewport with
//                         "vessara_texture.cg".
//   poolElement(size, pool)    a pool member; fatal when missing.
// Pools: the demo's scratchPool and reducedPool hold one square element per size
// 4, 8, ..., 1024, built by buildPools (DataPreload.h). Elements live until
// process exit.
#pragma once

#include "kestrane/RenderTarget.h"
#include "vessara/Drawable.h"

#include <array>

namespace Vessara {

class Element : public Kestrane::RenderTarget, public Drawable {
public:
    Element(int width, int height, Demo* demo, const std::string& name);

    void frameStep(float start, float duration) override;
    void compose() override;

    // The target's size as plain fields (they hide RenderTarget::width() and
    // height(), which return the same values).
    int width;
    int height;
    // reducedPool members of sizes width, max(width/2, 4), max(width/4, 4),
    // max(width/8, 4).
    std::array<Element*, 4> reducedTargets{};
};

// The element a pool holds under size: fatal error "ResourceProxy::operator [] :
// ResourceProxy not loaded: <size>" when it holds none.
Element* poolElement(int size, const ElementPool& pool);

}  // namespace Vessara
