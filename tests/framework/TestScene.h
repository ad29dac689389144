// A small 3D scene for looking at the effects and timing them: a checkered
// floor running into the distance under a sky gradient, lit boxes at several
// depths and one bright block (something for the glow to catch), drawn into
// a 512 x 512 element with a perspective camera.
//
// Use: TestScene* scene = new TestScene(demo); scene->render();  then run
// effects on *scene. The demo must cache "vessara_texture.cg" and
// "vessara_color.cg"; the scene compiles its own lit shader once.
#pragma once

#include "vessara/Element.h"

#include <memory>

namespace Kestrane {
class CompleteShader;
class Texture;
}  // namespace Kestrane

namespace FrameworkTests {

class TestScene : public Vessara::Element {
public:
    explicit TestScene(Vessara::Demo* demo, int size = 512);
    ~TestScene() override;

    // Binds its target, clears and draws the scene.
    void render();
    void draw() override;

private:
    void box(float x, float y, float z, float sx, float sy, float sz, float r, float g, float b);

    std::unique_ptr<Kestrane::Texture> checker;
};

}  // namespace FrameworkTests
