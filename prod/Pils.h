// Prod::Pils and Prod::PilsTakeoff: a swarm of 100 environment-mapped forks
// ("gaffel.vxm") tumbling round a wandering camera under a sky box, outlined,
// blurred in depth, rippled by two sine distortions and glowing with the
// music's low end; bass hits make the swarm jump to another moment of its
// animation. Pils opens the show (beats 0 to 12) and plays again at beats 140
// to 204 (the same object); PilsTakeoff (beats 396 to 460) has a night sky, a
// closer camera, and in its last four beats blows the swarm outward while
// fading to black.
//
// Use: created once by the production's timeline builder,
//   new Pils(demo), new PilsTakeoff(demo)   512 x 512 elements named "Untitled";
// the runtime calls frameStep each frame of an entry, which calls draw().
// Each class keeps its own state for the whole run (PilsState: the sky box,
// made on the first draw, the jump trigger and the jump offset J), carried
// across frames and across Pils' two entries; state() reaches it. The scenes
// live until process exit.
#pragma once

#include "vessara/BeatTrigger.h"
#include "vessara/Element.h"

namespace StdVessara {
class Skybox;
}

namespace Prod {

// The state a Pils scene keeps for the whole run.
struct PilsState {
    StdVessara::Skybox* sky = nullptr;  // created on the first draw, never freed
    Vessara::BeatTrigger trigger{0.0f, 0.15f, false};
    int jump = 1;  // J

    // Runs the trigger on level (spectrum bin 1) against 0.3; on a firing
    // frame J = trunc(T * 1000). Returns T2 = T + J.
    float jumpedTime(float T, float level, float frameDelta);
};

// PilsTakeoff's takeoff factor k at local time t: 0 before beat 60 of its
// entry, easing to 1 at beat 64.
float takeoffFactor(float t, float tempo);
// Alpha of Pils' opening fade at local time t, drawn only while the music
// clock is before beat 12: black at t = 0, clear from t = 1 to 1.5, black
// again at beat 12.
float openingFade(float t, float tempo);

class Pils : public Vessara::Element {
public:
    explicit Pils(Vessara::Demo* demo);
    void draw() override;
    static PilsState& state();
};

class PilsTakeoff : public Vessara::Element {
public:
    explicit PilsTakeoff(Vessara::Demo* demo);
    void draw() override;
    static PilsState& state();
};

}  // namespace Prod
