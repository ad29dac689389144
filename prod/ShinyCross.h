// Prod::ShinyCross, the second scene of the show (beats 12 to 44): on white,
// a turning environment-mapped sculpture ("jiha.vxm"), then a swarm of 60
// environment-mapped crosses ("cross.vxm") flying in from afar, gathering
// round the camera's target and flying out again, with the group's logo
// ("quarnel.vxm") swinging into view; finished with glow, black outlines, a
// two-axis depth-of-field blur, a second glow and a fade from and to black.
//
// Use: created once by the production's timeline builder,
//   new ShinyCross(demo)        a 512 x 512 element named "Untitled";
// the runtime then calls frameStep each frame of its entry, which calls draw().
// Every frame is a function of the scene time T = 1.25 t alone (the swarm's
// generator is reseeded each frame); the scene keeps no state. The formulas
// below are the ones draw() uses, exposed for tests. Lives until process exit.
#pragma once

#include "kestrane/Float3.h"
#include "vessara/Element.h"

namespace Prod {

class ShinyCross : public Vessara::Element {
public:
    explicit ShinyCross(Vessara::Demo* demo);

    void draw() override;

    // T = 1.25 t.
    static float sceneTime(float localTime);
    // The swarm's distance: 1500 at T = 0, 300 from T = 4 to 12, 200 after
    // T = 13, flying out to 2200 by T = 15.
    static float swarmDistance(float T);
    // The logo's translation before its -50 shift along x.
    static Kestrane::Float3 logoOffset(float T);
    // Alpha of the closing black overlay: 1 at T = 0, 0 from T = 0.5 to 13,
    // back to 1 at T = 15.
    static float fadeAlpha(float T);
};

}  // namespace Prod
