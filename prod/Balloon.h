// Prod::Balloon: a hot-air balloon scene ("data/balloon.ztx") playing its
// animation under a night sky, seen through its exported camera "Camera01",
// between two layers of additive star sprites ("nattsky1.png" behind the
// balloon, "nattsky2.png" in front), fading in from black over two seconds
// and glowing. The scene's animation time is A = 500 t.
//
// Use: created once by the production's timeline builder,
//   new Balloon(demo)    a 512 x 512 element named "Untitled"; loads the
//                        scene file and checks it: a file without a camera
//                        node "Camera01", or whose camera's target node is
//                        missing, ends the program naming the file and node.
// the runtime calls frameStep each frame of the entry, which calls draw().
// The sky box and the ten star sprites are made on the first draw and kept
// for the whole run, like the scene itself.
//
// Balloon::ZTXDrawable is the standard ZTX drawable except for untextured
// materials: they are alpha-blended (SrcAlpha, OneMinusSrcAlpha), their
// scalar 1 going to the fourth value of "color", and blending is turned off
// again after every mesh instance.
#pragma once

#include "kestrane_ext/Scene.h"
#include "vessara/Element.h"
#include "vessara/ZTXDrawable.h"

#include <string>

namespace StdVessara {
class Particles;
}

namespace Prod {

class Balloon : public Vessara::Element {
public:
    class ZTXDrawable : public StdVessara::ZTXDrawable {
    public:
        using StdVessara::ZTXDrawable::ZTXDrawable;

    protected:
        void applyUntexturedMaterial(const Zentrix::SceneMaterial& material) override;
        void instanceDrawn() override;
    };

    static constexpr const char* ScenePath = "data/balloon.ztx";
    static constexpr int StarCount = 10;

    // path: the scene file (the production's is ScenePath).
    explicit Balloon(Vessara::Demo* demo, const std::string& path = ScenePath);
    void draw() override;

    // The balloon's animation time at local time t.
    static float animationTime(float t) { return 500.0f * t; }
    // Black over the first two seconds: alpha of the fade-in overlay at t.
    static float fadeAlpha(float t);
    // Star sprite i = 0..9 at 900 (c, b, a) with a, b, c drawn in that order
    // after srand(seed), each of size 130.
    static void placeStars(StdVessara::Particles& stars, unsigned seed);

    ZTXDrawable balloon;
};

}  // namespace Prod
