// Writes ZTX115 scene files: materials and a tree of plain, mesh, light and
// camera nodes with key-framed position, rotation and scale tracks. Used by
// the content tool and by the scene loader's tests.
//
// Use:
//   ZTXSceneData scene;
//   scene.materials.push_back({.name = "skin", .textureMap = "skin.jpg"});
//   ZTXNodeData& cam = scene.nodes.emplace_back();
//   cam.type = Zentrix::CameraNodeType; cam.name = "Camera01";
//   cam.camera.targetName = "Camera01.Target";
//   cam.positionKeys = {{{0, -10, 5}, 0.0f}, {{10, -10, 5}, 100.0f}};
//   mesh nodes fill node.mesh (positions, optional attributes, indices);
//   children go into node.children (written depth first).
//   writeZTX("data/scene.ztx", scene)   false on failure
//   encodeZTX(scene)                    the file's bytes in memory
// Axes are the file's (z up); rotations are quaternions (x, y, z, w); key
// times are in increasing order. An optional per-vertex attribute is present
// when its array is non-empty and must then hold one entry per position.
// Invalid input (a type outside 0-5, attribute arrays of the wrong length, an
// index outside the vertices, bone data without skinning) is refused:
// encodeZTX throws std::invalid_argument, writeZTX returns false with the
// reason in *error (or on standard error when error is null), as it does
// when the file cannot be written.
#pragma once

#include "kestrane_ext/KeyTrack.h"
#include "kestrane_ext/ZTXFormat.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace KestraneExt {

struct ZTXMaterialData {
    std::string name;        // record string 1: what mesh nodes refer to
    std::string textureMap;  // record string 3: colour texture file
    std::string bumpMap;     // record string 5: bump map file
    std::array<std::string, 9> otherStrings{};  // record strings 2, 4, 6-12 in order
    std::array<Float3, 4> colors{};             // colour 2 is the untextured colour
    std::array<float, 3> scalars{};             // scalar 1 is the untextured alpha
};

struct ZTXMeshData {
    std::string material;  // empty: no material
    std::vector<Float3> positions;
    std::vector<Float3> normals;
    std::vector<Float3> binormals;
    std::vector<Float3> tangents;
    std::vector<std::array<float, 4>> colors;           // RGBA
    std::vector<std::uint32_t> extraValues;              // 4 bytes each, kept as is
    std::array<std::vector<std::array<float, 2>>, 8> texCoords{};  // channels 0-7, (u, v)
    bool skinned = false;
    std::vector<std::string> boneNames;
    std::vector<std::array<std::int32_t, 4>> boneIndices;  // with skinned: one per vertex
    std::vector<std::array<float, 4>> boneWeights;         // with skinned: one per vertex
    std::vector<std::int32_t> indices;                     // three per face, zero-based
};

struct ZTXNodeData {
    std::int32_t type = Zentrix::PlainNode;
    std::string name;
    Float3 position;
    Quaternion rotation;                    // (x, y, z, w)
    Float3 scale{1.0f, 1.0f, 1.0f};
    std::vector<Vec3Key> positionKeys;
    std::vector<QuatKey> rotationKeys;
    std::vector<Vec3Key> scaleKeys;
    ZTXMeshData mesh;                       // written for type 1 only
    Zentrix::LightBlock light;              // type 2 only
    Zentrix::CameraBlock camera;            // type 3 only
    std::vector<ZTXNodeData> children;
};

struct ZTXSceneData {
    std::vector<ZTXMaterialData> materials;
    std::vector<ZTXNodeData> nodes;
};

std::vector<std::uint8_t> encodeZTX(const ZTXSceneData& scene);
bool writeZTX(const std::string& path, const ZTXSceneData& scene, std::string* error = nullptr);

}  // namespace KestraneExt
