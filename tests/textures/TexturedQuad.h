// Test helper: draws a texture with fixed-function texturing (no shader) over
// a rectangle of the bound frame buffer, so sampling is checked without the
// shader runtime.
#pragma once

#include <epoxy/gl.h>

#include "kestrane/Texture.h"

#include <initializer_list>

inline void drawTextured(const Kestrane::Texture& texture, int x, int y, int w, int h,
                         float s0 = 0, float t0 = 0, float s1 = 1, float t1 = 1)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glUseProgram(0);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_SCISSOR_TEST);
    for (GLenum mode : {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW}) {
        glMatrixMode(mode);
        glLoadIdentity();
    }
    glViewport(x, y, w, h);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    texture.bind();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex2f(-1, -1);
    glTexCoord2f(s1, t0);
    glVertex2f(1, -1);
    glTexCoord2f(s1, t1);
    glVertex2f(1, 1);
    glTexCoord2f(s0, t1);
    glVertex2f(-1, 1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
}
