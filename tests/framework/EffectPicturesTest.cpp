// The test scene rendered once plain and once through each effect, compared
// with the reference pictures in tests/framework/reference/ (a quarter of the
// size, box-filtered, so that small rasterisation differences average out):
// a wrong-but-plausible picture (a pass reading the wrong texture, a wrong
// constant) fails. After an intended change of an effect or the scene,
// regenerate the references and look at them:
//   VESSARA_UPDATE_REFERENCES=1 build/test_gl --gtest_filter='*EffectPictures*'
#include "FrameworkFixture.h"
#include "TestScene.h"

#include "support/TestSupport.h"
#include "vessara/Effects.h"

#include <functional>
#include <string>

using namespace Vessara;
using namespace FrameworkTests;

namespace {

void expectReference(Element& element, const std::string& name)
{
    const auto pixels = pixelsOf(element);  // GL rows are bottom-up; 128 x 128 references
    EXPECT_TRUE(TestSupport::matchesReference(
        TestSupport::shrunk(pixels.data(), element.width, element.height, 4, 4, true),
        "tests/framework/reference/" + name + ".png", 24, 1.0));
}

}  // namespace

TEST_F(FrameworkTest, EffectPicturesOfTheTestSceneMatchTheReferences)
{
    static TestScene* scene = new TestScene(&sharedDemo());
    const float black[4] = {0, 0, 0, 1};
    const float edge[4] = {0.7f, 0.7f, 1.0f, 1.0f};
    const float none[4] = {0, 0, 0, 0};
    const float fade[4] = {0, 0, 0, 0.6f};
    const std::vector<std::pair<std::string, std::function<void()>>> effects = {
        {"00-plain", [] {}},
        {"01-find-edges", [&] { findEdges(*scene, 5.0f, edge, none); }},
        {"02-outline-edges", [&] { outlineEdges(*scene, 500.0f, black); }},
        {"03-distort-sine", [&] { distortSine(*scene, 10.0f, 10.0f, 0.01f, 0.01f, 0.5f, 1.0f); }},
        {"04-directional-blur", [&] { directionalBlur(*scene, 2.0f, 0.0f, 2.0f, 1.0f); }},
        {"05-blur", [&] { blur(*scene, 1.0f, 2.0f, 1.0f); }},
        {"06-glow", [&] { glow(*scene, 64, 0.5f, 2.0f, 1.0f, 0.9f); }},
        {"07-depth-of-field", [&] {
             depthOfField(*scene, 2, 0.9f, 0.5f, 0.0f, 2.0f, 30.0f, 3.0f);  // focus on the blue box
             depthOfField(*scene, 2, 0.9f, 0.0f, 0.5f, 2.0f, 30.0f, 3.0f);
         }},
        {"08-color-overlay", [&] { colorOverlay(*scene, fade); }},
    };
    for (const auto& [name, run] : effects) {
        scene->render();
        run();
        expectReference(*scene, name);
    }
}
