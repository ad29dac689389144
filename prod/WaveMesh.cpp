#include "prod/WaveMesh.h"

#include "kestrane_ext/Geometry.h"
#include "kestrane_ext/StreamTypes.h"
#include "kestrane_ext/VertexStream.h"
#include "kestrane_ext/VXMLoader.h"
#include "prod/Animation.h"
#include "vessara/Drawable.h"
#include "vessara/FatalError.h"
#include "vessara/ResourceProxies.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace Prod {

namespace {

using KestraneExt::Semantic::Normal;
using KestraneExt::Semantic::Position;
using KestraneExt::Semantic::TexCoord0;
using KestraneExt::Semantic::TexCoord2;
using KestraneExt::Semantic::TexCoord3;

void generateFrames(KestraneExt::Geometry& mesh)
{
    mesh.generateTangentFrames(TexCoord0, Normal, TexCoord2, TexCoord3);
}

// The stream that holds the positions moves into a buffer with the dynamic
// usage hint, since it is rewritten every frame; client memory stays as it is.
void makeDynamic(KestraneExt::Geometry& mesh)
{
    using KestraneExt::BufferUsage::ClientMemory;
    using KestraneExt::BufferUsage::Dynamic;
    auto positions = mesh.createAttribute(Position);
    if (!positions)
        return;
    const KestraneExt::VertexStream* old = positions->stream();
    if (old->usage() == ClientMemory || old->usage() == Dynamic)
        return;
    int slot = 0;
    while (slot < KestraneExt::Geometry::MaxStreams && mesh.stream(slot) != old)
        ++slot;
    if (slot == KestraneExt::Geometry::MaxStreams)
        return;
    // The accessor holds the stream mapped: its data is the whole stream.
    std::vector<std::uint8_t> bytes(old->byteSize());
    std::memcpy(bytes.data(), old->data(), bytes.size());
    std::vector<int> counts, types;
    for (int e = 0; e < old->elementCount(); ++e) {
        counts.push_back(old->componentCount(e));
        types.push_back(old->componentType(e));
    }
    const int vertexCount = old->vertexCount();
    positions.reset();  // unmapped before the old stream goes
    mesh.setStream(slot, std::make_unique<KestraneExt::VertexStream>(static_cast<int>(counts.size()), counts.data(),
                                                                      vertexCount, Dynamic, bytes.data(),
                                                                      types.data()));
}

}  // namespace

void WaveMesh::prepare(Vessara::Drawable& scene, const std::string& meshName)
{
    const KestraneExt::VXMLoader* file = (*scene.meshes)[meshName];
    if (file->meshCount() < 1)
        Vessara::fatalError("\"" + meshName + "\" holds no mesh to deform");
    prepare(file->mesh(0), meshName);
}

void WaveMesh::prepare(KestraneExt::Geometry& mesh, const std::string& name)
{
    // 1. The mesh, in a dynamic buffer, and its tangent frames.
    geometry = &mesh;
    makeDynamic(mesh);
    generateFrames(mesh);

    // 2. Undeformed positions and their distances from the centre.
    auto positions = mesh.createAttribute(Position);
    if (!positions)
        Vessara::fatalError("\"" + name + "\" has no vertex positions to deform");
    vertexCount = positions->stream()->vertexCount();
    basePositions.clear();
    baseRadii.clear();
    basePositions.reserve(static_cast<std::size_t>(vertexCount));
    baseRadii.reserve(static_cast<std::size_t>(vertexCount));
    for (int i = 0; i < vertexCount; ++i) {
        float p[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        positions->get(i, p);
        basePositions.push_back({p[0], p[1], p[2]});
        baseRadii.push_back(std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]));
    }
}

float WaveMesh::waveTime(float T, float radius)
{
    return 3.8f * T - 0.012f * radius;
}

void WaveMesh::deform(float T, const KestraneExt::KeyTrack& spin, const KestraneExt::KeyTrack* drift)
{
    if (!geometry)
        return;
    // The positions' accessor keeps the vertex buffer mapped while the
    // tangent frames are made (their accessors share the mapping), so the
    // buffer is mapped and uploaded once a frame.
    auto positions = geometry->createAttribute(Position);
    for (int i = 0; i < vertexCount; ++i) {
        const float w = waveTime(T, baseRadii[static_cast<std::size_t>(i)]);
        const Kestrane::Float3 a = spin.sampleCubic(w);
        Kestrane::Float3 v = basePositions[static_cast<std::size_t>(i)];
        rotate(v, {0.0f, 0.0f, 1.0f}, a.z);
        rotate(v, {0.0f, 1.0f, 0.0f}, a.y);
        rotate(v, {1.0f, 0.0f, 0.0f}, a.z);
        if (drift)
            v = v + drift->sampleCubic(w);
        positions->set(i, v.x, v.y, v.z, 1.0f);
    }
    generateFrames(*geometry);
}

}  // namespace Prod
