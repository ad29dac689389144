// The standard drawables together: a sky box, a lit, bump-mapped torus with
// an environment-mapped coat, a chrome sphere, a ring with planar
// reflections, a plastic ball and a floor, with sparkles around the torus.
// Rendered once and saved as /tmp/vessara-stddraw-scene.png to be looked at.
#include <epoxy/gl.h>

#include "Procedural.h"
#include "StdDrawFixture.h"

#include "kestrane/State.h"
#include "kestrane_ext/VXMLoader.h"
#include "vessara/Particles.h"
#include "vessara/ResourceProxies.h"
#include "vessara/Skybox.h"

#include <cmath>

using namespace StdDrawTests;
namespace P = StdDrawTests::Procedural;
using Kestrane::State;

namespace {

class ScenePictureTest : public StdDrawTest {
protected:
    void mesh(const std::string& name, const KestraneExt::VXMMeshData& data)
    {
        const std::vector<uint8_t> bytes = KestraneExt::encodeVXM({data});
        meshes.push_back(std::make_unique<KestraneExt::VXMLoader>(bytes.data(), bytes.size(), name, 4, 4));
        demo->meshes.cache[name] = meshes.back().get();
    }

    void texture(const std::string& name, const P::Pixels& p,
                 Kestrane::TextureFilter filter = Kestrane::Mipmapped)
    {
        cacheTexture(name, p.width, p.height, p.texels, filter);
    }

    void lit(const char* shader)
    {
        scene->useShader(shader);
        scene->setFloat4("lightPosition", 4.0f, -5.0f, 5.0f, 1.0f);
    }

    std::vector<std::unique_ptr<KestraneExt::VXMLoader>> meshes;
};

}  // namespace

TEST_F(ScenePictureTest, RendersTheTestScene)
{
    for (const char* name : {"vessara_texture.cg", "vessara_particles.cg", "vessara_texturediffuse.cg",
                             "vessara_colorspecular.cg", "vessara_specularbump.cg",
                             "vessara_planarenv.cg", "vessara_sphericalenv.cg"})
        useDataShader(name);
    mesh("torus.vxm", P::torus(1.15f, 0.45f, 96, 32, 4.0f));
    mesh("sphere.vxm", P::sphere(1.0f, 64, 32));
    mesh("floor.vxm", P::floorSquare(7.0f, 5.0f));
    texture("sky.png", P::sky(256), Kestrane::Linear);  // clamped: the caps take edge texels
    texture("tiles.png", P::tiles(256));
    texture("normal_tiles.png", P::tilesNormalMap(256));
    texture("spheremap.png", P::sphereMap(256));
    texture("checker.png", P::checker(256));
    texture("studio.png", P::studio(256));
    texture("sparkle.png", P::sparkle(64));

    // z is up, as in the scenes exported from the modelling tool.
    perspective(50.0f, ScreenAspect, 0.5f, 100.0f);
    scene->setCamera(0.0f, -8.0f, 1.7f, 0.0f, 0.0f, 0.2f, 0.0f, 0.0f, 1.0f);

    StdVessara::Skybox sky(demo.get());
    scene->setCurrentTexture("sky.png");
    sky.flatCaps = true;
    sky.draw();
    const Rgba8 horizon = readPixel(20, 430), zenith = readPixel(20, 590);

    // Floor.
    scene->useShader("vessara_texturediffuse.cg");
    scene->setTexture("tex0", "checker.png");
    State::pushWorld();
    State::translateWorld(0, 0, -1.3f);
    scene->uploadCamera();
    scene->drawMesh(-1, "floor.vxm");
    State::popWorld();

    // The torus: bump-mapped tiles under the light, then the environment
    // added over the same pixels as a glossy coat.
    State::pushWorld();
    State::translateWorld(0, 0, 0.2f);
    State::rotateWorld(62.0f, 1, 0, 0);
    State::rotateWorld(25.0f, 0, 0, 1);
    lit("vessara_specularbump.cg");
    scene->setTexture("tex0", "tiles.png");
    scene->setTexture("tex1", "normal_tiles.png");
    scene->uploadCamera();
    scene->drawMesh(-1, "torus.vxm");
    State::setDepthFunction(Kestrane::CompareFunction::LessEqual);
    State::enable(Kestrane::Capability::Blend);
    State::setBlendFunction(Kestrane::BlendFactor::One, Kestrane::BlendFactor::One);
    scene->useShader("vessara_sphericalenv.cg");
    scene->setTexture("tex0", "spheremap.png");
    scene->setFloat4("color", 0.3f, 0.3f, 0.32f, 1.0f);
    scene->uploadCamera();
    scene->drawMesh(-1, "torus.vxm");
    State::disable(Kestrane::Capability::Blend);
    State::popWorld();

    // Chrome sphere, planar-mapped ring, plastic ball.
    State::pushWorld();
    State::translateWorld(-2.9f, 1.2f, -0.35f);
    State::scaleWorld(0.95f, 0.95f, 0.95f);
    scene->useShader("vessara_sphericalenv.cg");
    scene->setTexture("tex0", "spheremap.png");
    scene->setFloat4("color", 1.0f, 1.0f, 1.0f, 1.0f);
    scene->uploadCamera();
    scene->drawMesh(-1, "sphere.vxm");
    State::popWorld();

    State::pushWorld();
    State::translateWorld(2.9f, 1.0f, -0.2f);
    State::rotateWorld(-30.0f, 0, 0, 1);
    State::rotateWorld(90.0f, 1, 0, 0);
    State::scaleWorld(0.6f, 0.6f, 0.6f);
    scene->useShader("vessara_planarenv.cg");
    scene->setTexture("tex0", "studio.png");
    scene->uploadCamera();
    scene->drawMesh(-1, "torus.vxm");
    State::popWorld();

    State::pushWorld();
    State::translateWorld(1.55f, -2.2f, -0.85f);
    State::scaleWorld(0.45f, 0.45f, 0.45f);
    lit("vessara_colorspecular.cg");
    scene->setFloat4("color", 0.15f, 0.45f, 0.95f, 1.0f);
    scene->uploadCamera();
    scene->drawMesh(-1, "sphere.vxm");
    State::popWorld();

    // Sparkles swirling round the torus, added without writing depth.
    StdVessara::Particles sparkles(demo.get(), 180);
    for (int i = 0; i < 180; ++i) {
        const float a = i * 0.61f, r = 1.9f + 0.6f * std::sin(i * 1.7f);
        sparkles.setPosition(i, r * std::cos(a), r * std::sin(a), 0.2f + 1.1f * std::sin(i * 0.37f));
        sparkles.setSize(i, 0.07f + 0.06f * (0.5f + 0.5f * std::sin(i * 2.3f)));
        const float warm = 0.5f + 0.5f * std::sin(i * 0.9f);
        sparkles.setColor(i, 1.0f, 0.6f + 0.4f * warm, 0.35f + 0.6f * (1 - warm), 1.0f);
    }
    scene->setCurrentTexture("sparkle.png");
    State::setDepthWrite(false);
    State::enable(Kestrane::Capability::Blend);
    State::setBlendFunction(Kestrane::BlendFactor::One, Kestrane::BlendFactor::One);
    sparkles.draw();
    State::disable(Kestrane::Capability::Blend);
    State::setDepthWrite(true);

    testContext().saveScreenshot("/tmp/vessara-stddraw-scene.png");

    // The sky: a warm horizon under a bluer sky.
    EXPECT_GT(horizon.r, horizon.b);
    EXPECT_GT(zenith.b, horizon.b);
    EXPECT_LT(zenith.r, horizon.r);
    // Something was drawn over the sky in the middle, and no GL error arose.
    EXPECT_NE(readPixel(400, 300).r, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
