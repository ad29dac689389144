#include "vessara/Element.h"

#include "kestrane/FrameServices.h"
#include "vessara/FatalError.h"

#include <algorithm>

namespace Vessara {

Element* poolElement(int size, const ElementPool& pool)
{
    auto found = pool.find(size);
    if (found == pool.end() || !found->second)
        fatalError("ResourceProxy::operator [] : ResourceProxy not loaded: " + std::to_string(size));
    return found->second;
}

Element::Element(int w, int h, Demo* owner, const std::string& name)
    : Kestrane::RenderTarget(w, h, true, true), Drawable(owner, name), width(w), height(h)
{
    reducedTargets[0] = poolElement(w, *reducedPool);
    reducedTargets[1] = poolElement(std::max(w / 2, 4), *reducedPool);
    reducedTargets[2] = poolElement(std::max(w / 4, 4), *reducedPool);
    reducedTargets[3] = poolElement(std::max(w / 8, 4), *reducedPool);
}

void Element::frameStep(float start, float duration)
{
    bind();
    Drawable::frameStep(start, duration);
    Kestrane::useScreenTarget();
}

void Element::compose()
{
    useShader("vessara_texture.cg");
    setTexture("tex0", colorTexture());
    drawQuad(-1.0f, -1.0f, 1.0f, 1.0f);
    releaseTextures();
}

}  // namespace Vessara
