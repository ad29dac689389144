// Code tables of the geometry streams: component types, index types, buffer
// usages and vertex semantics, with their GL meanings. Primitive types are
// Kestrane::PrimitiveType (kestrane/Immediate.h), shared with immediate mode.
//
// Use:
//   componentSize(ComponentType::Float) == 4,  componentTypeToGL(...)
//   indexSize(IndexType::UnsignedInt) == 4,    indexTypeToGL(...)
//   usageToGL(BufferUsage::StaticDraw)         GL_STATIC_DRAW; 0 is client memory
// A code outside its table is a programming error: the conversion ends the
// process through Kestrane::fatal naming the table and the code.
// Tangent and Binormal feed generic attributes 14 and 15 (the shader layer
// reads TANGENT and BINORMAL there); codes 17 and up feed generic attribute
// "code"; 1 and 14-16 bind nothing.
#pragma once

namespace KestraneExt {

namespace ComponentType {
enum : int { Byte = 0, Short = 1, Int = 2, Float = 3, Double = 4 };
}

namespace IndexType {
enum : int { UnsignedByte = 0, UnsignedShort = 1, UnsignedInt = 2 };
}

namespace BufferUsage {
enum : int {
    ClientMemory = 0,
    Dynamic = 1,      // particles: refilled every frame
    Dynamic2 = 2,
    DynamicCopy = 3,
    StaticDraw = 4,   // VXM and ZTX meshes, generated tangent streams
    StaticRead = 5,
    StaticCopy = 6,
};
}

namespace Semantic {
enum : int {
    Position = 0,
    TexCoord0 = 2,
    TexCoord1 = 3,
    TexCoord2 = 4,
    TexCoord3 = 5,
    TexCoord4 = 6,
    TexCoord5 = 7,
    TexCoord6 = 8,
    TexCoord7 = 9,
    Normal = 10,
    Color = 11,
    Binormal = 12,
    Tangent = 13,
    FirstGeneric = 17,
};
inline constexpr bool isTexCoord(int s) { return s >= TexCoord0 && s <= TexCoord7; }
}  // namespace Semantic

// Generic attribute indices that stand in for the coordinate-frame arrays.
inline constexpr int TangentAttribute = 14;
inline constexpr int BinormalAttribute = 15;

int componentSize(int componentType);
unsigned componentTypeToGL(int componentType);
bool isComponentType(int componentType);
int indexSize(int indexType);
unsigned indexTypeToGL(int indexType);
unsigned usageToGL(int usage);

}  // namespace KestraneExt
