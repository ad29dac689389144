// WebGL 2 has generic vertex attributes only. The shader compiler's GLSL ES
// reads each varying input at a fixed location, the conventional aliasing of
// Cg's semantics: position 0, normal 2, colour 3, texture coordinates 8-15;
// generic attribute n is location n.
#include "kestrane/GL.h"

#include "kestrane/VertexInput.h"

namespace Kestrane {

namespace {

bool isTexCoordSlot(int slot) { return slot >= 2 && slot <= 9; }
bool isGenericSlot(int slot) { return slot >= 100 && slot <= 115; }

GLuint location(int slot)
{
    if (slot == 0)
        return 0;
    if (isTexCoordSlot(slot))
        return static_cast<GLuint>(8 + slot - 2);
    if (slot == 10)
        return 2;
    if (slot == 11)
        return 3;
    return static_cast<GLuint>(slot - 100);
}

}  // namespace

bool isVertexInputSlot(int slot)
{
    return slot == 0 || isTexCoordSlot(slot) || slot == 10 || slot == 11 || isGenericSlot(slot);
}

void enableVertexArray(int slot, int components, unsigned type, int stride, const void* pointer)
{
    if (!isVertexInputSlot(slot))
        return;
    // Colours given as bytes are normalized to 0..1, as the desktop's colour
    // array does.
    const GLboolean normalized = (slot == 11 && type == GL_UNSIGNED_BYTE) ? GL_TRUE : GL_FALSE;
    glEnableVertexAttribArray(location(slot));
    glVertexAttribPointer(location(slot), slot == 10 ? 3 : components, type, normalized, stride, pointer);
}

void disableVertexArray(int slot)
{
    if (isVertexInputSlot(slot))
        glDisableVertexAttribArray(location(slot));
}

void setVertexConstant(int slot, const float v[4])
{
    if (slot != 0 && isVertexInputSlot(slot))
        glVertexAttrib4fv(location(slot), v);
}

}  // namespace Kestrane
