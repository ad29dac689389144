// Authoring ZTX115 scenes: materials, a node tree of plain, mesh, light and
// camera nodes, key-framed position, rotation and scale tracks, and cameras
// with their target nodes. Coordinates are the file's (z up). The loader
// turns node positions, rotations and scales from the file's (x, y, z) into
// the renderer's (x, z, -y), but uploads mesh vertices exactly as stored.
// mesh() stores a y-up mesh (MeshShapes.h) as toFileAxes() of its vertices,
// so under a camera whose up is the renderer's +y it lies on its back. The
// show's ZTX scenes look with up (0, 0, -1) and turn their y-up meshes
// before handing them in so that they stand as wanted in that frame (see
// upright() in ContentDragonfly.cpp, fromYUp() in ContentBalloon.cpp and
// asRendered() in ContentStrawberry.h).
//
// Use:
//   SceneBuilder b;
//   b.material("skin", "skin.jpg");                         textured (or colour, alpha)
//   auto& box = b.mesh("Box01", mesh, "skin");             top-level mesh node
//   b.positionKey(box, 0, {0, 0, 0});  b.positionKey(box, 100, {50, 0, 0});
//   b.rotationKey(box, 0, {0, 0, 1}, 0);  b.rotationKey(box, 100, {0, 0, 1}, 3.14f);
//   b.camera("Camera01", {0, -200, 50}, {0, 0, 0}, 45, 1, 1000);   adds "Camera01.Target"
//   std::vector<uint8_t> bytes = b.encode();               (encodeZTX)
// Node references stay valid until the next node is added to the same
// parent list (they live in vectors): key them before adding siblings.
#pragma once

#include "Mesh.h"

#include "kestrane_ext/ZTXWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Forge {

// (x, y, z) with y up  ->  the file's (x, -z, y) with z up.
Float3 toFileAxes(Float3 p);

class SceneBuilder {
public:
    KestraneExt::ZTXMaterialData& material(const std::string& name, const std::string& textureMap = "",
                                           Float3 colour = {1, 1, 1}, float alpha = 1.0f,
                                           const std::string& bumpMap = "");
    // A mesh node holding positions, smooth normals and texture channels 0
    // and 1 (the loader builds tangent frames from channel 1). parent null:
    // a top-level node.
    KestraneExt::ZTXNodeData& mesh(const std::string& name, const Mesh& mesh, const std::string& material,
                                   KestraneExt::ZTXNodeData* parent = nullptr);
    KestraneExt::ZTXNodeData& node(const std::string& name, KestraneExt::ZTXNodeData* parent = nullptr);
    // A camera node at eye and a plain node "<name>.Target" at target, both
    // top level; returns the camera (key the target through findTop()).
    KestraneExt::ZTXNodeData& camera(const std::string& name, Float3 eye, Float3 target, float fieldOfView,
                                     float nearPlane, float farPlane);
    KestraneExt::ZTXNodeData* findTop(const std::string& name);

    // Keys must be added in increasing time.
    static void positionKey(KestraneExt::ZTXNodeData& node, float time, Float3 position);
    static void scaleKey(KestraneExt::ZTXNodeData& node, float time, Float3 scale);
    // Rotation by angle (radians) about axis, stored as a quaternion.
    static void rotationKey(KestraneExt::ZTXNodeData& node, float time, Float3 axis, float angle);
    static KestraneExt::Quaternion axisAngle(Float3 axis, float angle);

    std::vector<std::uint8_t> encode() const { return KestraneExt::encodeZTX(scene); }

    KestraneExt::ZTXSceneData scene;

private:
    KestraneExt::ZTXNodeData& add(KestraneExt::ZTXNodeData&& node, KestraneExt::ZTXNodeData* parent);
};

}  // namespace Forge
