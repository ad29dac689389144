// Where vertex data enters the shaders, by attribute slot: the one place that
// knows how this GL dialect feeds a vertex program's inputs. Immediate mode
// and the geometry streams both go through it.
//
// Slots (the immediate-mode codes): 0 position, 2 texture coordinate unit 0,
// 3-9 units 1-7, 10 normal (x, y, z), 11 colour, 100-115 generic attributes
// 0-15. isVertexInputSlot tells which codes are slots; every call ignores the
// others.
//
// Use:
//   enableVertexArray(slot, components, glType, stride, pointer)
//                              per-vertex values from the bound GL_ARRAY_BUFFER
//                              (pointer is then an offset) or client memory;
//   disableVertexArray(slot)   back to the slot's constant value;
//   setVertexConstant(slot, v) the value a slot has while no array feeds it
//                              (the position, slot 0, always comes from an array).
//
// The desktop's compatibility context reads position, texture coordinates,
// normal and colour from its fixed attributes (gl_Vertex, gl_MultiTexCoordN,
// gl_Normal, gl_Color, which is what the shader compiler's GLSL 1.20 reads),
// and generic attributes from their indices.
#pragma once

namespace Kestrane {

bool isVertexInputSlot(int slot);
void enableVertexArray(int slot, int components, unsigned type, int stride, const void* pointer);
void disableVertexArray(int slot);
void setVertexConstant(int slot, const float v[4]);

}  // namespace Kestrane
