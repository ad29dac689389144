// Vertex and index arrays of the geometry layer, in client memory or in GL
// buffer objects.
//
// Use:
//   VertexStream s(elements, counts, vertexCount, usage, data, types);
//                         one interleaved array: element entries one after
//                         another without gaps, stride = their total size.
//                         usage 0 keeps the data in client memory; 1-6 upload
//                         it to a buffer object with that usage hint.
//   s.lock(read, write)   CPU pointer; s.unlock() releases it. A buffer
//                         object's data is handed out from the stream's own
//                         copy, and written back to GL by the last unlock when
//                         any lock wrote (neither GL dialect maps buffers: WebGL
//                         cannot); the pointer stays while any lock is held, so
//                         several accessors share it.
//   s.enable(element, semantic) / s.disable(semantic)   feed one element to
//                         a vertex semantic (see StreamTypes.h); Geometry does
//                         this when it draws.
//   IndexStream i(count, usage, data, indexType);  i.drawIndexed(primitive)
// Streams need the current GL context when they use buffer objects or draw;
// client-memory streams can be built, locked and edited without one. Where
// GL cannot draw from client memory (GLDialect.h), a client-memory stream
// draws from a buffer object of its own, refreshed after it was written.
// Each stream owns its storage (array or buffer object) and frees it when
// destroyed; streams are not copyable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace KestraneExt {

// The second copy of a stream's data: a buffer object's CPU copy, or a
// client-memory stream's buffer object for drawing (see above).
struct StreamCopy {
    std::vector<std::uint8_t> bytes;  // buffer objects: what GL holds
    bool written = false;             // a lock since the last upload wrote
    unsigned drawBuffer = 0;          // client memory: its GL copy, or 0
    bool drawBufferStale = true;
};

class VertexStream {
public:
    // componentTypes may be null: every element is Float. initialData may be
    // null. vertexCount and elementCount must not be negative, component
    // counts are 1-4.
    VertexStream(int elementCount, const int* componentCounts, int vertexCount, int usage,
                 const void* initialData, const int* componentTypes = nullptr);
    ~VertexStream();
    VertexStream(const VertexStream&) = delete;
    VertexStream& operator=(const VertexStream&) = delete;

    void* lock(bool read, bool write);
    void unlock();
    void enable(int element, int semantic);
    void disable(int semantic);
    // count -1 draws every vertex.
    void drawArrays(int primitive, int first, int count = -1);

    int usage() const { return usage_; }
    unsigned buffer() const { return buffer_; }
    std::size_t byteSize() const { return byteSize_; }
    int elementCount() const { return static_cast<int>(componentCounts_.size()); }
    int componentCount(int element) const { return componentCounts_.at(static_cast<std::size_t>(element)); }
    int componentType(int element) const { return componentTypes_.at(static_cast<std::size_t>(element)); }
    // Byte offset of an element entry within one vertex.
    int elementOffset(int element) const;
    int stride() const { return stride_; }
    int vertexCount() const { return vertexCount_; }
    // The CPU pointer: client array, or the mapping while locked, else null.
    std::uint8_t* data() const { return data_; }
    int lockCount() const { return lockCount_; }

private:
    int usage_;
    unsigned buffer_ = 0;
    std::size_t byteSize_ = 0;
    std::vector<int> componentCounts_;
    std::vector<int> componentTypes_;
    int stride_ = 0;
    int vertexCount_;
    std::uint8_t* data_ = nullptr;
    int lockCount_ = 0;
    std::unique_ptr<std::uint8_t[]> client_;  // client-memory storage
    StreamCopy copy_;
};

class IndexStream {
public:
    IndexStream(int indexCount, int usage, const void* initialData, int indexType);
    ~IndexStream();
    IndexStream(const IndexStream&) = delete;
    IndexStream& operator=(const IndexStream&) = delete;

    void* lock(bool read, bool write);
    void unlock();
    // count -1 draws every index.
    void drawIndexed(int primitive, int first, int count = -1);

    int usage() const { return usage_; }
    unsigned buffer() const { return buffer_; }
    int indexCount() const { return indexCount_; }
    int indexType() const { return indexType_; }
    std::uint8_t* data() const { return data_; }
    int lockCount() const { return lockCount_; }

private:
    int usage_;
    std::uint8_t* data_ = nullptr;
    unsigned buffer_ = 0;
    int indexCount_;
    int indexType_;
    int lockCount_ = 0;
    std::unique_ptr<std::uint8_t[]> client_;
    StreamCopy copy_;
};

}  // namespace KestraneExt
