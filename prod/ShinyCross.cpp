#include "prod/ShinyCross.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Texture.h"
#include "vessara/ResourceProxies.h"
#include "prod/Animation.h"
#include "prod/SceneProjection.h"
#include "vessara/Effects.h"

#include <cmath>

namespace Prod {

namespace {

constexpr int CrossCount = 60;

// The same projection for all three passes, recorded in the camera block.
void sceneProjection(Vessara::Drawable& scene)
{
    setSceneProjection(scene, 95.0f, 1.7777f, 1.0f, 600.0f);
}

}  // namespace

ShinyCross::ShinyCross(Vessara::Demo* demo) : Vessara::Element(512, 512, demo, "Untitled") {}

float ShinyCross::sceneTime(float localTime)
{
    return 1.25f * localTime;
}

float ShinyCross::swarmDistance(float T)
{
    return 2000.0f * ease((T - 13.0f) / 2.0f) + 1500.0f - 1200.0f * ease(T / 4.0f) - 100.0f * ease(T - 12.0f);
}

Kestrane::Float3 ShinyCross::logoOffset(float T)
{
    return {500.0f * (1.0f - ease(T / 5.0f)) + 500.0f * ease((T - 12.0f) / 4.0f), 200.0f * (1.0f - ease(T / 3.0f)),
            0.0f};
}

float ShinyCross::fadeAlpha(float T)
{
    return (1.0f - ease(T / 0.5f)) + ease((T - 13.0f) / 2.0f);
}

void ShinyCross::draw()
{
    // 1. Scene time, written back for the rest of the frame.
    const float T = sceneTime(localTime);
    localTime = T;

    // 2. White background.
    Kestrane::clear(1.0f, 1.0f, 1.0f, 1.0f, true, true, true);

    // 3. The sculpture, turning about y round the camera at the origin. The
    // turn stays in World for the rest of the frame.
    useShader("vessara_planarenv.cg");
    (*textures)["bw.jpg"]->useNearestLevel();
    setTexture("tex0", "bw.jpg");
    sceneProjection(*this);
    setCamera(0.0f, 0.0f, 0.0f, -100.0f, -100.0f, -100.0f, 0.0f, 1.0f, 0.0f);
    resetWorld();
    rotateWorld(60.0f * T, 0.0f, 1.0f, 0.0f);
    pushWorld();
    scaleWorld(15.0f, 15.0f, 15.0f);
    uploadCamera();
    // A closed tube: its far side is culled rather than shaded and covered.
    enable(Kestrane::Capability::CullFace);
    drawMesh(-1, "jiha.vxm");
    disable(Kestrane::Capability::CullFace);
    popWorld();

    // 4.
    Vessara::glow(*this, 64, 0.5f, 2.0f, 1.0f, 1.0f);

    // 5. The crosses, the same swarm every frame.
    useShader("vessara_sphericalenv.cg");
    sceneProjection(*this);
    setCamera(100.0f, 100.0f, 100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    (*textures)["someenv.jpg"]->useNearestLevel();
    setTexture("tex0", "someenv.jpg");
    srand(1);
    const float D = swarmDistance(T);
    // The crosses and the logo are closed solids: their far sides are culled
    // rather than shaded and then covered.
    enable(Kestrane::Capability::CullFace);

    // 6. Thirteen random values per cross, in this order.
    for (int i = 0; i < CrossCount; ++i) {
        pushWorld();
        const float a1 = u();
        const float a2 = u();
        rotateWorld(a2 * T * 30.0f, 1.0f, a1, 0.0f);
        translateWorld(-50.0f, 0.0f, 0.0f);
        const float a3 = u();
        const float a4 = u();
        const float a5 = u();
        translateWorld(a5 * D, a4 * D, a3 * D);
        const float a6 = u();
        rotateWorld(a6 * T * 100.0f, 1.0f, 0.0f, 0.0f);
        const float a7 = u();
        rotateWorld(a7 * T * 100.0f, 0.0f, 1.0f, 0.0f);
        uploadCamera();
        const float c1 = u();
        const float c2 = u();
        const float c3 = u();
        const float c4 = u();
        const float c5 = u();
        const float c6 = u();
        const float p = 1.2f + c1 + 0.3f * std::sin(1.23f * T * c2);
        const float q = 1.2f + c3 + 0.3f * std::cos(0.7f * T * c4);
        const float s = 1.2f + c5 + 0.3f * std::sin(2.7f * T * c6);
        const float n = std::sqrt(p * p + q * q + s * s + 1.0f);
        setFloat4("color", 2.0f * s / n, 2.0f * q / n, 2.0f * p / n, 2.0f / n);
        drawMesh(-1, "cross.vxm");
        popWorld();
    }

    // 7. The logo, with the crosses' shader, projection and camera.
    pushWorld();
    const Kestrane::Float3 offset = logoOffset(T);
    translateWorld(offset.x, offset.y, offset.z);
    translateWorld(-50.0f, 0.0f, 0.0f);
    rotateWorld(40.0f * T, 1.0f, 0.0f, 0.0f);
    rotateWorld(50.0f * (ease((T - 2.0f) / 3.0f) - ease((T - 8.0f) / 2.0f)), 1.0f, 0.0f, 0.0f);
    (*textures)["bgenv.jpg"]->useNearestLevel();
    setTexture("tex0", "bgenv.jpg");
    setFloat4("color", 1.0f, 1.0f, 1.0f, 1.0f);
    uploadCamera();
    drawMesh(-1, "quarnel.vxm");
    popWorld();
    disable(Kestrane::Capability::CullFace);

    // 8. Post-processing.
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    Vessara::outlineEdges(*this, 500.0f, black);
    Vessara::depthOfField(*this, 2, 0.99f, 0.5f, 0.0f, 2.0f, 96.0f, 4.0f);
    Vessara::depthOfField(*this, 2, 0.99f, 0.0f, 0.5f, 2.0f, 96.0f, 4.0f);
    Vessara::glow(*this, 128, 0.5f, 2.0f, 1.0f, 0.9f);
    const float fade[4] = {0.0f, 0.0f, 0.0f, fadeAlpha(T)};
    Vessara::colorOverlay(*this, fade);
}

}  // namespace Prod
