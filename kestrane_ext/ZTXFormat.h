// Constants and small blocks of the ZTX scene format shared by the reader
// (Zentrix::Scene) and the writer (writeZTX).
//
// File layout, little-endian, no padding: "ZTX115", int materialCount,
// material records, int nodeCount, node records (each followed by its
// children, depth first). Strings are an int length and that many bytes.
// Node types: 0 and 4 plain, 1 mesh, 2 light, 3 camera, 5 the fifth kind;
// any other type makes a file damaged.
#pragma once

#include "kestrane/Float3.h"

#include <cstdint>
#include <string>

namespace Zentrix {

inline constexpr char VersionTag[] = "ZTX115";  // six bytes in the file
inline constexpr int VersionTagLength = 6;

enum NodeType : std::int32_t {
    PlainNode = 0,
    MeshNodeType = 1,
    LightNodeType = 2,
    CameraNodeType = 3,
    PlainNode4 = 4,
    Kind5Node = 5,
};
inline constexpr bool isValidNodeType(std::int32_t t) { return t >= 0 && t <= 5; }

// Light block (30 bytes): stored and written back, not interpreted.
struct LightBlock {
    Kestrane::Float3 color;
    float value1 = 0.0f;
    float value2 = 0.0f;
    float value3 = 0.0f;
    std::uint8_t flag1 = 0;
    std::uint8_t flag2 = 0;
    float value4 = 0.0f;
};

// Camera block: the target node's name, clip planes and vertical field of
// view in degrees.
struct CameraBlock {
    std::string targetName;
    float nearPlane = 1.0f;
    float farPlane = 1000.0f;
    float fieldOfView = 45.0f;
};

}  // namespace Zentrix
