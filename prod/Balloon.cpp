#include "prod/Balloon.h"

#include "kestrane/Texture.h"
#include "prod/Animation.h"
#include "prod/SceneProjection.h"
#include "prod/SceneSky.h"
#include "vessara/Effects.h"
#include "vessara/FatalError.h"
#include "vessara/Particles.h"
#include "vessara/ResourceProxies.h"
#include "vessara/Skybox.h"

namespace Prod {

namespace {

constexpr const char* CameraName = "Camera01";

// The camera node's target: the node its camera block names, or null.
const Zentrix::SceneNode* targetOf(const Zentrix::Scene& scene, const Zentrix::SceneNode& camera)
{
    return scene.findNode(static_cast<const Zentrix::CameraNode&>(camera).camera.targetName);
}

// The scene needs its camera and the camera's target every frame; without
// them it cannot be shown, so the show ends before it starts.
void requireCamera(const Zentrix::Scene& scene, const std::string& path)
{
    const Zentrix::SceneNode* camera = scene.findNode(CameraName);
    if (!camera) {
        std::string message = "Balloon: \"" + path + "\" has no top-level camera node \"" + CameraName + "\"";
        if (!scene.errorText().empty())
            message += " (" + scene.errorText() + ")";
        Vessara::fatalError(message);
    }
    if (camera->type != Zentrix::CameraNodeType)
        Vessara::fatalError("Balloon: \"" + path + "\": node \"" + CameraName + "\" is not a camera node");
    if (!targetOf(scene, *camera))
        Vessara::fatalError("Balloon: \"" + path + "\": the target node \"" +
                            static_cast<const Zentrix::CameraNode&>(*camera).camera.targetName +
                            "\" of camera \"" + CameraName + "\" is missing");
}

// Steps 4 and 7: one layer of additive star sprites, drawn over everything
// before it whatever its depth.
void drawStarLayer(Vessara::Drawable& scene, StdVessara::Particles& stars, unsigned seed, const char* texture)
{
    using namespace Kestrane;
    scene.disable(Capability::DepthTest);
    scene.enable(Capability::Blend);
    scene.setBlendFunction(BlendFactor::SrcAlpha, BlendFactor::One);
    Balloon::placeStars(stars, seed);
    scene.setCurrentTexture(texture);
    stars.draw();
    scene.disable(Capability::Blend);
    scene.enable(Capability::DepthTest);
}

}  // namespace

void Balloon::ZTXDrawable::applyUntexturedMaterial(const Zentrix::SceneMaterial& m)
{
    enable(Kestrane::Capability::Blend);
    setBlendFunction(Kestrane::BlendFactor::SrcAlpha, Kestrane::BlendFactor::OneMinusSrcAlpha);
    useShader("vessara_colorspecular.cg");
    setFloat4("color", m.colors[1].x, m.colors[1].y, m.colors[1].z, m.scalars[0]);
}

void Balloon::ZTXDrawable::instanceDrawn()
{
    disable(Kestrane::Capability::Blend);
}

Balloon::Balloon(Vessara::Demo* demo, const std::string& path)
    : Vessara::Element(512, 512, demo, "Untitled"), balloon(demo, path)
{
    requireCamera(balloon, path);
}

float Balloon::fadeAlpha(float t)
{
    return 1.0f - ease(t / 2.0f);
}

void Balloon::placeStars(StdVessara::Particles& stars, unsigned seed)
{
    srand(seed);
    for (int i = 0; i < StarCount; ++i) {
        const float a = u();
        const float b = u();
        const float c = u();
        stars.setPosition(i, 900.0f * c, 900.0f * b, 900.0f * a);
        stars.setSize(i, 130.0f);
    }
}

void Balloon::draw()
{
    using namespace Kestrane;
    static StdVessara::Skybox* sky = nullptr;
    static StdVessara::Particles* stars = nullptr;
    const float t = localTime;
    const float A = animationTime(t);

    // 1. The star sprites, made once; render state from scratch.
    if (!stars)
        stars = new StdVessara::Particles(demo, StarCount);
    resetRenderState();

    // 2. The exported camera, with the scene's own projection replacing the
    // camera's.
    balloon.useCamera(CameraName, A, 1.3333334f);
    const Zentrix::SceneNode* camera = balloon.findNode(CameraName);
    const Float3 eye = camera->positionAt(A);
    const Float3 target = targetOf(balloon, *camera)->positionAt(A);
    setCamera(eye.x, eye.y, eye.z, target.x, target.y, target.z, 0.0f, 0.0f, -1.0f);
    setSceneProjection(*this, 30.0f, 1.7777f, 50.0f, 2500.0f);

    // 3. Night sky.
    resetWorld();
    pushAll();
    drawSky(*this, sky, "natthimmel.jpg");
    popAll();

    // 4. Far stars, behind the balloon.
    drawStarLayer(*this, *stars, 1, "nattsky1.png");
    setDepthFunction(CompareFunction::LessEqual);

    // 5. The balloon; its drawable picks each mesh's own shader, so the
    // white texture-specular set-up here only holds until the first mesh.
    useShader("vessara_texturespecular.cg");
    setTexture("tex0", "mamma.jpg");
    setFloat4("color", 1.0f, 1.0f, 1.0f, 1.0f);
    uploadCamera();
    balloon.drawAt(A);

    // 6.
    resetWorld();

    // 7. Near stars, over the balloon.
    drawStarLayer(*this, *stars, 2, "nattsky2.png");

    // 8. Fade in from black.
    const float overlay[4] = {0.0f, 0.0f, 0.0f, fadeAlpha(t)};
    Vessara::colorOverlay(*this, overlay);

    // 9. Post-processing.
    Vessara::glow(*this, 64, 0.5f, 2.0f, 1.0f, 1.0f);
}

}  // namespace Prod
