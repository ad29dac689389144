// Frames of the show rendered as the capture tool renders them (the
// production on a virtual clock with the decoded music's spectrum, one
// renderer through the frames in time order), one or two per scene where the
// picture is stable, compared with tests/capture/reference/ (160 x 120,
// box-filtered from 800 x 600; no channel off by more than 24, mean
// difference at most 1.0): a wrong-but-plausible picture (a scene's time
// offset, a pass reading the wrong texture, a wrong constant) fails. After an
// intended change of a scene, an effect or the content, regenerate them and
// look at them before committing:
//   VESSARA_UPDATE_REFERENCES=1 build/test_programs --gtest_filter='*ShowReference*'
#include "ShowRenderer.h"

#include "support/TestSupport.h"

#include <string>

TEST(ShowReference, FramesOfEverySceneMatchTheReferences)
{
    // Music times (163 beats a minute) inside each timeline entry, away from
    // the fades, the Dragonfly flashes and the bass hits.
    const struct {
        const char* name;
        double time;
    } frames[] = {
        {"00-pils", 2.21},           // beat 6
        {"01-shinycross", 10.31},    // beat 28
        {"02-horizon", 24.29},       // beat 66
        {"03-flowerball", 36.81},    // beat 100
        {"04-pils-again", 62.58},    // beat 170
        {"05-dragonfly", 83.93},     // beat 228
        {"06-underwater", 110.43},   // beat 300
        {"07-balloon", 132.52},      // beat 360
        {"08-pilstakeoff", 154.60},  // beat 420
        {"09-skate", 184.05},        // beat 500
    };
    Capture::ShowRenderer renderer(false);
    renderer.startUp();
    for (const auto& frame : frames) {
        renderer.render(frame.time, 1.0 / 60.0);
        const auto rgb = renderer.read();
        EXPECT_TRUE(TestSupport::matchesReference(
            TestSupport::shrunk(rgb.data(), renderer.width(), renderer.height(), 3, 5, false),
            std::string("tests/capture/reference/") + frame.name + ".png", 24, 1.0))
            << "at " << frame.time << " s";
    }
    renderer.shutDown();
}
