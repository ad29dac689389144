// StdVessara::Particles: a fixed number of camera-facing textured quads kept
// in one dynamic vertex buffer object and drawn with one call through
// "vessara_particles.cg", textured with the demo's current texture (shared
// slot 0 of the camera block).
//
// Use:
//   static auto* p = new Particles(demo, 200);   once (needs GL): every particle
//                    at the origin, white, size 1, the whole texture.
//   p->setPosition(i, x, y, z); p->setColor(i, r, g, b, a); p->setSize(i, s);
//   p->setTexCoords(i, s0, t0, s1, t1);   the first setter after a draw maps
//                    the buffer; each writes the four corners of particle i
//                    (0 <= i < count; another index is fatal).
//   blending and depth writes as the scene wants; setCurrentTexture(name);
//   p->draw();       unmaps (uploads the changes), culling off, binds the
//                    shader and texture, uploads camera and matrices (World as
//                    the caller left it), one draw of all quads.
// Vertex layout, 11 floats, four vertices per particle: position (3), colour
// (4), texture coordinate (2), corner offset (2: (-s,-s), (s,-s), (s,s), (-s,s)).
// The buffer is made once; nothing is allocated per frame. Lives until
// process exit, like every drawable.
#pragma once

#include "kestrane_ext/VertexStream.h"
#include "vessara/Drawable.h"

#include <cstdint>
#include <memory>

namespace StdVessara {

class Particles : public Vessara::Drawable {
public:
    static constexpr int FloatsPerVertex = 11;
    static constexpr int VerticesPerParticle = 4;

    Particles(Vessara::Demo* demo, int count);

    void setPosition(int i, float x, float y, float z);
    void setColor(int i, float r, float g, float b, float a);
    void setSize(int i, float s);
    void setTexCoords(int i, float s0, float t0, float s1, float t1);
    // Same signature as Drawable::draw, so it is also what the runtime's
    // warm-up pass calls: the particles are drawn once there too.
    void draw() override;

    int particleCount() const { return count; }
    const KestraneExt::VertexStream& vertexStream() const { return *stream; }

private:
    // The four vertices of particle i in the mapped buffer, mapping it first
    // when no setter has since the last draw.
    float* particle(int i);

    float* vertices = nullptr;  // into the mapped buffer while a setter holds it
    std::int32_t count;
    std::unique_ptr<KestraneExt::VertexStream> stream;
};

}  // namespace StdVessara
