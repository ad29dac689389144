// StdVessara::Skybox: a textured cube (corners at +-10) drawn around the
// camera with its orientation only, so it never moves when the camera does:
// the background of a scene. It draws with "vessara_texture.cg" and the
// demo's current texture (shared slot 0 of the camera block; none bound when
// the slot is empty), with depth testing and culling off, so it is drawn
// first and everything after it covers it.
//
// Use, per frame:
//   static auto* sky = new Skybox(demo);         once; registers as "Skybox"
//   fieldOfView/aspect of demo->camera, setCamera(...), World (normally the
//   identity), setCurrentTexture("sky.jpg"), sky->flatCaps = true;
//   sky->draw();     View and Projection are its own during the draw and are
//                    restored after it (near 1, far 100); DepthTest is on after.
// flatCaps: the faces z = -10 and z = +10 show the single texel at (0, 0)
// and (0, 1) instead of the whole picture (a panorama's floor and sky colour).
// Lives until process exit, like every drawable.
#pragma once

#include "vessara/Drawable.h"

namespace StdVessara {

class Skybox : public Vessara::Drawable {
public:
    explicit Skybox(Vessara::Demo* demo);

    void draw() override;

    bool flatCaps = false;
};

}  // namespace StdVessara
