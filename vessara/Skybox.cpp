#include "vessara/Skybox.h"

#include "kestrane/Immediate.h"
#include "vessara/Demo.h"

namespace StdVessara {

namespace {

struct Corner {
    float x, y, z;
};

// The six faces, four corners each, in drawing order; the caps (z = -10 and
// z = +10) come first.
constexpr Corner Faces[6][4] = {
    {{-10, -10, -10}, {10, -10, -10}, {10, 10, -10}, {-10, 10, -10}},  // z = -10
    {{-10, -10, 10}, {10, -10, 10}, {10, 10, 10}, {-10, 10, 10}},      // z = +10
    {{-10, -10, -10}, {-10, 10, -10}, {-10, 10, 10}, {-10, -10, 10}},  // x = -10
    {{10, -10, -10}, {10, 10, -10}, {10, 10, 10}, {10, -10, 10}},      // x = +10
    {{-10, -10, -10}, {10, -10, -10}, {10, -10, 10}, {-10, -10, 10}},  // y = -10
    {{-10, 10, -10}, {10, 10, -10}, {10, 10, 10}, {-10, 10, 10}},      // y = +10
};

constexpr float WholeImage[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

}  // namespace

Skybox::Skybox(Vessara::Demo* demo) : Vessara::Drawable(demo, "Skybox") {}

void Skybox::draw()
{
    const Vessara::CameraBlock& camera = demo->camera;

    useShader("vessara_texture.cg");
    setFloat("alpha", 1.0f);
    if (const Kestrane::Texture* texture = camera.currentTexture())
        setTexture("tex0", texture);

    pushAll();
    // The camera's orientation without its position.
    setView(0.0f, 0.0f, 0.0f, camera.target[0] - camera.eye[0], camera.target[1] - camera.eye[1],
            camera.target[2] - camera.eye[2], camera.up[0], camera.up[1], camera.up[2]);
    setProjection(camera.fieldOfView, camera.aspect, 1.0f, 100.0f);
    disable(Kestrane::Capability::DepthTest);
    disable(Kestrane::Capability::CullFace);
    uploadCamera();

    Kestrane::begin(Kestrane::Quads);
    for (int face = 0; face < 6; ++face) {
        for (int corner = 0; corner < 4; ++corner) {
            float s = WholeImage[corner][0];
            float t = WholeImage[corner][1];
            if (flatCaps && face < 2) {
                // One texel per cap: (0, 0) below, (0, 1) above.
                s = 0.0f;
                t = face == 0 ? 0.0f : 1.0f;
            }
            const Corner& p = Faces[face][corner];
            Kestrane::vertexAttribute(2, s, t, 0.0f, 1.0f);
            Kestrane::vertexAttribute(0, p.x, p.y, p.z, 1.0f);
        }
    }
    Kestrane::end();

    enable(Kestrane::Capability::DepthTest);
    popAll();
}

}  // namespace StdVessara
