#include "prod/Dragonfly.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Texture.h"
#include "kestrane_ext/File.h"
#include "prod/Animation.h"
#include "prod/SceneProjection.h"
#include "prod/SceneSky.h"
#include "vessara/Demo.h"
#include "vessara/Effects.h"
#include "vessara/FatalError.h"
#include "vessara/ResourceProxies.h"
#include "vessara/Skybox.h"

#include <cmath>

namespace Prod {

namespace {

constexpr const char* TargetName = "Camera01.Target";

// A scene file that did not carry the version tag reads as an empty scene;
// the show would silently lack its content, so it ends here instead.
void requireReadable(const Zentrix::Scene& scene, const std::string& fileName)
{
    if (!scene.errorText().empty())
        Vessara::fatalError("Dragonfly: \"" + fileName + "\": " + scene.errorText());
}

}  // namespace

Dragonfly::Dragonfly(Vessara::Demo* demo)
    : Dragonfly(demo, "data/dragonfly.ztx", "data/dragonflypaths.ztx", "data/solsikke.ztx")
{
}

Dragonfly::Dragonfly(Vessara::Demo* demo, const std::string& dragonflyFile, const std::string& pathsFile,
                     const std::string& sunflowerFile)
    : Vessara::Element(512, 512, demo, "Untitled"),
      dragonfly(demo, dragonflyFile),
      paths(KestraneExt::File(pathsFile, "rb")),
      sunflower(demo, sunflowerFile)
{
    requireReadable(dragonfly, dragonflyFile);
    requireReadable(paths, pathsFile);
    requireReadable(sunflower, sunflowerFile);
    requirePathNodes(paths, pathsFile);
}

float Dragonfly::pathTime(float t, float tempo)
{
    int k = 0;
    for (int i = 0; i < 10; ++i)
        if (atBeat(16 * i, tempo) < t)
            ++k;
    return 4000.0f * t + 3000.0f * static_cast<float>(k);
}

float Dragonfly::flash(float t, float tempo)
{
    float f = 0.0f;
    for (int i = 0; i < 10; ++i) {
        const float a = atBeat(16 * i + 15.9375, tempo);
        const float b = atBeat(16 * (i + 1), tempo);
        const float c = atBeat(16 * (i + 1) + 0.5, tempo);
        f += ease((t - a) / (b - a)) - ease((t - b) / (c - b));
    }
    return f;
}

void Dragonfly::requirePathNodes(const KestraneExt::ZTXLoader& paths, const std::string& fileName)
{
    for (const char* name : {"Camera01", TargetName, "Box01"})
        if (!paths.findNode(name))
            Vessara::fatalError("Dragonfly: \"" + fileName + "\" has no top-level node \"" + name + "\"");
    // The ground is drawn from the first mesh instance with Box01's geometry.
    if (!paths.findGeometry("Box01"))
        Vessara::fatalError("Dragonfly: \"" + fileName + "\": node \"Box01\" is not a mesh (the ground)");
}

void Dragonfly::draw()
{
    const float t = localTime;
    const float tempo = demo->tempo;

    // 1. Clear.
    Kestrane::clear(0.5f, 0.5f, 0.9f, 0.0f, true, true, true);
    srand(1);

    // 2. Path time, jumping ahead at every 16-beat boundary.
    const float P = pathTime(t, tempo);

    // 3. The exported camera, up along -z.
    const Kestrane::Float3 eye = paths.findNode("Camera01")->positionAt(P);
    const Kestrane::Float3 target = paths.findNode(TargetName)->positionAt(P);
    setCamera(eye.x, eye.y, eye.z, target.x, target.y, target.z, 0.0f, 0.0f, -1.0f);
    setSceneProjection(*this, 35.0f, 1.77777f, 10.0f, 1200.0f);

    // 4. The path scene at P, in world space.
    resetWorld();
    paths.evaluate(P);

    // 5. Sky.
    static StdVessara::Skybox* sky = nullptr;
    drawSky(*this, sky, "scene2.jpg");

    // 6. Ground: the first mesh instance of the path scene.
    pushWorld();
    setWorld(paths.meshInstances.front().world);
    useShader("vessara_texturediffuse.cg");
    uploadCamera();
    setTexture("tex0", "grass-bakke.jpg");
    paths.findGeometry("Box01")->draw();
    popWorld();

    // 7. A dragonfly at every plain node but the camera's target, each at its
    // own moment of the wing beat.
    srand(1);
    for (std::size_t i = 0; i < paths.plainInstances.size(); ++i) {
        const KestraneExt::NodeInstance& instance = paths.plainInstances[i];
        if (instance.node->name == TargetName)
            continue;
        pushWorld();
        setWorld(instance.world);
        scaleWorld(0.1f, 0.1f, 0.1f);
        dragonfly.drawAt(3000.0f + 3000.0f * std::sin(static_cast<float>(i) + t));
        popWorld();
    }

    // 8. Four sunflowers at random places, sizes and turns.
    srand(1);
    for (int n = 0; n < 4; ++n) {
        pushAll();
        const float s = 0.5f + 0.3f * u();
        scaleWorld(s, s, s);
        rotateWorld(1000.0f * u(), 0.0f, 0.0f, 1.0f);
        const float d1 = u();
        const float d2 = u();
        const float d3 = u();
        const float d4 = u();
        rotateWorld(15.0f * d4, d3, d2, d1);
        const float h1 = u();
        const float h2 = u();
        translateWorld(1000.0f * h2, 1000.0f * h1, 100.0f);
        sunflower.drawAt(0.0f);
        popAll();
    }

    // 9. Post-processing.
    Vessara::glow(*this, 64, 0.5f, 2.0f, 1.0f, 0.9f);
    Vessara::depthOfField(*this, 2, 0.91f, 0.2f, 0.0f, 1.5f, 70.0f, 4.0f);
    Vessara::depthOfField(*this, 2, 0.91f, 0.0f, 0.2f, 1.5f, 70.0f, 4.0f);

    // 10. The white flash on every sixteenth beat.
    const float f = flash(t, tempo);
    if (f > 0.01f) {
        const float white[4] = {1.0f, 1.0f, 1.0f, f};
        Vessara::colorOverlay(*this, white);
    }
}

}  // namespace Prod
