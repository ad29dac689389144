// Vertex and index arrays of the geometry layer, in client memory or in GL
// buffer objects.
//
// Use:
//   VertexStream s(elements, counts, vertexCount, usage, data, types);
//                         one interleaved array: element entries one after
//                         another without gaps, stride = their total size.
//                         usage 0 keeps the data in client memory; 1-6 upload
//                         it to a buffer object with that usage hint.
//   s.lock(read, write)   CPU pointer (maps a buffer object); s.unlock()
//                         releases it; the mapping stays while any lock is
//                         held, so several accessors share one mapping.
//   s.enable(element, semantic) / s.disable(semantic)   feed one element to
//                         a vertex semantic (see StreamTypes.h); Geometry does
//                         this when it draws.
//   IndexStream i(count, usage, data, indexType);  i.drawIndexed(primitive)
// Streams need the current GL context when they use buffer objects or draw;
// client-memory streams can be built, locked and edited without one.
// Each stream owns its storage (array or buffer object) and frees it when
// destroyed; streams are not copyable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace KestraneExt {

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
};

}  // namespace KestraneExt
