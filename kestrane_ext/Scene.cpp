#include "kestrane_ext/Scene.h"

#include "kestrane_ext/ByteReader.h"
#include "kestrane_ext/FileBytes.h"

#include <cstring>

namespace Zentrix {

using KestraneExt::ByteReader;

namespace {

constexpr std::size_t MaterialMinBytes = 12 * 4 + 15 * 4;     // 12 empty strings, 15 reals
constexpr std::size_t NodeMinBytes = 4 + 4 + 10 * 4 + 3 * 4 + 4;  // type, name, transform, tracks, children

Float3 readFloat3(ByteReader& in, const char* what) {
    Float3 v;
    v.x = in.readFloat(what);
    v.y = in.readFloat(what);
    v.z = in.readFloat(what);
    return v;
}

Quaternion readQuaternion(ByteReader& in, const char* what) {
    Quaternion q;
    q.x = in.readFloat(what);
    q.y = in.readFloat(what);
    q.z = in.readFloat(what);
    q.w = in.readFloat(what);
    return q;
}

std::int32_t readNonNegative(ByteReader& in, const char* what) {
    const std::size_t at = in.offset();
    const std::int32_t n = in.readInt32(what);
    if (n < 0) in.failAt(at, std::string("negative ") + what + " " + std::to_string(n));
    return n;
}

}  // namespace

Scene::Scene(KestraneExt::File file) {
    const std::vector<std::uint8_t> bytes = KestraneExt::readAllBytes(file);
    file.close();
    try {
        parse(bytes.data(), bytes.size(), file.name());
    } catch (const KestraneExt::FormatError& e) {
        e.reportFatal();
    }
}

Scene::Scene(const std::uint8_t* bytes, std::size_t size, const std::string& fileName) {
    parse(bytes, size, fileName);
}

Scene::~Scene() = default;

const SceneMaterial* Scene::findMaterial(const std::string& name) const {
    for (const auto& m : materials_)
        if (m->name() == name) return m.get();
    return nullptr;
}

SceneNode* Scene::findNode(const std::string& name) const {
    for (const auto& n : nodes_)
        if (n->name == name) return n.get();
    return nullptr;
}

void Scene::parse(const std::uint8_t* bytes, std::size_t size, const std::string& fileName) {
    errorText_.clear();
    if (size < static_cast<std::size_t>(VersionTagLength) ||
        std::memcmp(bytes, VersionTag, VersionTagLength) != 0) {
        errorText_ = VersionMessage;
        return;
    }
    ByteReader in(bytes, size, fileName);
    in.skip(VersionTagLength, "version tag");

    const std::int32_t materialCount = in.readCount("material count", MaterialMinBytes);
    for (std::int32_t i = 0; i < materialCount; ++i) {
        auto m = std::make_unique<SceneMaterial>();
        for (std::string& s : m->strings) s = in.readString("material string");
        for (Float3& c : m->colors) c = readFloat3(in, "material colour");
        for (float& s : m->scalars) s = in.readFloat("material scalar");
        materials_.push_back(std::move(m));
    }

    const std::int32_t nodeCount = in.readCount("node count", NodeMinBytes);
    for (std::int32_t i = 0; i < nodeCount; ++i) nodes_.push_back(readNode(in, 1));
}

std::unique_ptr<SceneNode> Scene::readNode(ByteReader& in, int depth) {
    if (depth > MaxDepth)
        in.fail("nodes nested deeper than " + std::to_string(MaxDepth) + " levels");
    const std::size_t typeAt = in.offset();
    const std::int32_t type = in.readInt32("node type");
    if (!isValidNodeType(type)) in.failAt(typeAt, "node type " + std::to_string(type) + " outside 0-5");

    std::unique_ptr<SceneNode> node;
    if (type == MeshNodeType) {
        auto mesh = std::make_unique<MeshNode>();
        readMesh(in, *mesh);
        node = std::move(mesh);
    } else if (type == LightNodeType) {
        auto light = std::make_unique<LightNode>();
        LightBlock& l = light->light;
        l.color = readFloat3(in, "light block");
        l.value1 = in.readFloat("light block");
        l.value2 = in.readFloat("light block");
        l.value3 = in.readFloat("light block");
        l.flag1 = in.readByte("light block");
        l.flag2 = in.readByte("light block");
        l.value4 = in.readFloat("light block");
        node = std::move(light);
    } else if (type == CameraNodeType) {
        auto camera = std::make_unique<CameraNode>();
        camera->camera.targetName = in.readString("camera target name");
        camera->camera.nearPlane = in.readFloat("camera near plane");
        camera->camera.farPlane = in.readFloat("camera far plane");
        camera->camera.fieldOfView = in.readFloat("camera field of view");
        node = std::move(camera);
    } else {
        node = std::make_unique<SceneNode>();
    }
    node->type = type;
    node->name = in.readString("node name");
    node->position = readFloat3(in, "base position");
    node->rotation = readQuaternion(in, "base rotation");
    node->scale = readFloat3(in, "base scale");

    const std::size_t tracksAt = in.offset();
    const std::int32_t positionKeys = readNonNegative(in, "position key count");
    const std::int32_t rotationKeys = readNonNegative(in, "rotation key count");
    const std::int32_t scaleKeys = readNonNegative(in, "scale key count");
    const std::uint64_t keyBytes = 16u * static_cast<std::uint64_t>(positionKeys) +
                                   20u * static_cast<std::uint64_t>(rotationKeys) +
                                   16u * static_cast<std::uint64_t>(scaleKeys);
    if (keyBytes > in.remaining())
        in.failAt(tracksAt, "tracks of " + std::to_string(positionKeys) + "/" +
                                std::to_string(rotationKeys) + "/" + std::to_string(scaleKeys) +
                                " keys need " + std::to_string(keyBytes) + " bytes, " +
                                std::to_string(in.remaining()) + " left");
    for (std::int32_t k = 0; k < positionKeys; ++k) {
        const Float3 v = readFloat3(in, "position key");
        node->positionTrack.addKey(v, in.readFloat("position key"));
    }
    for (std::int32_t k = 0; k < rotationKeys; ++k) {
        const Quaternion q = readQuaternion(in, "rotation key");
        node->rotationTrack.addKey(q, in.readFloat("rotation key"));
    }
    for (std::int32_t k = 0; k < scaleKeys; ++k) {
        const Float3 v = readFloat3(in, "scale key");
        node->scaleTrack.addKey(v, in.readFloat("scale key"));
    }

    const std::int32_t childCount = in.readCount("child count", NodeMinBytes);
    node->children.reserve(static_cast<std::size_t>(childCount));
    for (std::int32_t c = 0; c < childCount; ++c) node->children.push_back(readNode(in, depth + 1));
    return node;
}

void Scene::readMesh(ByteReader& in, MeshNode& mesh) {
    mesh.materialName = in.readString("material name");
    mesh.material = mesh.materialName.empty() ? nullptr : findMaterial(mesh.materialName);

    const std::size_t countsAt = in.offset();
    const std::int32_t vertexCount = readNonNegative(in, "vertex count");
    const std::int32_t faceCount = readNonNegative(in, "face count");
    mesh.hasNormals = in.readByte() != 0;
    mesh.hasBinormals = in.readByte() != 0;
    mesh.hasTangents = in.readByte() != 0;
    mesh.hasColors = in.readByte() != 0;
    mesh.hasExtra = in.readByte() != 0;
    for (bool& channel : mesh.hasTexCoords) channel = in.readByte() != 0;
    const std::size_t skinningAt = in.offset();
    mesh.skinned = in.readByte() != 0;
    // Texture channel 7 and the bone indices would both need stream slot 8.
    if (mesh.skinned && mesh.hasTexCoords[7])
        in.failAt(skinningAt, "skinned mesh with texture channel 7 (both use stream slot 8)");
    if (mesh.skinned) {
        const std::int32_t boneNames = in.readCount("bone name count", 4);
        mesh.boneNames.reserve(static_cast<std::size_t>(boneNames));
        for (std::int32_t b = 0; b < boneNames; ++b) mesh.boneNames.push_back(in.readString("bone name"));
    }

    std::uint64_t vertexBytes = 12;
    for (bool flagged : {mesh.hasNormals, mesh.hasBinormals, mesh.hasTangents})
        if (flagged) vertexBytes += 12;
    if (mesh.hasColors) vertexBytes += 16;
    if (mesh.hasExtra) vertexBytes += 4;
    for (bool channel : mesh.hasTexCoords)
        if (channel) vertexBytes += 8;
    if (mesh.skinned) vertexBytes += 32;
    const std::uint64_t needed = vertexBytes * static_cast<std::uint64_t>(vertexCount) +
                                 12u * static_cast<std::uint64_t>(faceCount);
    if (needed > in.remaining())
        in.failAt(countsAt, "mesh of " + std::to_string(vertexCount) + " vertices and " +
                                std::to_string(faceCount) + " faces needs " + std::to_string(needed) +
                                " bytes, " + std::to_string(in.remaining()) + " left");

    const auto n = static_cast<std::size_t>(vertexCount);
    mesh.positions.resize(n);
    if (mesh.hasNormals) mesh.normals.resize(n);
    if (mesh.hasBinormals) mesh.binormals.resize(n);
    if (mesh.hasTangents) mesh.tangents.resize(n);
    if (mesh.hasColors) mesh.colors.resize(n);
    if (mesh.hasExtra) mesh.extraValues.resize(n);
    for (int k = 0; k < 8; ++k)
        if (mesh.hasTexCoords[k]) mesh.texCoords[k].resize(n);
    if (mesh.skinned) {
        mesh.boneIndices.resize(n);
        mesh.boneWeights.resize(n);
    }
    for (std::size_t v = 0; v < n; ++v) {
        mesh.positions[v] = readFloat3(in, "position");
        if (mesh.hasNormals) mesh.normals[v] = readFloat3(in, "normal");
        if (mesh.hasBinormals) mesh.binormals[v] = readFloat3(in, "binormal");
        if (mesh.hasTangents) mesh.tangents[v] = readFloat3(in, "tangent");
        if (mesh.hasColors) in.readBytes(mesh.colors[v].data(), 16, "colour");
        if (mesh.hasExtra) in.readBytes(&mesh.extraValues[v], 4, "extra value");
        for (int k = 0; k < 8; ++k)
            if (mesh.hasTexCoords[k]) in.readBytes(mesh.texCoords[k][v].data(), 8, "texture coordinate");
        if (mesh.skinned) {
            in.readBytes(mesh.boneIndices[v].data(), 16, "bone indices");
            in.readBytes(mesh.boneWeights[v].data(), 16, "bone weights");
        }
    }
    mesh.indices.resize(3 * static_cast<std::size_t>(faceCount));
    for (std::int32_t& index : mesh.indices) {
        const std::size_t at = in.offset();
        index = in.readInt32("face index");
        if (index < 0 || index >= vertexCount)
            in.failAt(at, "face index " + std::to_string(index) + " outside the mesh's " +
                              std::to_string(vertexCount) + " vertices");
    }
}

}  // namespace Zentrix
