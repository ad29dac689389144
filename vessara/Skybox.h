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
// The picture stands upright on the four side faces with its top towards
// z = +10, or towards z = -10 when the camera's up leans to -z, so that every
// scene sees its sky the right way up. The caps show the whole picture,
// each the right way round seen from inside; with flatCaps they instead show
// the single texel of the picture's top-left corner (the cap above) and of
// its bottom-left corner (the cap below): a panorama's sky and floor colour.
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
