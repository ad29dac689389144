// Prints the load time of a 100,000-triangle VXM file and ZTX file (read,
// parse, tangent frames, upload to static buffers) and the evaluation time of
// a 1,000-node animated scene. Run from the repository root; needs no display
// (SDL's offscreen driver).
#include "ext/ModelSamples.h"
#include "support/GLTest.h"
#include "support/TestSupport.h"

#include "kestrane_ext/VXMLoader.h"
#include "kestrane_ext/ZTXLoader.h"
#include "kestrane/State.h"

#include <epoxy/gl.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>

using namespace KestraneExt;

namespace {

// Best of several runs, in milliseconds.
double bestMs(int runs, const std::function<void()>& work) {
    double best = 1e30;
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        work();
        glFinish();
        const auto end = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
    }
    return best;
}

ZTXNodeData animatedNode(int i) {
    ZTXNodeData n;
    n.name = "node" + std::to_string(i);
    n.type = i % 6 == 1 ? Zentrix::PlainNode : i % 6;
    if (n.type == Zentrix::MeshNodeType) n.type = Zentrix::PlainNode;
    for (int k = 0; k < 8; ++k) {
        n.positionKeys.push_back({{float(k), float(i % 7), 0.5f * k}, 10.0f * k});
        n.rotationKeys.push_back({{0, 0, std::sin(0.1f * k), std::cos(0.1f * k)}, 10.0f * k});
        n.scaleKeys.push_back({{1, 1, 1.0f + 0.1f * k}, 10.0f * k});
    }
    return n;
}

}  // namespace

int main() {
    testContext();
    TestSupport::TempDir dir;

    const VXMMeshData grid = Samples::grid(224);  // 100,352 triangles
    const std::string vxmPath = dir.file("bench.vxm");
    if (!writeVXM(vxmPath, {grid})) return 1;

    ZTXSceneData ztxData;
    ZTXNodeData mesh;
    mesh.type = Zentrix::MeshNodeType;
    mesh.name = "Grid";
    for (int v = 0; v < grid.vertexCount(); ++v) {
        const float* f = &grid.vertices[static_cast<std::size_t>(v) * 14];
        mesh.mesh.positions.push_back({f[0], f[1], f[2]});
        mesh.mesh.normals.push_back({0, 0, 1});
        mesh.mesh.texCoords[1].push_back({f[6], f[7]});
    }
    mesh.mesh.indices = grid.indices;
    ztxData.nodes.push_back(mesh);
    const std::string ztxPath = dir.file("bench.ztx");
    if (!writeZTX(ztxPath, ztxData)) return 1;

    const double vxmMs = bestMs(5, [&] { VXMLoader vxm(File(vxmPath, "rb"), 4, 4); });
    const double vxmClientMs = bestMs(5, [&] { VXMLoader vxm(File(vxmPath, "rb"), 0, 0); });
    const double ztxMs = bestMs(5, [&] { ZTXLoader ztx(File(ztxPath, "rb")); });
    std::printf("VXM load, %d triangles, static buffers: %.2f ms (client memory %.2f ms)\n",
                grid.triangleCount(), vxmMs, vxmClientMs);
    std::printf("ZTX load, %d triangles, static buffers, frames from channel 1: %.2f ms\n",
                grid.triangleCount(), ztxMs);

    // 1,000 animated nodes: 10 top-level nodes with 99 children each, a
    // quarter of the children with one child of their own.
    ZTXSceneData sceneData;
    int count = 0;
    for (int top = 0; top < 10; ++top) {
        ZTXNodeData parent = animatedNode(count++);
        for (int c = 0; c < 99 && count < 1000; ++c) parent.children.push_back(animatedNode(count++));
        sceneData.nodes.push_back(parent);
    }
    const auto bytes = encodeZTX(sceneData);
    ZTXLoader scene(bytes.data(), bytes.size(), "bench-nodes.ztx");
    Kestrane::State::resetAll();
    float t = 0.0f;
    const double evalMs = bestMs(50, [&] {
        scene.evaluate(t);
        t += 0.7f;
    });
    const std::size_t evaluated = scene.plainInstances.size() + scene.lightInstances.size() +
                                  scene.cameraInstances.size() + scene.kind5Instances.size() +
                                  scene.meshInstances.size();
    std::printf("evaluate, %zu nodes with 8-key tracks: %.3f ms\n", evaluated, evalMs);
    return 0;
}
