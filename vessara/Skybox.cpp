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

// The cap z = +10 takes the picture with t running along -y, the cap
// z = -10 with t along +y: seen from inside, each reads the right way round
// for a viewer facing +y who looks up or down to it. (The same coordinates
// on both would show one of them mirrored.)
constexpr float UpperCap[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};

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

    // The side faces hold the picture with its top towards z = +10, upright
    // for a camera whose up is +z. A camera whose up leans to -z (the
    // exported scenes look with up (0, 0, -1)) gets the picture turned over,
    // so that its top, and the cap that takes the top's colour, are above
    // on screen for every scene.
    const bool upIsMinusZ = camera.up[2] < 0.0f;

    Kestrane::begin(Kestrane::Quads);
    for (int face = 0; face < 6; ++face) {
        for (int corner = 0; corner < 4; ++corner) {
            float s = face == 1 ? UpperCap[corner][0] : WholeImage[corner][0];
            float t = face == 1 ? UpperCap[corner][1] : WholeImage[corner][1];
            if (flatCaps && face < 2) {
                // One texel per cap: the picture's bottom-left (0, 0) on the
                // cap z = -10, its top-left (0, 1) on z = +10.
                s = 0.0f;
                t = face == 0 ? 0.0f : 1.0f;
            }
            if (upIsMinusZ)
                t = 1.0f - t;
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
