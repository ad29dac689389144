// Fixture of the standard-drawable tests: a fresh Demo per test on the
// process's GL context, with shaders from vessara_data/ (compiled once per
// process), test textures and test shaders put straight into its caches, and
// a plain drawable to call the scene operations on.
#pragma once

#include "support/GLTest.h"

#include "kestrane/Shader.h"
#include "kestrane/Texture.h"
#include "vessara/Demo.h"
#include "vessara/Drawable.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace StdDrawTests {

inline constexpr int ScreenWidth = 800;
inline constexpr int ScreenHeight = 600;
inline constexpr float ScreenAspect = 800.0f / 600.0f;

using Colour = Rgba8;

// Positions in the tests' own shaders: StateComplete only, with the texture
// coordinate as the colour, or the "color" parameter as is.
extern const char* const TexCoordShaderSource;
extern const char* const ColorShaderSource;

class StdDrawTest : public GLTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The vessara_data/ shader of that file name, cached in the demo.
    Kestrane::CompleteShader* useDataShader(const std::string& name);
    // A shader compiled from source (once per process and name), cached in
    // the demo under name.
    Kestrane::CompleteShader* cacheShader(const std::string& name, const char* source);
    // A texture of w x h RGBA pixels (bottom row first), cached under name;
    // the demo's textures live as long as the test.
    Kestrane::Texture* cacheTexture(const std::string& name, int w, int h,
                                    const std::vector<Colour>& pixels,
                                    Kestrane::TextureFilter filter = Kestrane::Nearest);
    // Clears the window, resets render state and the three matrices.
    void clearScreen(float r = 0, float g = 0, float b = 0, float a = 1);
    // A cleared screen, a 90 degree projection and the camera 2 units in
    // front of the origin, looking at it: a square of half-size 1 there
    // covers (250..550, 150..450).
    void restart();
    // Perspective projection on the demo's camera block and State.
    void perspective(float fovDegrees, float aspect = ScreenAspect, float nearPlane = 0.1f,
                     float farPlane = 1000.0f);

    std::unique_ptr<Vessara::Demo> demo;
    std::unique_ptr<Vessara::Drawable> scene;  // scene operations
    std::vector<std::unique_ptr<Kestrane::Texture>> ownedTextures;
};

}  // namespace StdDrawTests
