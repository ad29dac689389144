#include <epoxy/gl.h>

#include "kestrane/Immediate.h"

#include "kestrane/Messages.h"
#include "kestrane/cg/Cg.h"

#include <string>

namespace Kestrane {

unsigned primitiveMode(int type)
{
    static const GLenum modes[] = {GL_POINTS, GL_LINES, GL_LINE_STRIP, GL_TRIANGLES, GL_QUADS};
    if (type < 0 || type > 4)
        fatal("Kestrane Error", "Primitive type " + std::to_string(type) + " is not one of 0-4 "
                                "(points, lines, line strip, triangles, quads)");
    return modes[type];
}

void begin(int type)
{
    const GLenum mode = primitiveMode(type);
    // Links and makes current the bound shader pair, with its parameter values.
    cgGLPrepareDraw();
    glBegin(mode);
}

void vertexAttribute(int slot, const float v[4])
{
    if (slot == 0)
        glVertex4fv(v);
    else if (slot == 2)
        glTexCoord4fv(v);
    else if (slot >= 3 && slot <= 9)
        glMultiTexCoord4fv(GL_TEXTURE1 + (slot - 3), v);
    else if (slot == 10)
        glNormal3fv(v);
    else if (slot == 11)
        glColor4fv(v);
    else if (slot >= 100 && slot <= 115)
        glVertexAttrib4fv(slot - 100, v);
}

void vertexAttribute(int slot, float x, float y, float z, float w)
{
    const float v[4] = {x, y, z, w};
    vertexAttribute(slot, v);
}

void end()
{
    glEnd();
}

}  // namespace Kestrane
