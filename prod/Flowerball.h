// Prod::Flowerball, the fourth entry of the show (beats 76 to 140): a camera
// drifting round an animated ball of flowers ("flowerball.ztx") under a
// turning sky box; bass hits kick the camera along its path and restart the
// ball's animation at a random moment. A hundred strawberries
// ("strawberry.ztx" with "strawberry-top.ztx") rush past, soft cloud sprites
// hang in the sky, the group's logo and the title slide across the picture,
// and in the last four beats one strawberry flies up close in front of it all.
//
// Use: created once by the production's timeline builder,
//   new Flowerball(demo)    a 512 x 512 element named "Untitled"; loads the
//                           three ZTX scenes (a missing or damaged one ends
//                           the program, naming the file and the fault);
// the runtime calls frameStep each frame of the entry, which calls draw().
// The kick state (path offset K, ball time W), the sky box and the cloud
// particles live in state() for the whole run. The rules below are the ones
// draw() uses, exposed for tests. Lives until process exit.
#pragma once

#include "kestrane/Float3.h"
#include "vessara/BeatTrigger.h"
#include "vessara/Element.h"

#include <optional>

namespace StdVessara {
class Particles;
class Skybox;
class ZTXDrawable;
}  // namespace StdVessara

namespace Prod {

// What the scene keeps across frames.
struct FlowerballState {
    float pathOffset = 0.0f;  // K
    float ballTime = 0.0f;    // W
    StdVessara::Skybox* sky = nullptr;            // made on the first draw
    StdVessara::Particles* clouds = nullptr;      // made on the first draw

    // One frame's kick: while t < atBeat(60) the trigger runs on `level`
    // against 0.3; a firing moves K on by 0.3 and restarts the ball at
    // W = 10000 |u()|. Then W falls by 20000 per second of frame time (below
    // 0 the ball holds its first key).
    void kick(Vessara::BeatTrigger& trigger, float t, float level, float frameDelta, float tempo);
};

// One strawberry of the field, from the next four values of the generator
// (z0, y, x, scale, in that order, drawn whether or not it is shown).
struct Strawberry {
    Kestrane::Float3 position;  // (x, y, Z)
    float scale = 1.0f;
    bool shown = false;  // -1000 < Z < 1000
};
// Z = |5000 u()| + 200 atBeat(32) - 200 t: every strawberry passes the centre
// at 200 units a second.
Strawberry nextStrawberry(float t, float tempo);

// Distance of the close-up strawberry along its path: 200 at atBeat(60),
// approaching at 200 units a second; none before or at atBeat(60).
std::optional<float> closeUpDistance(float t, float tempo);

class Flowerball : public Vessara::Element {
public:
    explicit Flowerball(Vessara::Demo* demo);

    void draw() override;
    static FlowerballState& state();

private:
    StdVessara::ZTXDrawable* ball;
    StdVessara::ZTXDrawable* strawberry;
    StdVessara::ZTXDrawable* strawberryTop;
};

}  // namespace Prod
