// Immediate-mode vertex submission and the primitive-type table shared with
// the geometry streams.
//
// Use:
//   begin(type)                       starts a primitive (PrimitiveType below),
//                                     drawn with the shader programs bound now.
//   vertexAttribute(slot, v[4])       one attribute per the slot table; give the
//   vertexAttribute(slot, x, y, z, w) position (slot 0) last: it emits the vertex.
//   end()                             ends the primitive.
// Slots: 0 position, 2 texture coordinate unit 0, 3-9 units 1-7, 10 normal
// (x, y, z), 11 colour, 100-115 generic attributes 0-15; every other slot
// (1, 12-99, 116 and up, negatives) does nothing.
// primitiveMode(type) maps a PrimitiveType code to its GL mode; a code outside
// 0-4 is a fatal error naming the code.
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

void begin(int type);
void vertexAttribute(int slot, const float v[4]);
void vertexAttribute(int slot, float x, float y, float z, float w);
void end();

}  // namespace Kestrane
