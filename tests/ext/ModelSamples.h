// Sample VXM meshes and ZTX scenes for the format tests, the fuzzer and the
// benchmark, and the format tests' check of a damaged file.
#pragma once

#include "kestrane_ext/FormatError.h"
#include "kestrane_ext/VXMWriter.h"
#include "kestrane_ext/ZTXWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace Samples {

using KestraneExt::Float3;

// The triangle (1,0,0) (0,0,0) (0,1,0) with texture coordinates (1,0) (0,0) (0,1).
inline KestraneExt::VXMMeshData unitTriangle(std::string name = "tri") {
    KestraneExt::VXMMeshData m;
    m.name = std::move(name);
    m.addVertex({1, 0, 0}, 1, 0);
    m.addVertex({0, 0, 0}, 0, 0);
    m.addVertex({0, 1, 0}, 0, 1);
    m.addTriangle(0, 1, 2);
    return m;
}

// An axis-aligned square in the z = depth plane, two triangles.
inline KestraneExt::VXMMeshData square(float x0, float y0, float x1, float y1, float depth = 0.0f,
                                       std::string name = "square") {
    KestraneExt::VXMMeshData m;
    m.name = std::move(name);
    m.addVertex({x0, y0, depth}, 0, 0);
    m.addVertex({x1, y0, depth}, 1, 0);
    m.addVertex({x1, y1, depth}, 1, 1);
    m.addVertex({x0, y1, depth}, 0, 1);
    m.addTriangle(0, 1, 2);
    m.addTriangle(0, 2, 3);
    return m;
}

// A grid of (n+1)^2 vertices and 2 n^2 triangles in the z = 0 plane.
inline KestraneExt::VXMMeshData grid(int n, std::string name = "grid") {
    KestraneExt::VXMMeshData m;
    m.name = std::move(name);
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x)
            m.addVertex({float(x) / n, float(y) / n, 0.0f}, float(x) / n, float(y) / n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const int a = y * (n + 1) + x;
            m.addTriangle(a, a + 1, a + n + 2);
            m.addTriangle(a, a + n + 2, a + n + 1);
        }
    return m;
}

// A mesh node holding a square in its local y = 0 plane. Node transforms are
// turned from the file's z-up axes to the renderer's y-up axes, mesh vertices
// are used as stored: this square lies flat in the renderer's ground plane.
inline KestraneExt::ZTXNodeData squareNode(std::string name, float half, Float3 at,
                                           bool channel1 = false) {
    KestraneExt::ZTXNodeData n;
    n.type = Zentrix::MeshNodeType;
    n.name = std::move(name);
    n.position = at;
    n.mesh.positions = {{-half, 0, -half}, {half, 0, -half}, {half, 0, half}, {-half, 0, half}};
    if (channel1) n.mesh.texCoords[1] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    n.mesh.indices = {0, 1, 2, 0, 2, 3};
    return n;
}

// A scene using every part of the format: two materials, a skinned mesh with
// every attribute, a light, a camera with its target, plain and fifth-kind
// nodes, tracks, children.
inline KestraneExt::ZTXSceneData fullScene() {
    using namespace KestraneExt;
    ZTXSceneData s;
    ZTXMaterialData skin;
    skin.name = "skin";
    skin.textureMap = "skin.jpg";
    skin.bumpMap = "skin_bump.png";
    for (int i = 0; i < 9; ++i) skin.otherStrings[i] = "kept" + std::to_string(i);
    skin.colors = {Float3{0.1f, 0.2f, 0.3f}, Float3{0.4f, 0.5f, 0.6f}, Float3{0.7f, 0.8f, 0.9f},
                   Float3{1.0f, 1.1f, 1.2f}};
    skin.scalars = {0.25f, 0.5f, 0.75f};
    s.materials.push_back(skin);
    ZTXMaterialData plain;
    plain.name = "plain";
    s.materials.push_back(plain);

    ZTXNodeData mesh;
    mesh.type = Zentrix::MeshNodeType;
    mesh.name = "Body";
    mesh.position = {1, 2, 3};
    mesh.rotation = {0, 0, 0.7071068f, 0.7071068f};
    mesh.scale = {2, 2, 2};
    mesh.positionKeys = {{{0, 0, 0}, 0}, {{10, 0, 0}, 10}};
    mesh.rotationKeys = {{{0.1f, 0.2f, 0.3f, 0.927f}, 0}, {{-0.5f, 0.5f, 0.5f, 0.5f}, 20}};
    mesh.scaleKeys = {{{1, 1, 1}, 5}};
    ZTXMeshData& m = mesh.mesh;
    m.material = "skin";
    m.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    m.normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    m.binormals = {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}};
    m.tangents = {{1, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}};
    m.colors = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, {1, 1, 1, 0.5f}};
    m.extraValues = {7, 8, 9, 0xdeadbeef};
    m.texCoords[0] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    m.texCoords[1] = {{0, 0}, {2, 0}, {2, 2}, {0, 2}};
    m.texCoords[3] = {{5, 5}, {6, 5}, {6, 6}, {5, 6}};
    m.skinned = true;
    m.boneNames = {"hip", "knee"};
    m.boneIndices = {{0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 0}, {1, 1, 1, 1}};
    m.boneWeights = {{1, 0, 0, 0}, {0.5f, 0.5f, 0, 0}, {1, 0, 0, 0}, {0.25f, 0.25f, 0.25f, 0.25f}};
    m.indices = {0, 1, 2, 0, 2, 3};

    ZTXNodeData light;
    light.type = Zentrix::LightNodeType;
    light.name = "Omni01";
    light.light = {{1, 0.9f, 0.8f}, 1.5f, 10, 100, 1, 0, 0.5f};
    mesh.children.push_back(light);
    ZTXNodeData helper;
    helper.type = Zentrix::Kind5Node;
    helper.name = "Bone01";
    mesh.children.push_back(helper);
    s.nodes.push_back(mesh);

    ZTXNodeData camera;
    camera.type = Zentrix::CameraNodeType;
    camera.name = "Camera01";
    camera.camera = {"Camera01.Target", 0.5f, 500.0f, 60.0f};
    camera.positionKeys = {{{0, -10, 5}, 0}, {{10, -10, 5}, 100}};
    s.nodes.push_back(camera);

    ZTXNodeData target;
    target.type = Zentrix::PlainNode4;
    target.name = "Camera01.Target";
    s.nodes.push_back(target);

    ZTXNodeData bare = squareNode("Square", 1.0f, {0, 0, 0});
    bare.mesh.material = "nonexistent";
    s.nodes.push_back(bare);
    return s;
}

inline void putInt(std::vector<std::uint8_t>& bytes, std::size_t at, std::int32_t v) {
    std::memcpy(bytes.data() + at, &v, 4);
}

// load(bytes) must throw a FormatError naming `file`, at `offset`, whose
// reason contains `reason`.
template <typename Load>
void expectDamaged(Load load, const std::vector<std::uint8_t>& bytes, const std::string& file, std::size_t offset,
                   const std::string& reason) {
    try {
        load(bytes);
        ADD_FAILURE() << "loaded a damaged file; expected: " << reason;
    } catch (const KestraneExt::FormatError& e) {
        EXPECT_EQ(e.file(), file);
        EXPECT_EQ(e.offset(), offset) << e.what();
        EXPECT_NE(e.reason().find(reason), std::string::npos) << e.what();
    }
}

}  // namespace Samples
