#include "vessara/Particles.h"

#include "kestrane/Immediate.h"
#include "kestrane_ext/StreamTypes.h"
#include "vessara/Demo.h"
#include "vessara/FatalError.h"

#include <string>

namespace StdVessara {

namespace {

// Offsets of the element entries within one vertex, in floats.
constexpr int PositionAt = 0;
constexpr int ColorAt = 3;
constexpr int TexCoordAt = 7;
constexpr int CornerAt = 9;

// Corner signs in drawing order: (-,-), (+,-), (+,+), (-,+).
constexpr float CornerSign[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};

}  // namespace

Particles::Particles(Vessara::Demo* demo, int particles)
    : Vessara::Drawable(demo, "Untitled"), count(particles)
{
    if (count < 0)
        Vessara::fatalError("Particles: a particle system cannot hold " + std::to_string(count) +
                            " particles");
    const int components[4] = {3, 4, 2, 2};
    stream = std::make_unique<KestraneExt::VertexStream>(
        4, components, VerticesPerParticle * count, KestraneExt::BufferUsage::Dynamic, nullptr);
    for (int i = 0; i < count; ++i) {
        setPosition(i, 0.0f, 0.0f, 0.0f);
        setColor(i, 1.0f, 1.0f, 1.0f, 1.0f);
        setSize(i, 1.0f);
        setTexCoords(i, 0.0f, 0.0f, 1.0f, 1.0f);
    }
    if (vertices) {
        stream->unlock();
        vertices = nullptr;
    }
}

float* Particles::particle(int i)
{
    // Writing outside the buffer would corrupt memory the driver owns.
    if (i < 0 || i >= count)
        Vessara::fatalError("Particles: particle " + std::to_string(i) + " of a system of " +
                            std::to_string(count));
    if (!vertices) {
        vertices = static_cast<float*>(stream->lock(true, true));
        if (!vertices)
            Vessara::fatalError("Particles: the particle vertex buffer cannot be mapped");
    }
    return vertices + static_cast<std::size_t>(i) * VerticesPerParticle * FloatsPerVertex;
}

void Particles::setPosition(int i, float x, float y, float z)
{
    float* v = particle(i);
    for (int corner = 0; corner < VerticesPerParticle; ++corner, v += FloatsPerVertex) {
        v[PositionAt + 0] = x;
        v[PositionAt + 1] = y;
        v[PositionAt + 2] = z;
    }
}

void Particles::setColor(int i, float r, float g, float b, float a)
{
    float* v = particle(i);
    for (int corner = 0; corner < VerticesPerParticle; ++corner, v += FloatsPerVertex) {
        v[ColorAt + 0] = r;
        v[ColorAt + 1] = g;
        v[ColorAt + 2] = b;
        v[ColorAt + 3] = a;
    }
}

void Particles::setSize(int i, float s)
{
    float* v = particle(i);
    for (int corner = 0; corner < VerticesPerParticle; ++corner, v += FloatsPerVertex) {
        v[CornerAt + 0] = CornerSign[corner][0] * s;
        v[CornerAt + 1] = CornerSign[corner][1] * s;
    }
}

void Particles::setTexCoords(int i, float s0, float t0, float s1, float t1)
{
    const float st[4][2] = {{s0, t0}, {s1, t0}, {s1, t1}, {s0, t1}};
    float* v = particle(i);
    for (int corner = 0; corner < VerticesPerParticle; ++corner, v += FloatsPerVertex) {
        v[TexCoordAt + 0] = st[corner][0];
        v[TexCoordAt + 1] = st[corner][1];
    }
}

void Particles::draw()
{
    if (vertices) {
        stream->unlock();
        vertices = nullptr;
    }
    disable(Kestrane::Capability::CullFace);
    useShader("vessara_particles.cg");
    if (const Kestrane::Texture* texture = demo->camera.currentTexture())
        setTexture("tex0", texture);

    using KestraneExt::Semantic::Color;
    using KestraneExt::Semantic::Position;
    using KestraneExt::Semantic::TexCoord0;
    using KestraneExt::Semantic::TexCoord1;
    stream->enable(0, Position);
    stream->enable(1, Color);
    stream->enable(2, TexCoord0);
    stream->enable(3, TexCoord1);
    uploadCamera();
    stream->drawArrays(Kestrane::Quads, 0, VerticesPerParticle * count);
    stream->disable(Position);
    stream->disable(Color);
    stream->disable(TexCoord0);
    stream->disable(TexCoord1);
}

}  // namespace StdVessara
