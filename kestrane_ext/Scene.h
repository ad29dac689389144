// The in-memory model of a ZTX scene file: materials and a tree of plain,
// mesh, light and camera nodes, each with a base transform and key-framed
// position, rotation and scale tracks (file axes, z up).
//
// Use:
//   Zentrix::Scene scene(KestraneExt::File("data/x.ztx", "rb"));
//   scene.errorText()          empty, or the version message when the file
//                              does not start with "ZTX115" (scene left empty).
//   scene.nodes(), scene.materials(), scene.findNode("Camera01"),
//   scene.findMaterial("skin"); node->positionAt(t), rotationAt(t),
//   scaleAt(t) give renderer axes (y up).
// A damaged file (counts beyond the bytes left, negative counts, a node type
// outside 0-5, an index outside the vertices, nesting over MaxDepth levels)
// ends the process through the fatal path naming file, offset and fault; the
// byte-array constructor throws KestraneExt::FormatError instead.
// The scene owns every node and material; it never changes after reading.
#pragma once

#include "kestrane_ext/File.h"
#include "kestrane_ext/KeyTrack.h"
#include "kestrane_ext/ZTXFormat.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace KestraneExt {
class ByteReader;
}

namespace Zentrix {

using Kestrane::Float3;
using KestraneExt::Quaternion;

inline constexpr const char* VersionMessage =
    "Unknown file tag. Version conflict or damaged file\n\nThis loader is version ZTX115. Try "
    "exporting your scene again with the newest Zentrix exporter.";

struct SceneMaterial {
    std::array<std::string, 12> strings;  // record order
    std::array<Float3, 4> colors{};
    std::array<float, 3> scalars{};

    const std::string& name() const { return strings[0]; }
    const std::string& textureMap() const { return strings[2]; }
    const std::string& bumpMap() const { return strings[4]; }
};

struct AxisAngle {
    Float3 axis;
    float degrees = 0.0f;
};

class SceneNode {
public:
    virtual ~SceneNode() = default;

    // Renderer axes: the file's (x, y, z) becomes (x, z, -y); a track with
    // fewer than two keys gives way to the base value.
    Float3 positionAt(float t) const;
    AxisAngle rotationAt(float t) const;
    Float3 scaleAt(float t) const;

    std::string name;
    std::int32_t type = PlainNode;
    Float3 position;
    Quaternion rotation;
    Float3 scale{1.0f, 1.0f, 1.0f};
    KestraneExt::KeyTrack positionTrack;
    KestraneExt::RotationTrack rotationTrack;
    KestraneExt::KeyTrack scaleTrack;
    std::vector<std::unique_ptr<SceneNode>> children;
};

class MeshNode : public SceneNode {
public:
    bool hasNormals = false, hasBinormals = false, hasTangents = false, hasColors = false,
         hasExtra = false;
    std::array<bool, 8> hasTexCoords{};
    bool skinned = false;

    std::vector<Float3> positions;
    std::vector<Float3> normals, binormals, tangents;
    std::vector<std::array<float, 4>> colors;
    std::vector<std::uint32_t> extraValues;
    std::array<std::vector<std::array<float, 2>>, 8> texCoords;
    std::vector<std::array<std::int32_t, 4>> boneIndices;
    std::vector<std::array<float, 4>> boneWeights;
    std::vector<std::string> boneNames;
    std::vector<std::int32_t> indices;  // 3 per face, each inside the vertices

    std::string materialName;
    const SceneMaterial* material = nullptr;  // not owned; null if none matches

    int vertexCount() const { return static_cast<int>(positions.size()); }
    int faceCount() const { return static_cast<int>(indices.size() / 3); }
};

class LightNode : public SceneNode {
public:
    LightBlock light;
};

class CameraNode : public SceneNode {
public:
    CameraBlock camera;
};

class Scene {
public:
    // Deepest node nesting a file may have; deeper files are damaged.
    static constexpr int MaxDepth = 1024;

    explicit Scene(KestraneExt::File file);
    // Parses bytes as the file named fileName; throws FormatError.
    Scene(const std::uint8_t* bytes, std::size_t size, const std::string& fileName);
    virtual ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    const std::string& errorText() const { return errorText_; }
    int materialCount() const { return static_cast<int>(materials_.size()); }
    int nodeCount() const { return static_cast<int>(nodes_.size()); }
    const std::vector<std::unique_ptr<SceneMaterial>>& materials() const { return materials_; }
    const std::vector<std::unique_ptr<SceneNode>>& nodes() const { return nodes_; }

    // First material with exactly this name, or null.
    const SceneMaterial* findMaterial(const std::string& name) const;
    // First top-level node with exactly this name, or null (children are not
    // searched).
    SceneNode* findNode(const std::string& name) const;

private:
    void parse(const std::uint8_t* bytes, std::size_t size, const std::string& fileName);
    std::unique_ptr<SceneNode> readNode(KestraneExt::ByteReader& in, int depth);
    void readMesh(KestraneExt::ByteReader& in, MeshNode& mesh);

    std::string errorText_;
    std::vector<std::unique_ptr<SceneMaterial>> materials_;
    std::vector<std::unique_ptr<SceneNode>> nodes_;
};

}  // namespace Zentrix
