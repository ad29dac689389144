#include "prod/Horizon.h"

#include "kestrane/Immediate.h"
#include "kestrane/Texture.h"
#include "kestrane_ext/VXMLoader.h"
#include "prod/Animation.h"
#include "prod/SceneProjection.h"
#include "vessara/FatalError.h"
#include "vessara/Particles.h"
#include "vessara/ResourceProxies.h"

#include <cmath>

namespace Prod {

namespace {

constexpr const char* ForestMesh = "atsolskogen.vxm";

// One parallax layer: its texture, sideways scroll a, vertical shift b and
// horizontal widening d at time t.
struct Layer {
    const char* texture;
    float a, b, d;
};

std::array<Layer, 9> layersAt(float t)
{
    const float cloud = Horizon::cloudWidth(t);
    return {{
        {"skyer1.png", (0.005f * t) * 4.0f, 0.0f, cloud},
        {"skyer2.png", (0.0015f * t) * 4.0f, 0.001f + 0.003f * std::sin(t), cloud},
        {"skyer3.png", (0.0095f * t) * 4.0f, 0.001f + 0.002f * std::sin(0.93f * t), cloud},
        {"skyer4.png", (0.0095f * t) * 4.0f, 0.0007f + 0.0007f * std::sin(0.98f * t), cloud},
        {"piper3.png", 0.01f * t, 0.0f, 1.2f},
        {"piper2.png", 0.03f * t, 0.0f, 1.2f},
        {"piper1.png", 0.1f * t, 0.0f, 1.2f},
        {"gress.png", 0.15f * t, 0.0f, 1.2f},
        {"grill.png", 0.25f * t, 0.0f, 1.2f},
    }};
}

}  // namespace

Horizon::Horizon(Vessara::Demo* demo) : Vessara::Element(512, 512, demo, "Untitled") {}

Horizon::LayerCorners Horizon::layerCorners(float a, float b, float c, float d, float e)
{
    return {{{a + 1.0f - d, b + 1.0f - c}, {a + d, b + 1.0f - c}, {a + d, b + e}, {a + 1.0f - d, b + e}}};
}

float Horizon::layerHeight(float t)
{
    return 0.5f + 0.5f * ease((t - 3.0f) / 7.0f);
}

float Horizon::cloudWidth(float t)
{
    return 1.0f + 0.5f * ease((t - 3.0f) / 7.0f);
}

float Horizon::dotSpread(float t)
{
    return 60.0f - 58.0f * ease(t / 4.0f) + 92.0f * ease((t - 8.0f) / 2.0f);
}

float Horizon::dotGrowth(float t)
{
    return 1.0f + 10.0f * ease((t - 8.0f) / 4.0f);
}

int Horizon::forestVertex(float r, int vertexCount)
{
    // u() is exactly -1 or 1 for rand() = 0 or 32767, which would ask for
    // vertex N: the last vertex stands in for it.
    const int k = static_cast<int>(static_cast<float>(vertexCount) * std::fabs(r));
    return k < vertexCount ? k : vertexCount - 1;
}

std::unique_ptr<KestraneExt::Geometry::Attribute> Horizon::forestPositions(const KestraneExt::VXMLoader& forest,
                                                                          const std::string& fileName)
{
    std::unique_ptr<KestraneExt::Geometry::Attribute> positions;
    if (forest.meshCount() > 0)
        positions = forest.mesh(0).createAttribute(KestraneExt::Semantic::Position);
    if (!positions || positions->stream()->vertexCount() < 1)
        Vessara::fatalError(fileName + ": the forest mesh has no vertices for the Horizon dots to gather on");
    return positions;
}

void Horizon::dotPositions(float t, int vertexCount, const std::function<Kestrane::Float3(int)>& vertexAt,
                           Kestrane::Float3* out, int count)
{
    srand(0);
    const float D = dotSpread(t);
    const float G = dotGrowth(t);
    for (int i = 0; i < count; ++i) {
        // The vertex, turned upright and scaled.
        Kestrane::Float3 q = vertexAt(forestVertex(u(), vertexCount));
        rotate(q, {1.0f, 0.0f, 0.0f}, 1.57075f);
        const Kestrane::Float3 P = q * 0.4f;
        // Swaying round it, D wide.
        const float fi = static_cast<float>(i);
        const float X = P.x + 0.33f * D * (u() + 1.3f) * std::sin(fi + t);
        const float Y = P.y + 0.33f * D * (u() + 1.3f) * std::sin(3.21f * fi + t);
        const float Z = P.z + 0.13f * D * (u() + 1.3f) * std::sin(4.31f * fi + t);
        out[i] = {G * X, G * Y, G * Z};
    }
}

void Horizon::layer(float a, float b, float c, float d, float e)
{
    static constexpr float Positions[4][2] = {{-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}, {-1.0f, 1.0f}};
    const LayerCorners corners = layerCorners(a, b, c, d, e);
    uploadCamera();
    Kestrane::begin(Kestrane::Quads);
    for (int k = 0; k < 4; ++k) {
        Kestrane::vertexAttribute(2, corners[k][0], corners[k][1], 0.0f, 1.0f);
        Kestrane::vertexAttribute(0, Positions[k][0], Positions[k][1], 0.0f, 1.0f);
    }
    Kestrane::end();
}

void Horizon::draw()
{
    const float t = localTime;

    // 1. Wrap modes, every frame: the bands that end at their sides clamp,
    // the ones that tile sideways repeat.
    for (const char* name : {"skyer1.png", "skyer4.png", "piper1.png"})
        (*textures)[name]->setWrap(Kestrane::Clamp);
    for (const char* name : {"skyer2.png", "skyer3.png", "piper2.png", "piper3.png", "grill.png"})
        (*textures)[name]->setWrap(Kestrane::Repeat);
    // Each layer is a flat full-screen quad, one scale across the screen: the
    // nearest mipmap level reads half the texels of a blend of two.
    for (const Layer& l : layersAt(t))
        (*textures)[l.texture]->useNearestLevel();
    (*textures)["scene3.jpg"]->useNearestLevel();

    // 2. Projection, view and world: identity.
    resetAll();

    // 3. Background, its rows 0.1 to 1.
    useShader("vessara_texture.cg");
    setTexture("tex0", "scene3.jpg");
    layer(0.0f, 0.0f, 0.9f, 1.0f, 1.0f);

    // 4.
    disable(Kestrane::Capability::DepthTest);
    enable(Kestrane::Capability::Blend);
    setBlendFunction(Kestrane::BlendFactor::SrcAlpha, Kestrane::BlendFactor::OneMinusSrcAlpha);

    // 5. The nine layers, back to front, all h tall.
    const float h = layerHeight(t);
    for (const Layer& l : layersAt(t)) {
        useShader("vessara_texture.cg");
        setTexture("tex0", l.texture);
        layer(l.a, l.b, h, l.d, 1.0f);
    }

    // 6.1 The forest dots.
    static StdVessara::Particles* dots = nullptr;
    if (!dots)
        dots = new StdVessara::Particles(demo, DotCount);

    // 6.2 The forest's vertices.
    std::unique_ptr<KestraneExt::Geometry::Attribute> positions = forestPositions(*(*meshes)[ForestMesh], ForestMesh);
    const int N = positions->stream()->vertexCount();

    // 6.3 Every dot's place, the same layout every frame.
    static std::array<Kestrane::Float3, DotCount> placed;
    const KestraneExt::Geometry::Attribute* reader = positions.get();
    dotPositions(
        t, N,
        [reader](int k) {
            float v[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            reader->get(k, v);
            return Kestrane::Float3{v[0], v[1], v[2]};
        },
        placed.data());
    for (int i = 0; i < DotCount; ++i)
        dots->setPosition(i, placed[i].x, placed[i].y, placed[i].z);

    // 6.4 Release the accessor (unmaps the mesh's vertices).
    positions.reset();

    // 6.5 Camera swaying in front of the forest, wide lens; the dots.
    setCamera(10.0f * std::sin(t), -60.0f, std::cos(10.0f * t), 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    setSceneProjection(*this, 120.0f, 1.77777f, 1.0f, 1000.0f);
    setCurrentTexture("dott.png");
    dots->draw();

    // 6.6 Projection, view and world: identity.
    resetAll();

    // 7.
    disable(Kestrane::Capability::Blend);
}

}  // namespace Prod
