// bench_effects: milliseconds of each post-processing effect on the 512 x 512
// test scene, beside the cost of the same full-screen passes drawn with raw GL
// and a one-texture shader (the fill-rate floor), and their ratio. Run from the
// repository root (it compiles the shaders in vessara_data/):
//   build/bench_effects [repetitions]
#include <epoxy/gl.h>

#include "FrameworkFixture.h"
#include "TestScene.h"

#include "vessara/Effects.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace Vessara;
using namespace FrameworkTests;

namespace {

using Clock = std::chrono::steady_clock;

template <typename Fn>
double millisecondsPer(int repetitions, Fn fn)
{
    fn();  // first use: links shader pairs, touches textures
    glFinish();
    const auto start = Clock::now();
    for (int i = 0; i < repetitions; ++i)
        fn();
    glFinish();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / repetitions;
}

GLuint compile(GLenum stage, const char* source)
{
    GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        std::fprintf(stderr, "bench_effects: floor shader does not compile\n");
        std::exit(1);
    }
    return shader;
}

// Plain copy passes with raw GL: two targets per size, ping-ponged.
class Floor {
public:
    Floor()
    {
        program = glCreateProgram();
        glAttachShader(program, compile(GL_VERTEX_SHADER,
                                        "#version 120\nvarying vec2 uv;\n"
                                        "void main() { uv = gl_MultiTexCoord0.xy; gl_Position = gl_Vertex; }\n"));
        glAttachShader(program, compile(GL_FRAGMENT_SHADER,
                                        "#version 120\nuniform sampler2D tex0; varying vec2 uv;\n"
                                        "void main() { gl_FragColor = texture2D(tex0, uv); }\n"));
        glLinkProgram(program);
    }

    // One full-screen pass into a size x size target, reading the other one.
    void pass(int size)
    {
        Targets& t = targetsOf(size);
        glBindFramebuffer(GL_FRAMEBUFFER, t.framebuffer[t.next]);
        glViewport(0, 0, size, size);
        glUseProgram(program);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, t.texture[1 - t.next]);
        glDisable(GL_DEPTH_TEST);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0); glVertex2f(-1, -1);
        glTexCoord2f(1, 0); glVertex2f(1, -1);
        glTexCoord2f(1, 1); glVertex2f(1, 1);
        glTexCoord2f(0, 1); glVertex2f(-1, 1);
        glEnd();
        t.next = 1 - t.next;
    }

    void done()
    {
        glUseProgram(0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

private:
    struct Targets {
        int size = 0;
        GLuint texture[2] = {};
        GLuint framebuffer[2] = {};
        int next = 0;
    };

    Targets& targetsOf(int size)
    {
        for (Targets& t : targets)
            if (t.size == size)
                return t;
        Targets t;
        t.size = size;
        std::vector<unsigned char> pixels(size_t(size) * size * 4, 100);
        glGenTextures(2, t.texture);
        glGenFramebuffers(2, t.framebuffer);
        for (int i = 0; i < 2; ++i) {
            glBindTexture(GL_TEXTURE_2D, t.texture[i]);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
            glBindFramebuffer(GL_FRAMEBUFFER, t.framebuffer[i]);
            glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, t.texture[i], 0);
        }
        targets.push_back(t);
        return targets.back();
    }

    GLuint program = 0;
    std::vector<Targets> targets;
};

struct Case {
    std::string name;
    std::vector<int> passSizes;  // the full-screen passes the effect draws, by target size
    std::function<void(Element&)> run;
};

std::vector<int> repeat(int count, int size)
{
    return std::vector<int>(size_t(count), size);
}

}  // namespace

int main(int argc, char** argv)
{
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    Demo& demo = sharedDemo();
    auto* scene = new TestScene(&demo, 512);

    const float black[4] = {0, 0, 0, 1};
    const float edge[4] = {0.7f, 0.7f, 1.0f, 1.0f};
    const float none[4] = {0, 0, 0, 0};
    const float fade[4] = {0, 0, 0, 0.5f};
    std::vector<int> glowPasses = repeat(9, 64);  // copy down, eight blur passes
    glowPasses.push_back(512);                    // the additive pass
    const std::vector<Case> cases = {
        {"copyTarget", repeat(1, 512), [](Element& e) { copyTarget(e, *e.scratchPool->at(512)); }},
        {"findEdges", repeat(2, 512), [&](Element& e) { findEdges(e, 5.0f, edge, none); }},
        {"outlineEdges", repeat(2, 512), [&](Element& e) { outlineEdges(e, 500.0f, black); }},
        {"distortSine", repeat(2, 512), [](Element& e) { distortSine(e, 10, 10, 0.01f, 0.01f, 0, 0); }},
        {"directionalBlur", repeat(4, 512), [](Element& e) { directionalBlur(e, 1.0f, 0.0f, 2.0f, 1.0f); }},
        {"blur", repeat(8, 512), [](Element& e) { blur(e, 1.0f, 2.0f, 1.0f); }},
        {"glow 64", glowPasses, [](Element& e) { glow(e, 64, 0.5f, 2.0f, 1.0f, 0.9f); }},
        {"depthOfField 2", repeat(4, 512), [](Element& e) { depthOfField(e, 2, 0.99f, 0.5f, 0, 2, 96, 4); }},
        {"colorOverlay", repeat(1, 512), [&](Element& e) { e.bind(); colorOverlay(e, fade); }},
    };

    Floor floor;
    std::printf("%-16s %7s %10s %10s %7s\n", "effect (512x512)", "passes", "effect ms", "floor ms", "ratio");
    for (const Case& c : cases) {
        scene->render();
        const double effect = millisecondsPer(repetitions, [&] { c.run(*scene); });
        const double plain = millisecondsPer(repetitions, [&] {
            for (int size : c.passSizes)
                floor.pass(size);
        });
        floor.done();
        std::printf("%-16s %7zu %10.3f %10.3f %7.2f\n", c.name.c_str(), c.passSizes.size(), effect, plain,
                    effect / plain);
    }
    return 0;
}
