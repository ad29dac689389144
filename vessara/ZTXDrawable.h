// StdVessara::ZTXDrawable: a ZTX scene file drawn with a Cg shader chosen per
// material: a texture map and a bump map give "vessara_specularbump.cg"
// (colour in "tex0", "normal_" + the bump map's name in "tex1"), a texture map
// alone "vessara_texturespecular.cg" ("tex0"), neither
// "vessara_colorspecular.cg" ("color" from the material's colour 2, "alpha"
// from its scalar 1). The textured shaders get a point light at the origin.
//
// Use:
//   auto* ztx = new ZTXDrawable(demo, "data/solsikke.ztx");   once (needs GL;
//                    registers as "Untitled"; a missing or damaged file is fatal)
//   set projection and camera (setCamera), World as the scene wants, then
//   ztx->drawAt(animationTime)   evaluates the scene and draws every mesh
//                    instance with its own World matrix (the caller's World is
//                    replaced, not composed); World is left at the last
//                    instance's matrix and the last shader stays current.
// Textures are looked up by file name in the demo's cache (fatal if absent);
// a mesh without a material cannot be drawn and is fatal, naming the node.
// Variants that draw untextured materials differently (a scene drawable
// that blends them) override the two protected hooks, not the drawing loop.
// Lives until process exit, like every drawable.
#pragma once

#include "kestrane_ext/ZTXLoader.h"
#include "vessara/Drawable.h"

#include <string>

namespace StdVessara {

class ZTXDrawable : public Vessara::Drawable, public KestraneExt::ZTXLoader {
public:
    ZTXDrawable(Vessara::Demo* demo, const std::string& path);

    // Both bases keep their own draw(): through a Drawable* it is the empty
    // one (the warm-up pass), through a Batch* it is drawAt(0).
    void drawAt(float time) override;

protected:
    // A material without a texture map: here the blend function is made
    // ready for translucency while blending stays as the caller left it, and
    // "vessara_colorspecular.cg" gets "color" and "alpha".
    virtual void applyUntexturedMaterial(const Zentrix::SceneMaterial& material);
    // After each mesh instance is drawn; nothing here.
    virtual void instanceDrawn() {}

private:
    // Selects and feeds the shader of one mesh node's material.
    void applyMaterial(const Zentrix::MeshNode& mesh);
};

}  // namespace StdVessara
