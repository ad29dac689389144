// A ZTX scene ready to evaluate and draw: the Zentrix::Scene model plus one
// Geometry per mesh node (static-draw buffer objects), evaluation of the node
// tree at an animation time into instance lists, and scene cameras.
//
// Use:
//   ZTXLoader ztx(File("data/x.ztx", "rb"));      reads and uploads (needs GL)
//   ztx.evaluate(t)      fills meshInstances, lightInstances, cameraInstances,
//                        plainInstances (types 0 and 4), kind5Instances with
//                        each node's World matrix, depth first, parents first;
//                        World is composed onto the caller's and left as it was.
//   ztx.drawAt(t)        evaluate, then each mesh with the default shader.
//   ztx.useCamera("Camera01", t, aspect)   resets the three matrices, then sets
//                        Projection and View from that camera node (and its
//                        target node); a missing name stops after the reset.
//   ztx.findGeometry(name), ztx.geometryOf(node)
// The instance lists are refilled by every evaluate: read them, do not keep
// them. The loader owns its geometries and lives as long as its user.
#pragma once

#include "kestrane_ext/Geometry.h"
#include "kestrane_ext/Scene.h"

#include <map>
#include <memory>
#include <vector>

namespace KestraneExt {

struct NodeInstance {
    const Zentrix::SceneNode* node = nullptr;
    float world[16] = {};
    Float3 worldPosition;  // world applied to the origin
    Float3 projected;      // Projection applied to worldPosition, w dropped
};

struct SceneCamera {
    Float3 eye;
    Float3 target;
    float fieldOfView = 0.0f;
    float nearPlane = 0.0f;
    float farPlane = 0.0f;
    float aspect = 0.0f;
};

class ZTXLoader : public Batch, public Zentrix::Scene {
public:
    // usage: buffer usage of the mesh streams (4, static draw, needs GL;
    // 0 keeps them in client memory).
    explicit ZTXLoader(File file, int usage = BufferUsage::StaticDraw);
    // Parses bytes as the file named fileName; throws FormatError.
    ZTXLoader(const std::uint8_t* bytes, std::size_t size, const std::string& fileName,
              int usage = BufferUsage::StaticDraw);
    ~ZTXLoader() override;

    void draw() override { drawAt(0.0f); }
    virtual void drawAt(float time);

    void evaluate(float time);
    // The geometry of a mesh node; null for any other node or null.
    Geometry* geometryOf(const Zentrix::SceneNode* node) const;
    Geometry* findGeometry(const std::string& name) const { return geometryOf(findNode(name)); }

    void useCamera(const std::string& name, float time, float aspect);
    // camera null or not a camera node: only the reset happens.
    void applyCamera(const Zentrix::SceneNode* camera, float time, float aspect);
    const SceneCamera& camera() const { return currentCamera; }

    std::vector<NodeInstance> lightInstances;
    std::vector<NodeInstance> meshInstances;
    std::vector<NodeInstance> kind5Instances;
    std::vector<NodeInstance> plainInstances;
    std::vector<NodeInstance> cameraInstances;

protected:
    std::map<const Zentrix::MeshNode*, std::unique_ptr<Geometry>> geometries;
    SceneCamera currentCamera;

private:
    void buildGeometry(const Zentrix::SceneNode& node, int usage);
    void evaluateNode(const Zentrix::SceneNode& node, float time, const float parent[16]);
    float projection[16] = {};
};

}  // namespace KestraneExt
