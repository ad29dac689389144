// Drawable geometry: up to 16 interleaved vertex streams, an optional index
// stream, bindings of stream elements to vertex semantics and a primitive
// type. Meshes of VXM and ZTX files, particles and deformed scene meshes are
// all Geometry.
//
// Use:
//   Geometry g;
//   int slot = g.addStream(std::move(stream));   lowest free slot 0-15; 16
//                          when all are taken (the stream is then left with
//                          the caller).
//   g.bind(slot, element, Semantic::Position);   ...one per fed semantic
//   g.setIndices(std::move(indexStream));  g.setPrimitive(Kestrane::Triangles);
//   g.draw()               enables every binding, draws (indexed, or all
//                          vertices of the lowest stream), disables them.
//   auto a = g.createAttribute(Semantic::Normal);  a->get(i, v); a->set(i, ...)
//   auto ix = g.createIndices();                    ix->get(i); ix->set(i, v)
//                          accessors hold a lock on their stream (a buffer
//                          object stays mapped) until they are destroyed.
//   g.generateTangentFrames(TexCoord0, Normal, TexCoord2, TexCoord3)
// A Geometry owns its streams and index stream. Drawing and buffer-object
// streams need the current GL context.
#pragma once

#include "kestrane_ext/StreamTypes.h"
#include "kestrane_ext/VertexStream.h"
#include "kestrane/Immediate.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace KestraneExt {

// Everything this layer can draw.
class Batch {
public:
    virtual ~Batch() = default;
    virtual void draw() = 0;
};

struct StreamBinding {
    std::int32_t slot;
    std::int32_t element;
    std::int32_t semantic;
};

class Geometry : public Batch {
public:
    static constexpr int MaxStreams = 16;

    // Typed read/write access to one vertex element. get leaves the output
    // components at or beyond the element's component count untouched; set
    // converts to the stored type (integers truncate toward zero, clamped to
    // the type's range). A vertex index outside the stream is a fatal error.
    class Attribute {
    public:
        virtual ~Attribute();
        virtual void get(int vertex, float out[4]) const = 0;
        virtual void set(int vertex, float x, float y = 0.0f, float z = 0.0f, float w = 0.0f) = 0;
        int components() const { return components_; }
        VertexStream* stream() const { return stream_; }
        // The element's bytes in vertex 0 (vertex i lies i * stride further).
        std::uint8_t* elementData() const { return data_; }

    protected:
        Attribute(Geometry* geometry, VertexStream* stream, std::uint8_t* data, int components);
        std::uint8_t* vertexPointer(int vertex) const;

        Geometry* geometry_;
        VertexStream* stream_;
        std::uint8_t* data_;
        int components_;
    };

    template <typename T>
    class TAttribute : public Attribute {
    public:
        TAttribute(Geometry* geometry, VertexStream* stream, std::uint8_t* data, int components)
            : Attribute(geometry, stream, data, components) {}
        void get(int vertex, float out[4]) const override;
        void set(int vertex, float x, float y = 0.0f, float z = 0.0f, float w = 0.0f) override;
    };

    // Typed read/write access to the index stream. An index position outside
    // the stream is a fatal error.
    class Indices {
    public:
        virtual ~Indices();
        virtual std::uint32_t get(int i) const = 0;
        virtual void set(int i, std::uint32_t value) = 0;
        int count() const;

    protected:
        Indices(Geometry* geometry, std::uint8_t* data);
        void check(int i) const;

        Geometry* geometry_;
        std::uint8_t* data_;
    };

    template <typename T>
    class TIndices : public Indices {
    public:
        TIndices(Geometry* geometry, std::uint8_t* data) : Indices(geometry, data) {}
        std::uint32_t get(int i) const override;
        void set(int i, std::uint32_t value) override;
    };

    Geometry() = default;
    ~Geometry() override;
    Geometry(const Geometry&) = delete;
    Geometry& operator=(const Geometry&) = delete;

    int addStream(std::unique_ptr<VertexStream>&& stream);
    // Puts a stream into a given slot (replacing what was there); loaders that
    // number slots by semantic use it.
    void setStream(int slot, std::unique_ptr<VertexStream> stream);
    void bind(int slot, int element, int semantic);
    void setIndices(std::unique_ptr<IndexStream> indices) { indices_ = std::move(indices); }
    void setPrimitive(int primitive) { primitive_ = primitive; }

    VertexStream* stream(int slot) const;
    IndexStream* indices() const { return indices_.get(); }
    int primitive() const { return primitive_; }
    const std::vector<StreamBinding>& bindings() const { return bindings_; }
    // The first binding of a semantic, or null.
    const StreamBinding* findBinding(int semantic) const;
    // The stream in the lowest occupied slot, or null.
    VertexStream* lowestStream() const;

    void draw() override;

    // Null when no binding feeds the semantic, its slot is empty, its type is
    // outside the table or the stream cannot be mapped.
    std::unique_ptr<Attribute> createAttribute(int semantic);
    // Null when there is no index stream or it cannot be mapped.
    std::unique_ptr<Indices> createIndices();

    // Accumulates per-vertex normals, tangents and binormals of an indexed
    // triangle mesh from positions and the texture coordinates fed to
    // texCoordSemantic. Semantics not bound yet get one new stream (3 floats
    // per missing semantic, newStreamUsage). Returns the new stream's slot, or
    // 0 when none was made or a precondition failed (not triangles, no
    // vertices, no position, texture coordinates or indices). Triangles with
    // an index outside the vertices are left out.
    int generateTangentFrames(int texCoordSemantic, int normalSemantic, int tangentSemantic,
                              int binormalSemantic, int newStreamUsage = BufferUsage::StaticDraw);

private:
    std::unique_ptr<IndexStream> indices_;
    std::array<std::unique_ptr<VertexStream>, MaxStreams> streams_;
    std::vector<StreamBinding> bindings_;
    int primitive_ = Kestrane::Triangles;
};

}  // namespace KestraneExt
