// Prints the CPU cost of what a drawable does per draw with its shader: one
// bind, the six-matrix state upload, three parameter sets, and the draw-time
// upload of those values (cgGLPrepareDraw). Two shaders alternate so that
// every bind switches programs. Runs headless (SDL offscreen driver).
#include <epoxy/gl.h>

#include "kestrane/Context.h"
#include "kestrane/Shader.h"
#include "kestrane/State.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

const char* const source = R"(
float4x4 StateWorld;
float4x4 StateView;
float4x4 StateProjection;
float4x4 StateWorldView;
float4x4 StateViewProjection;
float4x4 StateComplete;
float alpha;
float4 texelSize;
float4 cameraPosition;
struct VertexOut {
    float4 position : POSITION;
    float4 color : COLOR0;
};
VertexOut vsMain(float4 position : POSITION)
{
    VertexOut result;
    float4 world = mul(StateWorld, position);
    result.position = mul(StateViewProjection, world) + 0.0001 * mul(StateProjection,
        mul(StateView, world)) + 0.0001 * mul(StateComplete, position)
        + 0.0001 * mul(StateWorldView, position);
    result.color = cameraPosition * texelSize;
    return result;
}
float4 psMain(float4 color : COLOR0) : COLOR { return color * alpha; }
)";

double microsecondsPerIteration(Kestrane::CompleteShader& a, Kestrane::CompleteShader& b,
                                int iterations, bool prepare) {
    const float texel[4] = {1.0f / 512, 1.0f / 512, 0, 0};
    const float camera[4] = {1, 2, 3, 1};
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < iterations; ++i) {
        Kestrane::CompleteShader& shader = (i & 1) ? b : a;
        shader.bind();
        shader.setFloat("alpha", 0.5f + 0.001f * static_cast<float>(i & 255));
        shader.setFloat4("texelSize", texel);
        shader.setFloat4("cameraPosition", camera);
        Kestrane::State::translateWorld(0.0f, 0.0f, 0.0001f);
        shader.uploadState();
        if (prepare) cgGLPrepareDraw();
    }
    glFinish();
    const std::chrono::duration<double, std::micro> elapsed =
        std::chrono::steady_clock::now() - start;
    return elapsed.count() / iterations;
}

}  // namespace

int main() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    Kestrane::Context context(800, 600, 24, 8, 0, 0);
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    Kestrane::CompleteShader a(source, "vsMain", "psMain");
    Kestrane::CompleteShader b(source, "vsMain", "psMain");
    Kestrane::State::resetAll();
    Kestrane::State::setProjection(60.0f, 4.0f / 3.0f, 0.5f, 100.0f);
    Kestrane::State::setView(0, 2, 8, 0, 0, 0, 0, 1, 0);

    microsecondsPerIteration(a, b, 200, true);  // links both pairs, warms caches
    const int iterations = 20000;
    const double recordOnly = microsecondsPerIteration(a, b, iterations, false);
    const double withDraw = microsecondsPerIteration(a, b, iterations, true);
    std::printf("renderer: %s\n", renderer ? renderer : "(unknown)");
    std::printf("bind + six-matrix upload + three sets, recorded:          %.2f us\n",
                recordOnly);
    std::printf("the same plus draw-time link lookup and uniform upload:   %.2f us\n", withDraw);
    return 0;
}
