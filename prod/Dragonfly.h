// Prod::Dragonfly, the sixth entry of the show (beats 204 to 268): under a
// sky box, a camera exported with the path scene ("dragonflypaths.ztx") flies
// over its grass-textured ground box ("Box01"); an animated dragonfly
// ("dragonfly.ztx") hovers at every plain node of the path scene except the
// camera's target, four sunflowers ("solsikke.ztx") stand at fixed random
// places. Glow and a two-axis depth-of-field blur finish the picture, and a
// white flash marks every sixteenth beat, where the path also jumps ahead.
//
// Use: created once by the production's timeline builder,
//   new Dragonfly(demo)        a 512 x 512 element named "Untitled" that loads
//                              its three scene files from data/;
// the runtime calls frameStep each frame of its entry, which calls draw().
// A path scene lacking "Camera01", "Camera01.Target" or the ground mesh
// "Box01", or a scene file with a wrong version tag, ends the program at
// construction with a message naming the file (a missing or damaged file ends
// it earlier, in the loaders). The sky box is made on the first draw and
// shared by every Dragonfly; otherwise every frame is a function of the local
// time t. The rules below are the ones draw() uses, exposed for tests. Lives
// until process exit.
#pragma once

#include "kestrane_ext/ZTXLoader.h"
#include "vessara/Element.h"
#include "vessara/ZTXDrawable.h"

#include <string>

namespace Prod {

class Dragonfly : public Vessara::Element {
public:
    explicit Dragonfly(Vessara::Demo* demo);
    // The same scene on other files.
    Dragonfly(Vessara::Demo* demo, const std::string& dragonflyFile, const std::string& pathsFile,
              const std::string& sunflowerFile);

    void draw() override;

    // P = 4000 t + 3000 k, k the number of 16-beat boundaries i = 0..9 with
    // atBeat(16 i) < t: 0 at t = 0, one jump as soon as t > 0.
    static float pathTime(float t, float tempo);
    // The white flash: rising over the last sixteenth of a beat before each
    // 16-beat boundary (1 on it) and falling over the half beat after it.
    static float flash(float t, float tempo);
    // Ends the program, naming the file and the node, unless the path scene
    // has the top-level nodes "Camera01", "Camera01.Target" and the mesh
    // "Box01".
    static void requirePathNodes(const KestraneExt::ZTXLoader& paths, const std::string& fileName);

    StdVessara::ZTXDrawable dragonfly;
    KestraneExt::ZTXLoader paths;
    StdVessara::ZTXDrawable sunflower;
};

}  // namespace Prod
