#include "prod/Flowerball.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Texture.h"
#include "prod/Animation.h"
#include "prod/SceneFileCheck.h"
#include "prod/SceneProjection.h"
#include "prod/SceneSky.h"
#include "vessara/Demo.h"
#include "vessara/Effects.h"
#include "vessara/Particles.h"
#include "vessara/ResourceProxies.h"
#include "vessara/Skybox.h"
#include "vessara/ZTXDrawable.h"

#include <cmath>

namespace Prod {

namespace {

constexpr int StrawberryCount = 100;
constexpr int CloudCount = 10;

// A ZTX scene of this entry, checked at once so that a bad file stops the
// program at start-up rather than in the middle of the show.
StdVessara::ZTXDrawable* loadScene(Vessara::Demo* demo, const char* path)
{
    auto* scene = new StdVessara::ZTXDrawable(demo, path);
    requireDrawableScene(*scene, path);
    return scene;
}

// The strawberry with its top, both at animation time 750 t. drawAt leaves
// World at the strawberry's last mesh, so the top rides on that mesh's frame
// (the content puts the stalk end there).
void drawStrawberry(Vessara::Drawable& scene, StdVessara::ZTXDrawable& body, StdVessara::ZTXDrawable& top, float t)
{
    body.drawAt(750.0f * t);
    scene.translateWorld(0.0f, 5.0f, 15.0f);
    top.drawAt(750.0f * t);
}

}  // namespace

void FlowerballState::kick(Vessara::BeatTrigger& trigger, float t, float level, float frameDelta, float tempo)
{
    if (t < atBeat(60, tempo) && fire(trigger, level, 0.3f, frameDelta)) {
        pathOffset += 0.3f;
        ballTime = 10000.0f * std::fabs(u());
    }
    ballTime -= 20000.0f * frameDelta;
}

Strawberry nextStrawberry(float t, float tempo)
{
    Strawberry s;
    const float z0 = std::fabs(5000.0f * u());
    const float Z = z0 + 200.0f * atBeat(32, tempo) - 200.0f * t;
    const float y = 1000.0f * u();
    const float x = 1000.0f * u();
    s.position = {x, y, Z};
    s.scale = 1.0f + 0.5f * u();
    s.shown = -1000.0f < Z && Z < 1000.0f;
    return s;
}

std::optional<float> closeUpDistance(float t, float tempo)
{
    const float start = atBeat(60, tempo);
    if (!(start < t))
        return std::nullopt;
    return 200.0f - 200.0f * (t - start);
}

Flowerball::Flowerball(Vessara::Demo* demo)
    : Vessara::Element(512, 512, demo, "Untitled"),
      ball(loadScene(demo, "data/flowerball.ztx")),
      strawberry(loadScene(demo, "data/strawberry.ztx")),
      strawberryTop(loadScene(demo, "data/strawberry-top.ztx"))
{
}

FlowerballState& Flowerball::state()
{
    static FlowerballState flowerballState;
    return flowerballState;
}

void Flowerball::draw()
{
    using Kestrane::Float3;
    FlowerballState& s = state();
    const float t = localTime;
    const float tempo = demo->tempo;

    // 1.
    Kestrane::clear(0.4f, 0.4f, 0.7f, 0.0f, true, true, true);

    // 2. Bass hits kick the camera along its path and restart the ball.
    s.kick(triggers[0], t, spectrum[1], *frameDelta, tempo);

    // 3. The camera drifts round the ball on a noise path.
    const Float3 wobble = noise(3, 0.4f * t + s.pathOffset, NoiseMode::Cubic) * 10.0f;
    const Float3 eye = noise(2, 0.3f * t + s.pathOffset, NoiseMode::Cubic) * 400.0f + wobble;
    setCamera(eye.x, eye.y, eye.z, 0.0f, 150.0f * std::sin(0.5f * t), 150.0f * std::sin(0.4f * t), 0.0f, 0.0f,
              -1.0f);
    setSceneProjection(*this, 60.0f, 1.7777f, 50.0f, 2000.0f);

    // 4. The world turns; the turn stays for steps 5 to 7.
    resetWorld();
    rotateWorld(40.0f * t, 0.0f, 0.0f, 1.0f);

    // 5. Sky.
    drawSky(*this, s.sky, "scene1.jpg");

    // 6. The ball at its own animation time.
    pushWorld();
    ball->drawAt(s.ballTime);
    popWorld();

    // 7. Strawberries rushing past; every one draws its four values, shown or not.
    srand(1);
    for (int i = 0; i < StrawberryCount; ++i) {
        pushWorld();
        const Strawberry berry = nextStrawberry(t, tempo);
        translateWorld(berry.position.x, berry.position.y, berry.position.z);
        scaleWorld(berry.scale, berry.scale, berry.scale);
        if (berry.shown)
            drawStrawberry(*this, *strawberry, *strawberryTop, t);
        popWorld();
    }

    // 8.
    Vessara::glow(*this, 64, 0.5f, 2.0f, 1.0f, 0.9f);

    // 9. Clouds, the same ten every frame.
    if (!s.clouds)
        s.clouds = new StdVessara::Particles(demo, CloudCount);
    resetWorld();
    srand(1);
    for (int i = 0; i < CloudCount; ++i) {
        const float x = u();
        const float y = u();
        const float z = u();
        s.clouds->setPosition(i, 500.0f * x, 500.0f * y, 500.0f * z);
        s.clouds->setSize(i, 200.0f);
    }
    setCurrentTexture("sky.png");
    enable(Kestrane::Capability::Blend);
    setBlendFunction(Kestrane::BlendFactor::SrcAlpha, Kestrane::BlendFactor::OneMinusSrcAlpha);
    setDepthWrite(false);
    s.clouds->draw();
    disable(Kestrane::Capability::Blend);
    setDepthWrite(true);

    // 10.
    Vessara::depthOfField(*this, 1, 0.95f, 0.5f, 0.0f, 2.0f, 30.0f, 3.0f);
    Vessara::depthOfField(*this, 1, 0.95f, 0.0f, 0.5f, 2.0f, 30.0f, 3.0f);

    // 11. The title and the group's logo slide across.
    drawImage("logo2.png", 0.06f * t - 1.5f, -1.0f, 2.0f, 2.0f, Kestrane::BlendFactor::SrcAlpha,
              Kestrane::BlendFactor::OneMinusSrcAlpha);
    drawImage("logo.png", 0.05f * t - 1.5f, -1.0f, 2.0f, 2.0f, Kestrane::BlendFactor::SrcAlpha,
              Kestrane::BlendFactor::OneMinusSrcAlpha);

    // 12. In the last four beats one strawberry flies up close, over everything.
    Kestrane::clear(0.0f, 0.0f, 0.0f, 0.0f, false, true, false);
    setCamera(50.0f, 50.0f, 10.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    setSceneProjection(*this, 60.0f, 1.7777f, 5.0f, 500.0f);
    resetWorld();
    rotateWorld(40.0f * t, 0.0f, 0.0f, 1.0f);
    if (const std::optional<float> distance = closeUpDistance(t, tempo)) {
        rotateWorld(180.0f, 1.0f, 0.0f, 0.0f);
        translateWorld(0.0f, 0.0f, *distance);
        drawStrawberry(*this, *strawberry, *strawberryTop, t);
    }
}

}  // namespace Prod
