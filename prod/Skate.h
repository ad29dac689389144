// Vessara::Skate, the closing entry of the show (beats 460 to 556) with the
// credits: a bump-mapped skateboard ("skate.vxm") turns slowly under a sky
// box while a wave of rotation runs through it, bubbles drift upward, the
// credits ("credits.png") are laid over the picture, and the image ripples,
// fading in from black over 2 s and out to black from t = 13 to 29.
// (It lives in the framework's namespace but belongs to the production.)
//
// Use: created once by the production's timeline builder,
//   new Skate(demo)            a 512 x 512 element named "Untitled";
// prepare() once at start-up (the board's base shape, the spin track), then
// the runtime calls frameStep each frame of its entry, which calls draw().
// Every frame is a function of the local time t; only the sky box and the
// bubbles (state()) survive a frame. Lives until process exit.
#pragma once

#include "kestrane_ext/KeyTrack.h"
#include "prod/WaveMesh.h"
#include "vessara/Element.h"

namespace StdVessara {
class Particles;
class Skybox;
}  // namespace StdVessara

namespace Vessara {

// The drawables the scene makes on its first draw and keeps.
struct SkateState {
    StdVessara::Skybox* sky = nullptr;
    StdVessara::Particles* bubbles = nullptr;
};

class Skate : public Element {
public:
    explicit Skate(Demo* demo);

    void prepare() override;
    void draw() override;

    static SkateState& state();

    // Alpha of the black overlay: (1 - ease(t / 2)) + ease((t - 13) / 16).
    static float fadeAlpha(float t);

    Prod::WaveMesh board;
    KestraneExt::KeyTrack spinTrack;
};

}  // namespace Vessara
