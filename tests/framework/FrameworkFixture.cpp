#include <epoxy/gl.h>

#include "FrameworkFixture.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Shader.h"
#include "kestrane/State.h"
#include "vessara/DataPreload.h"
#include "vessara/ResourceProxies.h"

namespace FrameworkTests {

namespace {

const char* const effectShaders[] = {
    "vessara_texture.cg",          "vessara_color.cg",           "vessara_find_edges.cg",
    "vessara_outline_edges.cg",    "vessara_distort_sine.cg",    "vessara_directional_blur.cg",
    "vessara_depth_of_field.cg",
};

}  // namespace

Vessara::Demo& sharedDemo()
{
    static Vessara::Demo* demo = [] {
        testContext();
        auto* made = new Vessara::Demo();
        for (const char* name : effectShaders)
            made->shaders.cache[name] = made->shaders.load(std::string("vessara_data/") + name);
        made->shaders[("vessara_texture.cg")]->setFloat("alpha", 1.0f);
        Vessara::buildPools(*made);
        return made;
    }();
    return *demo;
}

Vessara::Element* newElement(int width, int height, const std::string& name)
{
    return new Vessara::Element(width, height, &sharedDemo(), name);
}

void fill(Vessara::Element& element, float r, float g, float b, float a)
{
    element.bind();
    Kestrane::clear(r, g, b, a, true, true, true);
}

std::vector<uint8_t> pixelsOf(Vessara::Element& element)
{
    element.bind();
    return readPixels(0, 0, element.width, element.height);
}

Rgba8 pixelOf(Vessara::Element& element, int x, int y)
{
    element.bind();
    return readPixel(x, y);
}

unsigned boundFramebuffer()
{
    GLint bound = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
    return unsigned(bound);
}

::testing::AssertionResult near(const Rgba8& p, Colour c, int tolerance)
{
    auto close = [tolerance](int a, int b) { return a - b <= tolerance && b - a <= tolerance; };
    if (close(p.r, c.r) && close(p.g, c.g) && close(p.b, c.b) && close(p.a, c.a))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel (" << int(p.r) << ", " << int(p.g) << ", " << int(p.b) << ", " << int(p.a)
           << "), expected (" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ", "
           << int(c.a) << ")";
}

void FrameworkTest::SetUp()
{
    GLTest::SetUp();
    sharedDemo();
    Kestrane::State::resetRenderState();
    Kestrane::State::resetAll();
}

void FrameworkTest::TearDown()
{
    Kestrane::useScreenTarget();
    Kestrane::State::resetRenderState();
    Kestrane::State::resetAll();
    GLTest::TearDown();
}

}  // namespace FrameworkTests
