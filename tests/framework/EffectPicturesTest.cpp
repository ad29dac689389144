// The test scene rendered once plain and once through each effect, saved as
// PNG files under /tmp/vessara-effects/ for a person to look at. The test
// itself checks that every effect changed the picture and that none left it
// black or blank.
#include "FrameworkFixture.h"
#include "TestScene.h"

#include "vessara/Effects.h"

#include <stb_image_write.h>

#include <filesystem>
#include <functional>
#include <string>

using namespace Vessara;
using namespace FrameworkTests;

namespace {

void save(Element& element, const std::string& name)
{
    std::filesystem::create_directories("/tmp/vessara-effects");
    const auto pixels = pixelsOf(element);
    // The screen shows colour only (the runtime composes without blending):
    // drop alpha, and write GL's bottom-up rows top-down.
    std::vector<uint8_t> rgb;
    rgb.reserve(size_t(element.width) * element.height * 3);
    for (int y = element.height - 1; y >= 0; --y)
        for (int x = 0; x < element.width; ++x)
            for (int c = 0; c < 3; ++c)
                rgb.push_back(pixels[(size_t(y) * element.width + x) * 4 + c]);
    const std::string path = "/tmp/vessara-effects/" + name + ".png";
    stbi_write_png(path.c_str(), element.width, element.height, 3, rgb.data(), element.width * 3);
}

// Mean absolute difference per channel, 0..255.
double difference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += std::abs(int(a[i]) - int(b[i]));
    return sum / double(a.size());
}

double mean(const std::vector<uint8_t>& a)
{
    double sum = 0;
    for (size_t i = 0; i < a.size(); i += 4)
        sum += a[i] + a[i + 1] + a[i + 2];
    return sum / double(a.size() / 4 * 3);
}

}  // namespace

TEST_F(FrameworkTest, EffectPicturesOfTheTestScene)
{
    static TestScene* scene = new TestScene(&sharedDemo());
    scene->render();
    const auto plain = pixelsOf(*scene);
    save(*scene, "00-plain");
    EXPECT_GT(mean(plain), 60.0);

    const float black[4] = {0, 0, 0, 1};
    const float edge[4] = {0.7f, 0.7f, 1.0f, 1.0f};
    const float none[4] = {0, 0, 0, 0};
    const float fade[4] = {0, 0, 0, 0.6f};
    const std::vector<std::pair<std::string, std::function<void()>>> effects = {
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
        const auto after = pixelsOf(*scene);
        save(*scene, name);
        EXPECT_GT(difference(plain, after), 0.5) << name;
        EXPECT_GT(mean(after), 5.0) << name;
    }
}
