#include "kestrane_ext/ZTXLoader.h"

#include "kestrane/DefaultShader.h"
#include "kestrane/State.h"

namespace KestraneExt {

using Zentrix::MeshNode;
using Zentrix::SceneNode;

static_assert(sizeof(Float3) == 12, "positions are uploaded as packed 3-float arrays");

ZTXLoader::ZTXLoader(File file, int usage) : Zentrix::Scene(std::move(file)) {
    for (const auto& node : nodes()) buildGeometry(*node, usage);
}

ZTXLoader::ZTXLoader(const std::uint8_t* bytes, std::size_t size, const std::string& fileName,
                     int usage)
    : Zentrix::Scene(bytes, size, fileName) {
    for (const auto& node : nodes()) buildGeometry(*node, usage);
}

ZTXLoader::~ZTXLoader() = default;

void ZTXLoader::buildGeometry(const SceneNode& node, int usage) {
    if (const auto* mesh = dynamic_cast<const MeshNode*>(&node)) {
        auto g = std::make_unique<Geometry>();
        const int vertices = mesh->vertexCount();
        // One single-element stream per attribute, in the slot numbered like
        // its semantic.
        auto add = [&](int slot, int components, int type, const void* data) {
            const int counts[] = {components};
            const int types[] = {type};
            g->setStream(slot, std::make_unique<VertexStream>(1, counts, vertices, usage, data, types));
            g->bind(slot, 0, slot);
        };
        add(Semantic::Position, 3, ComponentType::Float, mesh->positions.data());
        if (mesh->hasNormals) add(Semantic::Normal, 3, ComponentType::Float, mesh->normals.data());
        if (mesh->hasBinormals) add(Semantic::Binormal, 3, ComponentType::Float, mesh->binormals.data());
        if (mesh->hasTangents) add(Semantic::Tangent, 3, ComponentType::Float, mesh->tangents.data());
        if (mesh->hasColors) add(Semantic::Color, 4, ComponentType::Float, mesh->colors.data());
        for (int k = 1; k < 8; ++k)  // channel 0 is never uploaded
            if (mesh->hasTexCoords[k])
                add(Semantic::TexCoord0 + k - 1, 2, ComponentType::Float, mesh->texCoords[k].data());
        if (mesh->skinned) {
            add(Semantic::TexCoord6, 4, ComponentType::Int, mesh->boneIndices.data());
            add(Semantic::TexCoord7, 4, ComponentType::Float, mesh->boneWeights.data());
        }
        g->setIndices(std::make_unique<IndexStream>(static_cast<int>(mesh->indices.size()), usage,
                                                    mesh->indices.data(), IndexType::UnsignedInt));
        g->setPrimitive(Kestrane::Triangles);
        if (mesh->hasTexCoords[1])
            g->generateTangentFrames(Semantic::TexCoord0, Semantic::Normal, Semantic::TexCoord2,
                                     Semantic::TexCoord3, usage);
        geometries[mesh] = std::move(g);
    }
    for (const auto& child : node.children) buildGeometry(*child, usage);
}

Geometry* ZTXLoader::geometryOf(const SceneNode* node) const {
    const auto* mesh = dynamic_cast<const MeshNode*>(node);
    if (!mesh) return nullptr;
    const auto found = geometries.find(mesh);
    return found == geometries.end() ? nullptr : found->second.get();
}

void ZTXLoader::evaluate(float time) {
    lightInstances.clear();
    meshInstances.clear();
    kind5Instances.clear();
    plainInstances.clear();
    cameraInstances.clear();
    if (nodes().empty()) return;
    Kestrane::State::getProjection(projection);
    float start[16];
    Kestrane::State::getWorld(start);
    for (const auto& node : nodes()) evaluateNode(*node, time, start);
}

// Each node composes its transform onto its parent's World and puts the
// parent's matrix back afterwards (instead of pushing the World stack once
// per level of a file's hierarchy), so World ends as it started.
void ZTXLoader::evaluateNode(const SceneNode& node, float time, const float parent[16]) {
    using Kestrane::State;
    const Float3 position = node.positionAt(time);
    const Zentrix::AxisAngle rotation = node.rotationAt(time);
    const Float3 scale = node.scaleAt(time);
    State::translateWorld(position.x, position.y, position.z);
    State::rotateWorld(rotation.degrees, rotation.axis.x, rotation.axis.y, rotation.axis.z);
    State::scaleWorld(scale.x, scale.y, scale.z);

    NodeInstance instance;
    instance.node = &node;
    State::getWorld(instance.world);
    const float* m = instance.world;
    instance.worldPosition = {m[12], m[13], m[14]};
    const Float3 p = instance.worldPosition;
    const float* q = projection;
    instance.projected = {q[0] * p.x + q[4] * p.y + q[8] * p.z + q[12],
                          q[1] * p.x + q[5] * p.y + q[9] * p.z + q[13],
                          q[2] * p.x + q[6] * p.y + q[10] * p.z + q[14]};
    switch (node.type) {
        case Zentrix::MeshNodeType: meshInstances.push_back(instance); break;
        case Zentrix::LightNodeType: lightInstances.push_back(instance); break;
        case Zentrix::CameraNodeType: cameraInstances.push_back(instance); break;
        case Zentrix::Kind5Node: kind5Instances.push_back(instance); break;
        default: plainInstances.push_back(instance); break;
    }
    for (const auto& child : node.children) evaluateNode(*child, time, instance.world);
    State::setWorld(parent);
}

void ZTXLoader::drawAt(float time) {
    evaluate(time);
    for (const NodeInstance& instance : meshInstances) {
        Kestrane::State::setWorld(instance.world);
        Kestrane::useDefaultShader();
        if (Geometry* g = geometryOf(instance.node)) g->draw();
    }
}

void ZTXLoader::useCamera(const std::string& name, float time, float aspect) {
    applyCamera(findNode(name), time, aspect);
}

void ZTXLoader::applyCamera(const SceneNode* node, float time, float aspect) {
    using Kestrane::State;
    State::resetAll();
    const auto* camera = dynamic_cast<const Zentrix::CameraNode*>(node);
    if (!camera) return;
    currentCamera.fieldOfView = camera->camera.fieldOfView;
    currentCamera.nearPlane = camera->camera.nearPlane;
    currentCamera.farPlane = camera->camera.farPlane;
    currentCamera.aspect = aspect;
    State::setProjection(currentCamera.fieldOfView, aspect, currentCamera.nearPlane,
                         currentCamera.farPlane);
    currentCamera.eye = camera->positionAt(time);
    const SceneNode* target = findNode(camera->camera.targetName);
    currentCamera.target = target ? target->positionAt(time) : Float3{};
    const Float3 e = currentCamera.eye;
    const Float3 c = currentCamera.target;
    State::setView(e.x, e.y, e.z, c.x, c.y, c.z, 0.0f, 0.0f, -1.0f);
}

}  // namespace KestraneExt
