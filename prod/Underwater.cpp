#include "prod/Underwater.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Texture.h"
#include "kestrane_ext/Geometry.h"
#include "prod/Animation.h"
#include "prod/Bubbles.h"
#include "prod/SceneProjection.h"
#include "prod/SceneSky.h"
#include "vessara/Demo.h"
#include "vessara/Effects.h"
#include "vessara/ResourceProxies.h"
#include "vessara/Skybox.h"

#include <algorithm>
#include <cmath>

namespace Prod {

namespace {

float length(Kestrane::Float3 v)
{
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

}  // namespace

Underwater::Underwater(Vessara::Demo* demo) : Vessara::Element(512, 512, demo, "Untitled") {}

UnderwaterState& Underwater::state()
{
    static UnderwaterState underwaterState;
    return underwaterState;
}

float Underwater::sceneTime(float t, float tempo)
{
    int k = 0;
    for (int i = 0; i < 20; ++i)
        if (atBeat(16 * i, tempo) < t)
            ++k;
    const int late = atBeat(31, tempo) < t ? 1 : 0;
    return t + 2.0f * static_cast<float>(k) + 2.0f * static_cast<float>(late);
}

bool Underwater::edgesShown(float t, float tempo)
{
    return (atBeat(31, tempo) < t && t < atBeat(32, tempo)) || t > atBeat(63, tempo);
}

void Underwater::prepare()
{
    // 1-2. The star, its tangent frames and its undeformed shape.
    star.prepare(*this, "seastar.vxm");

    // 3. 500 random keys on each track, their times growing by each key's
    // distance from the origin scaled by a random factor plus a random pause.
    spinTrack = {};
    driftTrack = {};
    srand(1);
    float d = 0.0f;
    for (int key = 0; key < 500; ++key) {
        const Kestrane::Float3 p = randomVector() * 4.6f;
        const float A = std::fabs(3.0f * u());
        const float E = std::fabs(u());
        d = d + length(p) * (E + 0.1f) + A;
        spinTrack.addKey(p, d);
        rand();
        driftTrack.addKey(randomVector() * 70.0f, d);
    }
}

void Underwater::draw()
{
    UnderwaterState& s = state();
    const float tempo = demo->tempo;

    // 1. Scene time with its jumps, written back for the rest of the frame.
    const float t = localTime;
    const float T = sceneTime(t, tempo);
    localTime = T;

    // 2.
    Kestrane::clear(0.2f, 0.25f, 0.45f, 0.0f, true, true, true);

    // 3. The wave through the star.
    star.deform(T, spinTrack, &driftTrack);

    // 4. Bass hits move the orbit and flash.
    srand(static_cast<unsigned>(static_cast<long long>(T * 1000.0f)));
    if (beat(0, 0.3f)) {
        s.orbit.x = 80.0f * u();
        s.orbit.y = 80.0f * u();
        s.orbit.z = 80.0f * u();
        s.flash = 0.25f;
    }
    s.flash -= *frameDelta;

    // 5. Camera circling the orbit centre.
    const Kestrane::Float3 S = s.orbit;
    const float alpha = 0.03f * S.x * T;
    setCamera(S.x + 210.0f * std::sin(alpha), S.y + 210.0f * std::cos(alpha),
              30.0f + 50.0f * std::sin(0.9f * T + 0.5f), 0.0f, 0.0f, -1.0f, 0.0f, 0.0f, 1.0f);
    setSceneProjection(*this, 45.0f, 1.7777f, 30.0f, 8000.0f);

    // 6. Sky.
    resetWorld();
    drawSky(*this, s.sky, "scene6.jpg");

    // 7. Sea floor.
    useShader("vessara_texturediffuse.cg");
    setTexture("tex0", "sand2.jpg");
    pushWorld();
    resetWorld();
    scaleWorld(150.0f, 150.0f, 50.0f);
    translateWorld(0.0f, 0.0f, 5.0f);
    uploadCamera();
    drawMesh(-1, "seafloor.vxm");
    popWorld();

    // 8. The star.
    useShader("vessara_specularbump.cg");
    setTexture("tex0", "stjerne.jpg");
    setTexture("tex1", "stjerne_bump.jpg");
    setFloat4("lightPosition", 0.0f, 0.0f, 300.0f, 1.0f);
    uploadCamera();
    star.geometry->draw();

    // 9-10. Bubbles.
    drawBubbles(*this, s.bubbles, T);

    // 11. Post-processing.
    Vessara::depthOfField(*this, 1, 0.85f, 0.5f, 0.0f, 2.0f, 96.0f, 4.0f);
    Vessara::depthOfField(*this, 1, 0.85f, 0.0f, 0.5f, 2.0f, 96.0f, 4.0f);
    Vessara::distortSine(*this, 10.0f, 10.0f, 0.01f, 0.01f, std::sin(T), std::cos(T));
    Vessara::distortSine(*this, 32.0f, 32.0f, 0.001f, 0.001f, std::sin(0.4f * T), std::cos(0.2f * T));

    // 12. Outlines in two passages of the unshifted time.
    if (edgesShown(t, tempo)) {
        const float edge[4] = {0.7f, 0.7f, 1.0f, 1.0f};
        const float background[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        Vessara::findEdges(*this, 5.0f, edge, background);
    }

    // 13. Glow, brighter for a moment after a hit.
    Vessara::glow(*this, 128, 0.5f, 2.0f, 0.7f, 1.05f + std::max(s.flash, 0.0f));
}

}  // namespace Prod
