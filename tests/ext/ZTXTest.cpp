// ZTX scenes: writer/loader round trips (the node tree depth first), the
// version check, geometry building, damaged files.
#include "ModelSamples.h"

#include "kestrane_ext/ByteWriter.h"
#include "kestrane_ext/ZTXLoader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>

using namespace KestraneExt;
using Zentrix::CameraNode;
using Zentrix::LightNode;
using Zentrix::MeshNode;
using Zentrix::SceneNode;

namespace {

ZTXLoader load(const std::vector<std::uint8_t>& bytes) {
    return ZTXLoader(bytes.data(), bytes.size(), "test.ztx", BufferUsage::ClientMemory);
}

void expectSameKeys(const KeyTrack& track, const std::vector<Vec3Key>& keys) {
    ASSERT_EQ(track.count(), static_cast<int>(keys.size()));
    for (int i = 0; i < track.count(); ++i) {
        EXPECT_EQ(track.keyAt(i).value, keys[i].value);
        EXPECT_EQ(track.keyAt(i).time, keys[i].time);
        EXPECT_EQ(track.keyAt(i).flag, 1);
    }
}

void expectSameNode(const SceneNode& got, const ZTXNodeData& want) {
    SCOPED_TRACE(want.name);
    EXPECT_EQ(got.name, want.name);
    EXPECT_EQ(got.type, want.type);
    EXPECT_EQ(got.position, want.position);
    EXPECT_EQ((std::array{got.rotation.x, got.rotation.y, got.rotation.z, got.rotation.w}),
              (std::array{want.rotation.x, want.rotation.y, want.rotation.z, want.rotation.w}));
    EXPECT_EQ(got.scale, want.scale);
    expectSameKeys(got.positionTrack, want.positionKeys);
    expectSameKeys(got.scaleTrack, want.scaleKeys);
    ASSERT_EQ(got.rotationTrack.count(), static_cast<int>(want.rotationKeys.size()));
    for (int i = 0; i < got.rotationTrack.count(); ++i) {
        const Quaternion g = got.rotationTrack.keyAt(i).value, w = want.rotationKeys[i].value;
        EXPECT_EQ((std::array{g.x, g.y, g.z, g.w}), (std::array{w.x, w.y, w.z, w.w}));
        EXPECT_EQ(got.rotationTrack.keyAt(i).time, want.rotationKeys[i].time);
    }
    if (want.type == Zentrix::MeshNodeType) {
        const auto* mesh = dynamic_cast<const MeshNode*>(&got);
        ASSERT_TRUE(mesh);
        const ZTXMeshData& m = want.mesh;
        EXPECT_EQ(mesh->materialName, m.material);
        EXPECT_EQ(mesh->positions, m.positions);
        EXPECT_EQ(mesh->hasNormals, !m.normals.empty());
        EXPECT_EQ(mesh->normals, m.normals);
        EXPECT_EQ(mesh->binormals, m.binormals);
        EXPECT_EQ(mesh->tangents, m.tangents);
        EXPECT_EQ(mesh->colors, m.colors);
        EXPECT_EQ(mesh->extraValues, m.extraValues);
        for (int k = 0; k < 8; ++k) {
            EXPECT_EQ(mesh->hasTexCoords[k], !m.texCoords[k].empty());
            EXPECT_EQ(mesh->texCoords[k], m.texCoords[k]);
        }
        EXPECT_EQ(mesh->skinned, m.skinned);
        EXPECT_EQ(mesh->boneNames, m.boneNames);
        EXPECT_EQ(mesh->boneIndices, m.boneIndices);
        EXPECT_EQ(mesh->boneWeights, m.boneWeights);
        EXPECT_EQ(mesh->indices, m.indices);
    } else if (want.type == Zentrix::LightNodeType) {
        const auto* light = dynamic_cast<const LightNode*>(&got);
        ASSERT_TRUE(light);
        EXPECT_EQ(light->light.color, want.light.color);
        EXPECT_EQ((std::array{light->light.value1, light->light.value3, light->light.value4}),
                  (std::array{want.light.value1, want.light.value3, want.light.value4}));
        EXPECT_EQ(std::pair(light->light.flag1, light->light.flag2), std::pair(want.light.flag1, want.light.flag2));
    } else if (want.type == Zentrix::CameraNodeType) {
        const auto* camera = dynamic_cast<const CameraNode*>(&got);
        ASSERT_TRUE(camera);
        EXPECT_EQ(camera->camera.targetName, want.camera.targetName);
        EXPECT_EQ((std::array{camera->camera.nearPlane, camera->camera.farPlane, camera->camera.fieldOfView}),
                  (std::array{want.camera.nearPlane, want.camera.farPlane, want.camera.fieldOfView}));
    }
    ASSERT_EQ(got.children.size(), want.children.size());
    for (std::size_t c = 0; c < want.children.size(); ++c) expectSameNode(*got.children[c], want.children[c]);
}

// Offset of the first occurrence of a byte string (a node name, say).
std::size_t find(const std::vector<std::uint8_t>& bytes, const std::string& text) {
    const auto it = std::search(bytes.begin(), bytes.end(), text.begin(), text.end());
    return static_cast<std::size_t>(it - bytes.begin());
}

}  // namespace

TEST(ZTX, RoundTripKeepsMaterialsNodeTreeTracksAndCameras) {
    const ZTXSceneData data = Samples::fullScene();
    const ZTXLoader scene = load(encodeZTX(data));
    EXPECT_EQ(scene.errorText(), "");
    ASSERT_EQ(scene.materialCount(), 2);
    const Zentrix::SceneMaterial& skin = *scene.materials()[0];
    EXPECT_EQ(skin.name(), "skin");
    EXPECT_EQ(skin.textureMap(), "skin.jpg");
    EXPECT_EQ(skin.bumpMap(), "skin_bump.png");
    EXPECT_EQ(skin.strings[1], "kept0");
    EXPECT_EQ(skin.strings[3], "kept1");
    EXPECT_EQ(skin.strings[11], "kept8");
    for (int c = 0; c < 4; ++c) EXPECT_EQ(skin.colors[c], data.materials[0].colors[c]);
    EXPECT_EQ(skin.scalars, data.materials[0].scalars);
    EXPECT_EQ(scene.materials()[1]->textureMap(), "");  // zero-length strings read empty

    ASSERT_EQ(scene.nodeCount(), static_cast<int>(data.nodes.size()));
    for (std::size_t n = 0; n < data.nodes.size(); ++n) expectSameNode(*scene.nodes()[n], data.nodes[n]);

    // Material lookup: found, unknown name, and exact match only.
    const auto* body = dynamic_cast<const MeshNode*>(scene.findNode("Body"));
    EXPECT_EQ(body->material, &skin);
    EXPECT_EQ(dynamic_cast<const MeshNode*>(scene.findNode("Square"))->material, nullptr);
    EXPECT_EQ(scene.findMaterial("Skin"), nullptr);
    // findNode searches top-level nodes only.
    EXPECT_NE(scene.findNode("Camera01.Target"), nullptr);
    EXPECT_EQ(scene.findNode("Omni01"), nullptr);
    EXPECT_EQ(scene.findGeometry("Omni01"), nullptr);
    EXPECT_EQ(scene.findGeometry("Camera01"), nullptr);
    EXPECT_NE(scene.findGeometry("Body"), nullptr);
}

TEST(ZTX, WrongVersionTagGivesAnEmptySceneAndItsMessage) {
    auto bytes = encodeZTX(Samples::fullScene());
    for (std::size_t i = 0; i < 6; ++i) {
        auto changed = bytes;
        changed[i] ^= 0x01;
        ZTXLoader scene = load(changed);
        EXPECT_EQ(scene.errorText(), Zentrix::VersionMessage);
        EXPECT_EQ(scene.nodeCount(), 0);
        EXPECT_EQ(scene.materialCount(), 0);
    }
    const std::vector<std::uint8_t> shortFile = {'Z', 'T', 'X'};
    EXPECT_EQ(load(shortFile).errorText(), Zentrix::VersionMessage);
}

TEST(ZTXGeometry, TextureChannelOneGivesNormalsAndTangents) {
    ZTXSceneData data;
    data.nodes.push_back(Samples::squareNode("Quad", 1.0f, {0, 0, 0}, true));
    const ZTXLoader scene = load(encodeZTX(data));
    Geometry* g = scene.findGeometry("Quad");
    ASSERT_TRUE(g);
    float n[4] = {}, t[4] = {};
    g->createAttribute(Semantic::Normal)->get(2, n);
    g->createAttribute(Semantic::TexCoord2)->get(2, t);
    // The face normal is (P0 - P1) x (P2 - P1): the square faces +y; u runs along x.
    EXPECT_FLOAT_EQ(n[1], 1.0f);
    EXPECT_FLOAT_EQ(t[0], 1.0f);
}

TEST(ZTX, DamagedFilesAreRejectedWithFileOffsetAndReason) {
    ZTXSceneData data;
    data.nodes.push_back(Samples::squareNode("Quad", 1.0f, {0, 0, 0}));
    ZTXNodeData child;
    child.name = "Kid";
    data.nodes[0].children.push_back(child);
    const auto good = encodeZTX(data);
    const std::size_t typeAt = 6 + 4 + 4;  // tag, material count, node count
    const std::size_t vertexCountAt = typeAt + 4 + 4;  // type, empty material name
    const std::size_t indicesAt = vertexCountAt + 8 + 14 + 4 * 12;
    const std::size_t kidTypeAt = find(good, "Kid") - 4 - 4;

    const std::size_t tracksAt = kidTypeAt + 4 + 4 + 3 + 40;
    const struct {
        std::size_t patchAt;
        std::int32_t value;
        std::size_t offset;
        const char* reason;
    } cases[] = {
        {typeAt, 6, typeAt, "node type 6 outside 0-5"},
        {kidTypeAt, -1, kidTypeAt, "node type -1"},
        {vertexCountAt, -4, vertexCountAt, "negative vertex count -4"},
        {vertexCountAt + 4, 0x10000000, vertexCountAt, "needs"},
        {indicesAt + 8, 4, indicesAt + 8, "face index 4 outside the mesh's 4 vertices"},
        {6, 1000, 6, "material count 1000"},
        {10, -2, 10, "negative node count"},
        {tracksAt + 4, 99999, tracksAt, "keys need"},
        {good.size() - 4, 1, good.size() - 4, "child count 1"},  // the kid's child count
    };
    for (const auto& c : cases) {
        auto bytes = good;
        Samples::putInt(bytes, c.patchAt, c.value);
        Samples::expectDamaged([](const auto& b) { load(b); }, bytes, "test.ztx", c.offset, c.reason);
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t cut = 6; cut < good.size(); cut += 5) {
        bytes.assign(good.begin(), good.begin() + static_cast<long>(cut));
        EXPECT_THROW(load(bytes), FormatError) << "cut at " << cut;
    }
}

TEST(ZTXDeathTest, DamagedFileEndsTheProgramNamingFileAndOffset) {
    TestSupport::TempDir dir;
    ZTXSceneData data = Samples::fullScene();
    data.materials.clear();
    auto bytes = encodeZTX(data);
    Samples::putInt(bytes, 14, 9);  // the first node's type: after tag, material and node counts
    const std::string path = dir.file("broken.ztx");
    ASSERT_TRUE(writeFileBytes(path, bytes, nullptr));
    EXPECT_FATAL(Zentrix::Scene(File(path, "rb")), "broken\\.ztx: byte 14: node type 9 outside 0-5");
}

TEST(ZTXWriter, RefusesInvalidScenes) {
    ZTXSceneData data;
    data.nodes.push_back(Samples::squareNode("Quad", 1, {0, 0, 0}));
    data.nodes[0].mesh.indices[4] = 4;
    EXPECT_THROW(encodeZTX(data), std::invalid_argument);
    data.nodes[0] = Samples::squareNode("Quad", 1, {0, 0, 0});
    data.nodes[0].mesh.normals.resize(3);
    EXPECT_THROW(encodeZTX(data), std::invalid_argument);
}
