#include "prod/Pils.h"

#include "kestrane/Texture.h"
#include "prod/Animation.h"
#include "prod/SceneProjection.h"
#include "prod/SceneSky.h"
#include "vessara/Demo.h"
#include "vessara/Effects.h"
#include "vessara/ResourceProxies.h"
#include "vessara/Skybox.h"

#include <cmath>

namespace Prod {

namespace {

constexpr int ForkCount = 100;

// What differs between the two scenes.
struct Variant {
    float eyeRadius;
    float farPlane;
    const char* sky;
    bool takeoff;  // PilsTakeoff: the swarm blown outward under a black overlay
    float glowGammaBase;
    float glowGammaSlope;  // glow gamma = base + slope * s1
};

constexpr Variant PilsLook{310.0f, 600.0f, "scene2.jpg", false, 0.99f, 0.2f};
constexpr Variant TakeoffLook{260.0f, 400.0f, "natthimmel.jpg", true, 1.065f, 0.42f};

// The procedure both scenes share; `state` is the calling class's own.
void drawSwarm(Vessara::Element& scene, PilsState& state, const Variant& look)
{
    using Kestrane::Float3;
    const float t = scene.localTime;
    const float tempo = scene.demo->tempo;
    const float k = look.takeoff ? takeoffFactor(t, tempo) : 0.0f;

    // 1. Scene time.
    const float T = t + 35.0f;
    scene.localTime = T;

    // 2.
    if (!state.sky)
        state.sky = new StdVessara::Skybox(scene.demo);

    // 3. A camera wandering one noise cell per four beats round the swarm.
    const Float3 eye = noise(0, T * 163.0f / 240.0f, NoiseMode::Linear) * look.eyeRadius;
    const Float3 target = noise(1, T, NoiseMode::Cubic) * 5.0f;
    scene.setCamera(eye.x, eye.y, eye.z, target.x, target.y, target.z, 0.0f, 0.0f, 1.0f);
    setSceneProjection(scene, 90.0f, 1.7777f, 20.0f, look.farPlane);

    // 4. Sky.
    scene.resetWorld();
    drawSky(scene, state.sky, look.sky);

    // 5. A slow sway of the whole swarm.
    scene.rotateWorld(10.0f * std::sin(T), 0.0f, 0.0f, 1.0f);
    scene.scaleWorld(0.7f, 0.7f, 0.7f);

    // 6. Bass hits jump the animation.
    const float s1 = scene.spectrum[1];
    const float T2 = state.jumpedTime(T, s1, *scene.frameDelta);
    scene.localTime = T2;

    // 7. The forks.
    const float radius = 600.0f * k + 200.0f;
    // The fork is a closed solid: its far side is culled rather than shaded
    // and then covered.
    srand(1);
    scene.enable(Kestrane::Capability::CullFace);
    for (int i = 0; i < ForkCount; ++i) {
        scene.pushWorld();
        const Float3 p = noise(0, static_cast<float>(i) / 10.0f + 0.7f * T2, NoiseMode::Cubic);
        const float spinX = 100.0f * u();
        scene.rotateWorld(spinX, 1.0f, 0.0f, 0.0f);
        const float spinZ = 100.0f * u();
        scene.rotateWorld(spinZ, 0.0f, 0.0f, 1.0f);
        const float a = u();
        const float b = u();
        scene.rotateWorld(95.0f * a * std::sin(b * T2), 0.0f, 0.0f, 1.0f);
        scene.translateWorld(p.x * radius, p.y * radius, p.z * radius);
        scene.useShader("vessara_sphericalenv.cg");
        const float red = 1.3f + u();
        const float green = 1.3f + u();
        const float blue = 1.3f + u();
        scene.setFloat4("color", red, green, blue, 1.0f);
        scene.setTexture("tex0", "jall.jpg");
        scene.uploadCamera();
        scene.drawMesh(-1, "gaffel.vxm");
        scene.popWorld();
    }
    scene.disable(Kestrane::Capability::CullFace);

    // 8. PilsTakeoff fades to black as the swarm blows out.
    if (look.takeoff) {
        const float overlay[4] = {0.0f, 0.0f, 0.0f, k};
        Vessara::colorOverlay(scene, overlay);
    }

    // 9. Post-processing.
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    Vessara::outlineEdges(scene, 250.0f, black);
    Vessara::depthOfField(scene, 1, 0.9f, 0.5f, 0.0f, 2.0f, 96.0f, 4.0f);
    Vessara::depthOfField(scene, 1, 0.9f, 0.0f, 0.5f, 2.0f, 96.0f, 4.0f);
    Vessara::distortSine(scene, 10.0f, 10.0f, 0.01f * std::sin(0.67f * T2), 0.01f * std::sin(0.77f * T2), 0.0f,
                         0.0f);
    Vessara::distortSine(scene, 14.0f, 14.0f, 0.013f * std::sin(0.56f * T2), 0.012f * std::sin(0.85f * T2), 0.9f,
                         0.3f);
    Vessara::glow(scene, 128, 0.5f, 2.0f, 1.0f, look.glowGammaBase + look.glowGammaSlope * s1);

    // 10. The opening fade, during Pils' first entry only.
    if (*scene.time < atBeat(12, tempo)) {
        scene.localTime = t;
        const float fade[4] = {0.0f, 0.0f, 0.0f, openingFade(t, tempo)};
        Vessara::colorOverlay(scene, fade);
    }
}

}  // namespace

float PilsState::jumpedTime(float T, float level, float frameDelta)
{
    if (fire(trigger, level, 0.3f, frameDelta))
        jump = static_cast<int>(T * 1000.0f);
    return T + static_cast<float>(jump);
}

float takeoffFactor(float t, float tempo)
{
    return ease((t - atBeat(60, tempo)) / (atBeat(64, tempo) - atBeat(60, tempo)));
}

float openingFade(float t, float tempo)
{
    return 1.0f - ease(t) + ease((t - 1.5f) / (atBeat(12, tempo) - 1.5f));
}

Pils::Pils(Vessara::Demo* demo) : Vessara::Element(512, 512, demo, "Untitled") {}

void Pils::draw()
{
    drawSwarm(*this, state(), PilsLook);
}

PilsState& Pils::state()
{
    static PilsState pilsState;
    return pilsState;
}

PilsTakeoff::PilsTakeoff(Vessara::Demo* demo) : Vessara::Element(512, 512, demo, "Untitled") {}

void PilsTakeoff::draw()
{
    drawSwarm(*this, state(), TakeoffLook);
}

PilsState& PilsTakeoff::state()
{
    static PilsState takeoffState;
    return takeoffState;
}

}  // namespace Prod
