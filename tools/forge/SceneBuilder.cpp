#include "SceneBuilder.h"

#include <cmath>

namespace Forge {

Float3 toFileAxes(Float3 p) { return {p.x, -p.z, p.y}; }

KestraneExt::ZTXMaterialData& SceneBuilder::material(const std::string& name, const std::string& textureMap,
                                                     Float3 colour, float alpha, const std::string& bumpMap) {
    KestraneExt::ZTXMaterialData m;
    m.name = name;
    m.textureMap = textureMap;
    m.bumpMap = bumpMap;
    m.colors = {colour, colour, colour, colour};
    m.scalars = {alpha, 0.0f, 0.0f};
    scene.materials.push_back(std::move(m));
    return scene.materials.back();
}

KestraneExt::ZTXNodeData& SceneBuilder::add(KestraneExt::ZTXNodeData&& node, KestraneExt::ZTXNodeData* parent) {
    auto& list = parent ? parent->children : scene.nodes;
    list.push_back(std::move(node));
    return list.back();
}

KestraneExt::ZTXNodeData& SceneBuilder::mesh(const std::string& name, const Mesh& mesh, const std::string& material,
                                             KestraneExt::ZTXNodeData* parent) {
    KestraneExt::ZTXNodeData n;
    n.type = Zentrix::MeshNodeType;
    n.name = name;
    n.mesh.material = material;
    const std::vector<Float3> normals = mesh.normals();
    for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
        const MeshVertex& v = mesh.vertices[i];
        n.mesh.positions.push_back(toFileAxes(v.position));
        n.mesh.normals.push_back(toFileAxes(normals[i]));
        n.mesh.texCoords[0].push_back({v.u, v.v});
        n.mesh.texCoords[1].push_back({v.u, v.v});
    }
    // Turning the axes keeps handedness, so the winding stays; the loader's
    // normal convention is the reverse of ours, as for VXM.
    for (const auto& t : mesh.triangles) {
        n.mesh.indices.push_back(t[0]);
        n.mesh.indices.push_back(t[2]);
        n.mesh.indices.push_back(t[1]);
    }
    return add(std::move(n), parent);
}

KestraneExt::ZTXNodeData& SceneBuilder::node(const std::string& name, KestraneExt::ZTXNodeData* parent) {
    KestraneExt::ZTXNodeData n;
    n.type = Zentrix::PlainNode;
    n.name = name;
    return add(std::move(n), parent);
}

KestraneExt::ZTXNodeData& SceneBuilder::camera(const std::string& name, Float3 eye, Float3 target, float fieldOfView,
                                               float nearPlane, float farPlane) {
    KestraneExt::ZTXNodeData t;
    t.type = Zentrix::PlainNode;
    t.name = name + ".Target";
    t.position = target;
    scene.nodes.push_back(std::move(t));
    KestraneExt::ZTXNodeData c;
    c.type = Zentrix::CameraNodeType;
    c.name = name;
    c.position = eye;
    c.camera.targetName = name + ".Target";
    c.camera.fieldOfView = fieldOfView;
    c.camera.nearPlane = nearPlane;
    c.camera.farPlane = farPlane;
    scene.nodes.push_back(std::move(c));
    return scene.nodes.back();
}

KestraneExt::ZTXNodeData* SceneBuilder::findTop(const std::string& name) {
    for (auto& n : scene.nodes)
        if (n.name == name) return &n;
    return nullptr;
}

void SceneBuilder::positionKey(KestraneExt::ZTXNodeData& node, float time, Float3 position) {
    if (node.positionKeys.empty()) node.position = position;
    node.positionKeys.push_back({position, time});
}

void SceneBuilder::scaleKey(KestraneExt::ZTXNodeData& node, float time, Float3 scale) {
    if (node.scaleKeys.empty()) node.scale = scale;
    node.scaleKeys.push_back({scale, time});
}

KestraneExt::Quaternion SceneBuilder::axisAngle(Float3 axis, float angle) {
    const Float3 k = normalize(axis);
    const float s = std::sin(angle * 0.5f);
    return {k.x * s, k.y * s, k.z * s, std::cos(angle * 0.5f)};
}

void SceneBuilder::rotationKey(KestraneExt::ZTXNodeData& node, float time, Float3 axis, float angle) {
    const KestraneExt::Quaternion q = axisAngle(axis, angle);
    if (node.rotationKeys.empty()) node.rotation = q;
    node.rotationKeys.push_back({q, time});
}

}  // namespace Forge
