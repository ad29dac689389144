// Frames of the show rendered as the capture tool renders them (the
// production on a virtual clock with the decoded music's spectrum, one
// renderer through the frames in time order), two per timeline entry,
// compared with tests/capture/reference/ (160 x 120, box-filtered from
// 800 x 600; no channel off by more than 24, mean difference at most 1.0).
// The instants lie between the kicks, with most of the picture below full
// brightness, so a wrong blend, a flipped texture or a lost effect pass
// changes what is compared. A frame that raises a GL error
// fails. renderer.txt beside the pictures names the GL renderer that made
// them; on another renderer a mismatch says so. After an intended change of
// a scene, an effect or the content, regenerate them and look at them
// before committing:
//   VESSARA_UPDATE_REFERENCES=1 build/test_programs --gtest_filter='*ShowReference*'
#include <epoxy/gl.h>

#include "ShowRenderer.h"

#include "support/TestSupport.h"

#include <fstream>
#include <string>

namespace {

const std::string referenceDir = "tests/capture/reference/";

std::string firstLine(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

}  // namespace

TEST(ShowReference, FramesOfEverySceneMatchTheReferences)
{
    // Music times at 163 beats a minute, 0.3 beats after a kick and before
    // the off-beat bass. Where a scene's picture is mostly bright (ShinyCross
    // is drawn on white, Flowerball's sky is full blue) the instants are those
    // with the least clipped to white; ShinyCross's second is in its fade out.
    const struct {
        const char* name;
        double beat;
    } frames[] = {
        {"00-pils-a", 5.3},          {"00-pils-b", 7.3},          {"01-shinycross-a", 33.3},
        {"01-shinycross-b", 41.3},   {"02-horizon-a", 49.3},      {"02-horizon-b", 69.3},
        {"03-flowerball-a", 85.3},   {"03-flowerball-b", 105.3},  {"04-pils-again-a", 165.3},
        {"04-pils-again-b", 173.3},  {"05-dragonfly-a", 215.3},   {"05-dragonfly-b", 245.3},
        {"06-underwater-a", 285.3},  {"06-underwater-b", 311.3},  {"07-balloon-a", 345.3},
        {"07-balloon-b", 381.3},     {"08-pilstakeoff-a", 421.3}, {"08-pilstakeoff-b", 445.3},
        {"09-skate-a", 475.3},       {"09-skate-b", 509.3},
    };
    Capture::ShowRenderer renderer(false);
    renderer.startUp();
    const std::string rendererName = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const std::string recordPath = referenceDir + "renderer.txt";
    std::string note;
    if (TestSupport::updatingReferences()) {
        std::ofstream(recordPath) << rendererName << "\n";
    } else {
        const std::string recorded = firstLine(recordPath);
        if (recorded != rendererName)
            note = "; the references were made on \"" + (recorded.empty() ? "(no " + recordPath + ")" : recorded) +
                   "\", this is \"" + rendererName + "\": compare there, or regenerate and look at them";
    }
    for (const auto& frame : frames) {
        const double time = frame.beat * 60.0 / 163.0;
        EXPECT_EQ(renderer.render(time, 1.0 / 60.0), 0u) << "GL errors at " << time << " s";
        const auto rgb = renderer.read();
        EXPECT_TRUE(TestSupport::matchesReference(
            TestSupport::shrunk(rgb.data(), renderer.width(), renderer.height(), 3, 5, false),
            referenceDir + frame.name + ".png", 24, 1.0))
            << "at " << time << " s (beat " << frame.beat << ")" << note;
    }
    renderer.shutDown();
}
