#include <epoxy/gl.h>

#include "GLTest.h"

#include "kestrane/FrameServices.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

Kestrane::Context& testContext()
{
    static Kestrane::Context* context = [] {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        return new Kestrane::Context(800, 600, 24, 8, 0, 0);
    }();
    return *context;
}

Rgba8 readPixel(int x, int y)
{
    Rgba8 pixel{0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &pixel);
    return pixel;
}

std::vector<uint8_t> readPixels(int x, int y, int w, int h)
{
    std::vector<uint8_t> pixels(static_cast<size_t>(w > 0 ? w : 0) * (h > 0 ? h : 0) * 4);
    if (pixels.empty())
        return pixels;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

::testing::AssertionResult pixelIs(int x, int y, Rgba8 c, int tolerance)
{
    const Rgba8 p = readPixel(x, y);
    auto near = [tolerance](int a, int b) { return a - b <= tolerance && b - a <= tolerance; };
    if (near(p.r, c.r) && near(p.g, c.g) && near(p.b, c.b))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is (" << int(p.r) << ", " << int(p.g)
                                         << ", " << int(p.b) << "), expected (" << int(c.r) << ", " << int(c.g)
                                         << ", " << int(c.b) << ")";
}

namespace {

// GL errors as the driver raises them. The engine's own checkError() drains
// and prints pending errors as it goes, so glGetError() at the end of a test
// would miss most of them; the debug output sees each one when it happens.
std::string raisedErrors;

void GLAPIENTRY onDebugMessage(GLenum, GLenum type, GLuint, GLenum, GLsizei, const GLchar* message, const void*)
{
    if (type == GL_DEBUG_TYPE_ERROR && raisedErrors.size() < 4096)
        raisedErrors += std::string(message) + "\n";
}

}  // namespace

std::string glErrors()
{
    std::string errors;
    char text[16];
    // A bounded loop: a lost context reports errors for ever.
    for (int i = 0; i < 16; ++i) {
        const GLenum error = glGetError();
        if (error == GL_NO_ERROR)
            break;
        std::snprintf(text, sizeof text, "%s0x%04x", errors.empty() ? "" : " ", error);
        errors += text;
    }
    if (!raisedErrors.empty()) {
        errors += (errors.empty() ? "" : "\n") + raisedErrors;
        raisedErrors.clear();
    }
    return errors;
}

void GLTest::SetUp()
{
    Kestrane::Context& context = testContext();
    SDL_GL_MakeCurrent(context.window->sdlWindow(), static_cast<SDL_GLContext>(context.glContext));
    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDebugMessageCallback(onDebugMessage, nullptr);
    EXPECT_EQ(glErrors(), "") << "GL error pending before the test";
    Kestrane::useScreenTarget();
    // Every test starts from GL's own current vertex values and colour
    // clamping, whatever the test before it drew with.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glNormal3f(0.0f, 0.0f, 1.0f);
    GLint attributes = 0;
    glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &attributes);
    for (GLint i = 1; i < attributes; ++i)
        glVertexAttrib4f(GLuint(i), 0.0f, 0.0f, 0.0f, 1.0f);
    glClampColor(GL_CLAMP_READ_COLOR, GL_FIXED_ONLY);
    glClampColor(GL_CLAMP_VERTEX_COLOR, GL_TRUE);
    glClampColor(GL_CLAMP_FRAGMENT_COLOR, GL_FIXED_ONLY);
}

void GLTest::TearDown()
{
    EXPECT_EQ(glErrors(), "") << "GL error raised by the test";
}
