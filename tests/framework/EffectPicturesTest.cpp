// The test scene rendered once plain and once through each effect, compared
// with the reference pictures in tests/framework/reference/ (a quarter of the
// size, box-filtered, so that small rasterisation differences average out):
// a wrong-but-plausible picture (a pass reading the wrong texture, a wrong
// constant) fails. After an intended change of an effect or the scene,
// regenerate the references and look at them:
//   VESSARA_UPDATE_REFERENCES=1 build/test_framework --gtest_filter='*EffectPictures*'
#include "FrameworkFixture.h"
#include "TestScene.h"

#include "support/TestSupport.h"
#include "vessara/Effects.h"

#include <stb_image_write.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

using namespace Vessara;
using namespace FrameworkTests;

namespace {

constexpr int Shrink = 4;         // reference pictures are 128 x 128
constexpr int ChannelTolerance = 24;
constexpr double MeanTolerance = 1.0;
const std::string ReferenceDir = "tests/framework/reference/";

// The element's colour, top row first, box-filtered down by Shrink; alpha is
// dropped (the runtime composes without blending) and written as 255.
TestSupport::Picture shrunk(Element& element)
{
    const auto pixels = pixelsOf(element);
    TestSupport::Picture picture;
    picture.width = element.width / Shrink;
    picture.height = element.height / Shrink;
    picture.rgba.assign(size_t(picture.width) * picture.height * 4, 255);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < Shrink; ++dy)
                    for (int dx = 0; dx < Shrink; ++dx) {
                        const int glY = element.height - 1 - (y * Shrink + dy);  // GL rows are bottom-up
                        sum += pixels[(size_t(glY) * element.width + x * Shrink + dx) * 4 + c];
                    }
                picture.rgba[(size_t(y) * picture.width + x) * 4 + c] = uint8_t(sum / (Shrink * Shrink));
            }
    return picture;
}

bool writePng(const std::string& path, const TestSupport::Picture& p)
{
    return stbi_write_png(path.c_str(), p.width, p.height, 4, p.rgba.data(), p.width * 4) != 0;
}

void expectReference(Element& element, const std::string& name)
{
    const TestSupport::Picture got = shrunk(element);
    const std::string path = ReferenceDir + name + ".png";
    if (std::getenv("VESSARA_UPDATE_REFERENCES")) {
        EXPECT_TRUE(writePng(path, got)) << path;
        return;
    }
    TestSupport::Picture want;
    std::string error;
    ASSERT_TRUE(TestSupport::readPng(path, want, &error)) << error;
    const auto match = TestSupport::picturesMatch(got, want, ChannelTolerance, MeanTolerance);
    if (!match) {
        const std::string saved = std::filesystem::temp_directory_path() / ("vessara-" + name + ".png");
        writePng(saved, got);
        ADD_FAILURE() << name << ": " << match.message() << " (picture written to " << saved << ")";
    }
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
