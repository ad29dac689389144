// Immediate-mode vertex submission and the primitive-type table shared with
// the geometry streams.
//
// Use:
//   begin(type)                       starts a primitive (PrimitiveType below),
//                                     drawn with the shader programs bound at end.
//   vertexAttribute(slot, v[4])       one attribute per the slot table; give the
//   vertexAttribute(slot, x, y, z, w) position (slot 0) last: it emits the vertex.
//   end()                             ends the primitive and draws it.
// The vertices are gathered on the CPU and drawn from one vertex buffer of
// the engine's own (VertexInput.h feeds the slots, drawArrays draws), the
// same on every GL dialect; quads are drawn as two triangles each (a b c, a c d), and the
// vertices of an unfinished quad are dropped. A slot given outside a
// primitive is the constant value later drawings read; one given inside is
// per vertex, and its last value stays current after end. begin inside a
// primitive and end without begin are fatal errors.
// Slots: 0 position, 2 texture coordinate unit 0, 3-9 units 1-7, 10 normal
// (x, y, z), 11 colour, 100-115 generic attributes 0-15; every other slot
// (1, 12-99, 116 and up, negatives) does nothing.
// primitiveMode(type) maps a PrimitiveType code to the GL mode it is drawn
// with (GL_TRIANGLES for quads, which drawArrays splits); a code outside 0-4
// is a fatal error naming the code.
#pragma once

namespace Kestrane {

enum PrimitiveType : int {
    Points = 0,
    Lines = 1,
    LineStrip = 2,
    Triangles = 3,
    Quads = 4,
};

unsigned primitiveMode(int type);

// Draws count vertices from first of the arrays enabled now (VertexInput.h),
// quads as two triangles each. The bound shaders must be prepared already.
void drawArrays(int type, int first, int count);

void begin(int type);
void vertexAttribute(int slot, const float v[4]);
void vertexAttribute(int slot, float x, float y, float z, float w);
void end();

}  // namespace Kestrane
