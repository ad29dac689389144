// Prod::Underwater, the seventh entry of the show (beats 268 to 332): under a
// blue-green sky box a camera circles above a sandy sea floor; a bump-mapped
// sea star ("seastar.vxm") tumbles and drifts along a smooth random path
// while a wave runs through its body, 200 bubbles rise, bass hits (spectrum
// bin 0) move the camera's circle and flash the glow. Blurred in depth,
// rippled, outlined in two short passages, finished with a glow.
//
// Use: created once by the production's timeline builder,
//   new Underwater(demo)       a 512 x 512 element named "Untitled";
// prepare() once at start-up (the star's base shape, the spin and drift
// tracks), then the runtime calls frameStep each frame of its entry, which
// calls draw(). The scene time jumps 2 s at every 16 beats and once more at
// beat 31; the orbit centre S and flash F (state()) are kept for the whole
// run, across frames and entries. Lives until process exit.
#pragma once

#include "kestrane/Float3.h"
#include "kestrane_ext/KeyTrack.h"
#include "prod/WaveMesh.h"
#include "vessara/Element.h"

namespace StdVessara {
class Particles;
class Skybox;
}  // namespace StdVessara

namespace Prod {

// What the scene keeps for the whole run; all zero at start.
struct UnderwaterState {
    Kestrane::Float3 orbit;  // S: the centre the camera circles
    float flash = 0.0f;      // F: 0.25 on a bass hit, falling by the frame time
    StdVessara::Skybox* sky = nullptr;          // made on the first draw
    StdVessara::Particles* bubbles = nullptr;   // made on the first draw
};

class Underwater : public Vessara::Element {
public:
    explicit Underwater(Vessara::Demo* demo);

    void prepare() override;
    void draw() override;

    static UnderwaterState& state();

    // T = t + 2 k + 2 [atBeat(31) < t], k the number of i in 0..19 with
    // atBeat(16 i) < t.
    static float sceneTime(float t, float tempo);
    // The edge passages: atBeat(31) < t < atBeat(32) and after atBeat(63).
    static bool edgesShown(float t, float tempo);

    WaveMesh star;
    KestraneExt::KeyTrack spinTrack;
    KestraneExt::KeyTrack driftTrack;
};

}  // namespace Prod
