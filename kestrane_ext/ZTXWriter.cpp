#include "kestrane_ext/ZTXWriter.h"

#include "kestrane_ext/ByteWriter.h"

#include <stdexcept>

namespace KestraneExt {

namespace {

void writeFloat3(ByteWriter& out, Float3 v) {
    out.real(v.x);
    out.real(v.y);
    out.real(v.z);
}

void writeQuaternion(ByteWriter& out, Quaternion q) {
    out.real(q.x);
    out.real(q.y);
    out.real(q.z);
    out.real(q.w);
}

void writeMaterial(ByteWriter& out, const ZTXMaterialData& m) {
    const std::array<const std::string*, 12> strings = {
        &m.name,            &m.otherStrings[0], &m.textureMap,      &m.otherStrings[1],
        &m.bumpMap,         &m.otherStrings[2], &m.otherStrings[3], &m.otherStrings[4],
        &m.otherStrings[5], &m.otherStrings[6], &m.otherStrings[7], &m.otherStrings[8]};
    for (const std::string* s : strings) out.string(*s);
    for (Float3 c : m.colors) writeFloat3(out, c);
    for (float s : m.scalars) out.real(s);
}

template <typename Array>
bool present(const Array& values, std::size_t vertexCount, const char* what,
             const std::string& where) {
    if (values.empty()) return false;
    if (values.size() != vertexCount)
        throw std::invalid_argument(where + what + " array holds " + std::to_string(values.size()) +
                                    " entries for " + std::to_string(vertexCount) + " vertices");
    return true;
}

void writeMesh(ByteWriter& out, const ZTXMeshData& mesh, const std::string& where) {
    const std::size_t n = mesh.positions.size();
    const bool normals = present(mesh.normals, n, "normal", where);
    const bool binormals = present(mesh.binormals, n, "binormal", where);
    const bool tangents = present(mesh.tangents, n, "tangent", where);
    const bool colors = present(mesh.colors, n, "colour", where);
    const bool extra = present(mesh.extraValues, n, "extra value", where);
    std::array<bool, 8> channels{};
    for (int k = 0; k < 8; ++k)
        channels[k] = present(mesh.texCoords[k], n, "texture channel", where);
    if (mesh.skinned) {
        if (mesh.boneIndices.size() != n || mesh.boneWeights.size() != n)
            throw std::invalid_argument(where + "skinned mesh needs bone indices and weights per vertex");
    } else if (!mesh.boneIndices.empty() || !mesh.boneWeights.empty() || !mesh.boneNames.empty()) {
        throw std::invalid_argument(where + "bone data on a mesh that is not skinned");
    }
    if (mesh.indices.size() % 3 != 0)
        throw std::invalid_argument(where + "index count is not a multiple of 3");
    for (std::int32_t index : mesh.indices)
        if (index < 0 || static_cast<std::size_t>(index) >= n)
            throw std::invalid_argument(where + "index " + std::to_string(index) + " outside " +
                                        std::to_string(n) + " vertices");

    out.string(mesh.material);
    out.int32(static_cast<std::int32_t>(n));
    out.int32(static_cast<std::int32_t>(mesh.indices.size() / 3));
    for (bool flag : {normals, binormals, tangents, colors, extra}) out.byte(flag ? 1 : 0);
    for (bool flag : channels) out.byte(flag ? 1 : 0);
    out.byte(mesh.skinned ? 1 : 0);
    if (mesh.skinned) {
        out.int32(static_cast<std::int32_t>(mesh.boneNames.size()));
        for (const std::string& bone : mesh.boneNames) out.string(bone);
    }
    for (std::size_t v = 0; v < n; ++v) {
        writeFloat3(out, mesh.positions[v]);
        if (normals) writeFloat3(out, mesh.normals[v]);
        if (binormals) writeFloat3(out, mesh.binormals[v]);
        if (tangents) writeFloat3(out, mesh.tangents[v]);
        if (colors) out.raw(mesh.colors[v].data(), 4 * sizeof(float));
        if (extra) out.raw(&mesh.extraValues[v], 4);
        for (int k = 0; k < 8; ++k)
            if (channels[k]) out.raw(mesh.texCoords[k][v].data(), 2 * sizeof(float));
        if (mesh.skinned) {
            out.raw(mesh.boneIndices[v].data(), 4 * sizeof(std::int32_t));
            out.raw(mesh.boneWeights[v].data(), 4 * sizeof(float));
        }
    }
    out.raw(mesh.indices.data(), mesh.indices.size() * sizeof(std::int32_t));
}

void writeNode(ByteWriter& out, const ZTXNodeData& node, const std::string& path) {
    const std::string where = "ZTX node " + path + " \"" + node.name + "\": ";
    if (!Zentrix::isValidNodeType(node.type))
        throw std::invalid_argument(where + "node type " + std::to_string(node.type) + " outside 0-5");
    out.int32(node.type);
    if (node.type == Zentrix::MeshNodeType) {
        writeMesh(out, node.mesh, where);
    } else if (node.type == Zentrix::LightNodeType) {
        const Zentrix::LightBlock& l = node.light;
        writeFloat3(out, l.color);
        out.real(l.value1);
        out.real(l.value2);
        out.real(l.value3);
        out.byte(l.flag1);
        out.byte(l.flag2);
        out.real(l.value4);
    } else if (node.type == Zentrix::CameraNodeType) {
        out.string(node.camera.targetName);
        out.real(node.camera.nearPlane);
        out.real(node.camera.farPlane);
        out.real(node.camera.fieldOfView);
    }
    out.string(node.name);
    writeFloat3(out, node.position);
    writeQuaternion(out, node.rotation);
    writeFloat3(out, node.scale);
    out.int32(static_cast<std::int32_t>(node.positionKeys.size()));
    out.int32(static_cast<std::int32_t>(node.rotationKeys.size()));
    out.int32(static_cast<std::int32_t>(node.scaleKeys.size()));
    for (const Vec3Key& k : node.positionKeys) {
        writeFloat3(out, k.value);
        out.real(k.time);
    }
    for (const QuatKey& k : node.rotationKeys) {
        writeQuaternion(out, k.value);
        out.real(k.time);
    }
    for (const Vec3Key& k : node.scaleKeys) {
        writeFloat3(out, k.value);
        out.real(k.time);
    }
    out.int32(static_cast<std::int32_t>(node.children.size()));
    for (std::size_t c = 0; c < node.children.size(); ++c)
        writeNode(out, node.children[c], path + "/" + std::to_string(c));
}

}  // namespace

std::vector<std::uint8_t> encodeZTX(const ZTXSceneData& scene) {
    ByteWriter out;
    out.raw(Zentrix::VersionTag, Zentrix::VersionTagLength);
    out.int32(static_cast<std::int32_t>(scene.materials.size()));
    for (const ZTXMaterialData& m : scene.materials) writeMaterial(out, m);
    out.int32(static_cast<std::int32_t>(scene.nodes.size()));
    for (std::size_t i = 0; i < scene.nodes.size(); ++i)
        writeNode(out, scene.nodes[i], std::to_string(i));
    return out.take();
}

bool writeZTX(const std::string& path, const ZTXSceneData& scene, std::string* error) {
    return writeEncodedFile(path, [&] { return encodeZTX(scene); }, "KestraneExt::writeZTX", error);
}

}  // namespace KestraneExt
