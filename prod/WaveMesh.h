// Prod::WaveMesh: a cached VXM mesh bent by a wave of rotation. Every vertex
// turns its undeformed position by angles sampled from a spin track (and is
// moved by an optional drift track) at the wave time w = 3.8 T - 0.012 r, so
// the centre follows the tracks and each vertex lags behind it in proportion
// to its distance r from the centre. The Underwater scene (sea star, with
// drift) and the Skate scene (board, no drift) share it.
//
// Use:
//   WaveMesh wave;                      empty
//   wave.prepare(scene, "seastar.vxm")  once: the file's first mesh, its
//                                       vertices moved to a dynamic buffer, its
//                                       tangent frames, base positions and radii
//   wave.deform(T, spin, &drift)        every frame, before the mesh is drawn:
//                                       positions rewritten, tangent frames again,
//                                       in one mapping of the buffer
//   wave.geometry->draw()
// The mesh stays the resource cache's; rewriting it in place makes the cached
// file this scene's own. Nothing is allocated per frame.
#pragma once

#include "kestrane/Float3.h"
#include "kestrane_ext/KeyTrack.h"

#include <string>
#include <vector>

namespace KestraneExt {
class Geometry;
}

namespace Vessara {
class Drawable;
}

namespace Prod {

class WaveMesh {
public:
    // Looks the file up in the scene's mesh cache (fatal when it is not
    // cached, holds no mesh or its first mesh has no positions) and prepares
    // its first mesh. Preparing again starts afresh.
    void prepare(Vessara::Drawable& scene, const std::string& meshName);
    // The same on a given geometry; `name` is for the messages.
    void prepare(KestraneExt::Geometry& mesh, const std::string& name);

    // Rewrites every vertex: base position turned about z by a.z, about y by
    // a.y, about x by a.z again (a = spin at w; a.x is not used), plus the
    // drift at w when there is a drift track; then regenerates the tangent
    // frames.
    void deform(float T, const KestraneExt::KeyTrack& spin, const KestraneExt::KeyTrack* drift);

    // 3.8 T - 0.012 r.
    static float waveTime(float T, float radius);

    KestraneExt::Geometry* geometry = nullptr;  // not owned
    std::vector<Kestrane::Float3> basePositions;
    std::vector<float> baseRadii;
    int vertexCount = 0;
};

}  // namespace Prod
