// Fixture of the scene tests: the whole production loaded once per test
// process on the process's GL context (data/ and vessara_data/ cached, the
// scratch pools built, the ten timeline entries with their scenes, every
// drawable prepared), and
// helpers that render one frame of the show and read the screen back.
//
// Use:
//   class T : public SceneTests::SceneTest     GLTest with the production loaded
//   Prod::Prod& prod = SceneTests::sharedProd();
//   auto frame = SceneTests::renderAt(6.0f, 0.1f);     the 800 x 600 screen, RGBA
//   SceneTests::meanLevel(frame)                        0 (black) .. 255 (white)
//   writeScene("a.ztx", data)      in a SceneTest: a ZTX file in the test's own folder
// Needs the generated content in data/ (the forge_content target makes it).
#pragma once

#include "support/GLTest.h"
#include "support/TestSupport.h"

#include "kestrane_ext/ZTXWriter.h"

#include "prod/Prod.h"

#include <cstdint>
#include <string>
#include <vector>

namespace SceneTests {

Prod::Prod& sharedProd();

// Renders the show at `time` with the spectrum all zero except bin 1 (the
// scenes' bass level), then reads the whole screen (rows bottom-up, RGBA8).
std::vector<std::uint8_t> renderAt(float time, float bass = 0.0f, float frameDelta = 1.0f / 60.0f);

// Mean of the red, green and blue values of a frame.
double meanLevel(const std::vector<std::uint8_t>& rgba);

// GL fixture with the production loaded and a fresh folder.
class SceneTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        sharedProd();
    }
    std::string writeScene(const std::string& name, const KestraneExt::ZTXSceneData& data)
    {
        const std::string path = dir.file(name);
        std::string error;
        EXPECT_TRUE(KestraneExt::writeZTX(path, data, &error)) << error;
        return path;
    }
    TestSupport::TempDir dir;
};

// Number of bytes in which two frames differ by more than `tolerance`.
std::size_t differingBytes(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b,
                           int tolerance = 0);

}  // namespace SceneTests
