#include "prod/Bubbles.h"

#include "kestrane/Float3.h"
#include "prod/Animation.h"
#include "vessara/Particles.h"

#include <cmath>

namespace Prod {

namespace {

// x - trunc(x): negative values stay in (-1, 0].
float fraction(float x)
{
    return x - std::trunc(x);
}

}  // namespace

void drawBubbles(Vessara::Drawable& scene, StdVessara::Particles*& bubbles, float time)
{
    // Placement: six random values per bubble for its path, one for its size.
    if (!bubbles)
        bubbles = new StdVessara::Particles(scene.demo, BubbleCount);
    srand(1);
    for (int i = 0; i < BubbleCount; ++i) {
        const Kestrane::Float3 R = randomVector();
        const Kestrane::Float3 Q = randomVector();
        Kestrane::Float3 W = R * (0.1f * time) + Q;
        W.z += 0.3f * time;
        W = {fraction(W.x), fraction(W.y), fraction(W.z)};
        bubbles->setPosition(i, 800.0f * W.x - 400.0f, 800.0f * W.y - 400.0f, 800.0f * W.z - 400.0f);
        bubbles->setSize(i, 3.0f + 2.0f * u());
    }

    // Additive, without depth writes.
    scene.setDepthWrite(false);
    scene.enable(Kestrane::Capability::Blend);
    scene.setBlendFunction(Kestrane::BlendFactor::One, Kestrane::BlendFactor::One);
    scene.setCurrentTexture("bubble.jpg");
    bubbles->draw();
    scene.disable(Kestrane::Capability::Blend);
    scene.setDepthWrite(true);
}

}  // namespace Prod
