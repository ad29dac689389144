// The sky every scene of the show draws behind its content: a sky box made
// on the scene's first draw (and living to process exit), its picture
// clamped at the edges and read from one mipmap level, the top and bottom
// faces each one flat colour.
//
// Use, in a scene's draw(), with the scene's camera and projection set:
//   static StdVessara::Skybox* sky = nullptr;
//   drawSky(*this, sky, "scene2.jpg");
// Looks the picture up in the texture cache (a missing name is fatal there).
#pragma once

#include "kestrane/Texture.h"
#include "vessara/Drawable.h"
#include "vessara/ResourceProxies.h"
#include "vessara/Skybox.h"

namespace Prod {

inline void drawSky(Vessara::Drawable& scene, StdVessara::Skybox*& sky, const char* picture)
{
    if (!sky)
        sky = new StdVessara::Skybox(scene.demo);
    Kestrane::Texture* texture = (*scene.textures)[picture];
    texture->setWrap(Kestrane::Clamp);
    // Each face is seen at nearly one scale, so one mipmap level serves it
    // as well as a blend of two, at half the texel reads.
    texture->useNearestLevel();
    scene.setCurrentTexture(picture);
    sky->flatCaps = true;
    sky->draw();
}

}  // namespace Prod
