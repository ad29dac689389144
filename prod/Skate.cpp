#include "prod/Skate.h"

#include "kestrane/Texture.h"
#include "prod/Animation.h"
#include "prod/Bubbles.h"
#include "prod/SceneProjection.h"
#include "prod/SceneSky.h"
#include "vessara/Demo.h"
#include "vessara/Effects.h"
#include "vessara/ResourceProxies.h"
#include "vessara/Skybox.h"

#include <cmath>

namespace Vessara {

using Prod::ease;
using Prod::u;

Skate::Skate(Demo* demo) : Element(512, 512, demo, "Untitled") {}

SkateState& Skate::state()
{
    static SkateState skateState;
    return skateState;
}

float Skate::fadeAlpha(float t)
{
    return (1.0f - ease(t / 2.0f)) + ease((t - 13.0f) / 16.0f);
}

void Skate::prepare()
{
    // 1-2. The board, its tangent frames and its undeformed shape.
    board.prepare(*this, "skate.vxm");

    // 3. 500 random keys of small angles, spaced by their size and a pause.
    spinTrack = {};
    Prod::srand(1);
    float d = 0.0f;
    for (int key = 0; key < 500; ++key) {
        const Kestrane::Float3 p = Prod::randomVector() * 0.6f;
        const float A = std::fabs(3.0f * u());
        const float E = std::fabs(u());
        d = d + std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z) * (E + 0.6f) + (A + 0.4f);
        spinTrack.addKey(p, d);
    }
}

void Skate::draw()
{
    SkateState& s = state();
    const float t = localTime;

    // 1. Camera looking down at a wandering target.
    setCamera(200.0f, 200.0f, 200.0f, 100.0f * std::sin(t), 100.0f * std::cos(0.82f * t), 0.0f, 0.0f, 0.0f, 1.0f);
    Prod::setSceneProjection(*this, 45.0f, 1.777f, 1.0f, 1000.0f);

    // 2. A slow turn of everything drawn after it.
    resetWorld();
    rotateWorld(30.0f * t, 0.0f, 0.0f, 1.0f);

    // 3. Sky.
    Prod::drawSky(*this, s.sky, "scene6.jpg");

    // 4. The wave through the board, without drift.
    board.deform(t, spinTrack, nullptr);

    // 5. The board. Its light is fixed here rather than left to whichever
    // scene used the shader last, so the picture depends on t alone.
    useShader("vessara_specularbump.cg");
    setTexture("tex0", "skate-top.jpg");
    setTexture("tex1", "normal_skate-top.png");
    setFloat4("lightPosition", 0.0f, 0.0f, 300.0f, 1.0f);
    uploadCamera();
    drawMesh(-1, "skate.vxm");

    // 6-7. Bubbles, on the unshifted time.
    Prod::drawBubbles(*this, s.bubbles, t);

    // 8. Credits, added over the lower right.
    drawImage("credits.png", -0.05f, -1.0f, 1.0f, 1.2f, Kestrane::BlendFactor::SrcAlpha, Kestrane::BlendFactor::One);

    // 9. Fade in from and out to black.
    const float fade[4] = {0.0f, 0.0f, 0.0f, fadeAlpha(t)};
    colorOverlay(*this, fade);

    // 10.
    glow(*this, 64, 0.5f, 2.0f, 1.0f, 1.0f);

    // 11. Two gentle ripples.
    distortSine(*this, 10.0f + 2.0f * std::sin(0.3f * t), 10.0f + 2.0f * std::sin(0.665f * t), 0.005f, 0.01f, 0.0f,
                0.0f);
    distortSine(*this, 10.0f + 2.0f * std::sin(0.5f * t), 10.0f + 2.0f * std::sin(0.465f * t), 0.01f, 0.005f, 2.0f,
                2.1f);
}

}  // namespace Vessara
