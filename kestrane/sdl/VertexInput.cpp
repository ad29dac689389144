#include "kestrane/GL.h"

#include "kestrane/VertexInput.h"

namespace Kestrane {

namespace {

bool isTexCoordSlot(int slot) { return slot >= 2 && slot <= 9; }
bool isGenericSlot(int slot) { return slot >= 100 && slot <= 115; }

void selectClientTexture(int slot) {
    glClientActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(slot - 2));
}

}  // namespace

bool isVertexInputSlot(int slot) {
    return slot == 0 || isTexCoordSlot(slot) || slot == 10 || slot == 11 || isGenericSlot(slot);
}

void enableVertexArray(int slot, int components, unsigned type, int stride, const void* pointer) {
    if (slot == 0) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(components, type, stride, pointer);
    } else if (isTexCoordSlot(slot)) {
        selectClientTexture(slot);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(components, type, stride, pointer);
    } else if (slot == 10) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(type, stride, pointer);
    } else if (slot == 11) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(components, type, stride, pointer);
    } else if (isGenericSlot(slot)) {
        const GLuint index = static_cast<GLuint>(slot - 100);
        glEnableVertexAttribArray(index);
        glVertexAttribPointer(index, components, type, GL_FALSE, stride, pointer);
    }
}

void disableVertexArray(int slot) {
    if (slot == 0) {
        glDisableClientState(GL_VERTEX_ARRAY);
    } else if (isTexCoordSlot(slot)) {
        selectClientTexture(slot);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    } else if (slot == 10) {
        glDisableClientState(GL_NORMAL_ARRAY);
    } else if (slot == 11) {
        glDisableClientState(GL_COLOR_ARRAY);
    } else if (isGenericSlot(slot)) {
        glDisableVertexAttribArray(static_cast<GLuint>(slot - 100));
    }
}

void setVertexConstant(int slot, const float v[4]) {
    if (slot == 2) {
        glTexCoord4fv(v);
    } else if (isTexCoordSlot(slot)) {
        glMultiTexCoord4fv(GL_TEXTURE1 + static_cast<GLenum>(slot - 3), v);
    } else if (slot == 10) {
        glNormal3fv(v);
    } else if (slot == 11) {
        glColor4fv(v);
    } else if (isGenericSlot(slot)) {
        glVertexAttrib4fv(static_cast<GLuint>(slot - 100), v);
    }
}

}  // namespace Kestrane
