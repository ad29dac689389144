#include "kestrane/GL.h"

#include "kestrane/FrameServices.h"

#include "kestrane/Context.h"

#include <cstdio>

namespace Kestrane {

namespace {
// A persistent error repeats every frame; after this many reports the rest
// are counted but not printed.
constexpr int maxReportedErrors = 100;
int reportedErrors = 0;
unsigned long seenErrors = 0;
}

void clear(float red, float green, float blue, float alpha, bool colour, bool depth, bool stencil)
{
    glClearColor(red, green, blue, alpha);
    GLbitfield mask = 0;
    if (colour)
        mask |= GL_COLOR_BUFFER_BIT;
    if (depth)
        mask |= GL_DEPTH_BUFFER_BIT;
    if (stencil)
        mask |= GL_STENCIL_BUFFER_BIT;
    glClear(mask);
}

void useScreenTarget()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    Window* window = Context::current ? Context::current->window : nullptr;
    if (window)
        glViewport(0, 0, window->width(), window->height());
}

unsigned checkError()
{
    GLenum code = glGetError();
    if (code == GL_NO_ERROR)
        return 0;
    ++seenErrors;
    if (reportedErrors < maxReportedErrors) {
        std::fprintf(stderr, "Kestrane Native Error: OpenGL native error: %x\n", code);
        if (++reportedErrors == maxReportedErrors)
            std::fprintf(stderr, "Kestrane Native Error: further OpenGL errors are not reported\n");
        std::fflush(stderr);
    }
    return code;
}

unsigned long errorCount()
{
    return seenErrors;
}

}  // namespace Kestrane
