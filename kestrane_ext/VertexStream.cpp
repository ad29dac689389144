#include "kestrane_ext/VertexStream.h"

#include "kestrane/cg/Cg.h"
#include "kestrane_ext/StreamTypes.h"
#include "kestrane/Immediate.h"
#include "kestrane/GLDialect.h"
#include "kestrane/Messages.h"
#include "kestrane/VertexInput.h"

#include "kestrane/GL.h"

#include <cstring>
#include <string>

namespace KestraneExt {

namespace {

[[noreturn]] void misuse(const std::string& what) { Kestrane::fatal("Kestrane Error", what); }

// The engine's vertex input slot a semantic feeds: position, texture
// coordinates, normal and colour share their codes with it; tangent and
// binormal go to their generic attributes; 1 and 14-16 feed nothing (-1).
int inputSlot(int semantic) {
    if (semantic == Semantic::Tangent) return 100 + TangentAttribute;
    if (semantic == Semantic::Binormal) return 100 + BinormalAttribute;
    if (semantic >= Semantic::Position && semantic <= Semantic::Color) return semantic;
    return -1;
}

// Locks shared by both stream kinds. A buffer object's lock hands out its
// CPU copy; the last unlock uploads it when a lock wrote.
std::uint8_t* lockBuffer(unsigned buffer, std::size_t bytes, std::uint8_t*& data, StreamCopy& copy,
                         int& lockCount, bool read, bool write) {
    ++lockCount;
    if (buffer && write) copy.written = true;
    if (!buffer && write) copy.drawBufferStale = true;
    if (data) return data;
    if (!buffer || bytes == 0 || (!read && !write)) return nullptr;
    data = copy.bytes.data();
    return data;
}

void unlockBuffer(GLenum target, unsigned buffer, std::uint8_t*& data, StreamCopy& copy, int& lockCount) {
    --lockCount;
    // Only a live lock is released: an extra unlock must not upload or drop
    // a pointer that is not handed out.
    if (lockCount < 1 && buffer && data) {
        if (copy.written) {
            glBindBuffer(target, buffer);
            glBufferSubData(target, 0, static_cast<GLsizeiptr>(copy.bytes.size()), copy.bytes.data());
            copy.written = false;
        }
        data = nullptr;
    }
}

// Where GL cannot draw from client memory: binds the stream's own buffer
// object, uploading the client data first when it changed. Returns whether
// one is bound (pointers are then offsets).
bool bindDrawCopy(GLenum target, const std::uint8_t* client, std::size_t bytes, StreamCopy& copy) {
    if (Kestrane::clientVertexArrays()) return false;
    if (!copy.drawBuffer) glGenBuffers(1, &copy.drawBuffer);
    glBindBuffer(target, copy.drawBuffer);
    if (copy.drawBufferStale) {
        glBufferData(target, static_cast<GLsizeiptr>(bytes), client, GL_DYNAMIC_DRAW);
        copy.drawBufferStale = false;
    }
    return true;
}

}  // namespace

VertexStream::VertexStream(int elementCount, const int* componentCounts, int vertexCount,
                           int usage, const void* initialData, const int* componentTypes)
    : usage_(usage), vertexCount_(vertexCount) {
    if (elementCount < 0 || vertexCount < 0)
        misuse("VertexStream with " + std::to_string(elementCount) + " elements and " +
               std::to_string(vertexCount) + " vertices");
    componentCounts_.assign(componentCounts, componentCounts + elementCount);
    if (componentTypes)
        componentTypes_.assign(componentTypes, componentTypes + elementCount);
    else
        componentTypes_.assign(static_cast<std::size_t>(elementCount), ComponentType::Float);
    for (int i = 0; i < elementCount; ++i) {
        if (componentCounts_[i] < 1 || componentCounts_[i] > 4)
            misuse("VertexStream element " + std::to_string(i) + " has " +
                   std::to_string(componentCounts_[i]) + " components");
        stride_ += componentSize(componentTypes_[i]) * componentCounts_[i];
    }
    byteSize_ = static_cast<std::size_t>(vertexCount) * static_cast<std::size_t>(stride_);
    if (usage != BufferUsage::ClientMemory) {
        const GLenum hint = usageToGL(usage);
        glGenBuffers(1, &buffer_);
        glBindBuffer(GL_ARRAY_BUFFER, buffer_);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(byteSize_), initialData, hint);
        copy_.bytes.assign(byteSize_, 0);
        if (initialData && byteSize_) std::memcpy(copy_.bytes.data(), initialData, byteSize_);
    } else {
        client_ = std::make_unique<std::uint8_t[]>(byteSize_);  // zero-filled
        data_ = client_.get();
        if (initialData && byteSize_) std::memcpy(data_, initialData, byteSize_);
    }
}

VertexStream::~VertexStream() {
    if (buffer_) glDeleteBuffers(1, &buffer_);
    if (copy_.drawBuffer) glDeleteBuffers(1, &copy_.drawBuffer);
}

int VertexStream::elementOffset(int element) const {
    int offset = 0;
    for (int i = 0; i < element; ++i) offset += componentSize(componentTypes_[i]) * componentCounts_[i];
    return offset;
}

void* VertexStream::lock(bool read, bool write) {
    return lockBuffer(buffer_, byteSize_, data_, copy_, lockCount_, read, write);
}

void VertexStream::unlock() { unlockBuffer(GL_ARRAY_BUFFER, buffer_, data_, copy_, lockCount_); }

void VertexStream::enable(int element, int semantic) {
    if (element < 0 || element >= elementCount())
        misuse("VertexStream::enable of element " + std::to_string(element) + " in a stream of " +
               std::to_string(elementCount()));
    const int components = componentCounts_[element];
    const GLenum type = componentTypeToGL(componentTypes_[element]);
    const std::size_t offset = static_cast<std::size_t>(elementOffset(element));
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    const bool inBuffer = buffer_ || bindDrawCopy(GL_ARRAY_BUFFER, data_, byteSize_, copy_);
    const void* pointer = inBuffer ? reinterpret_cast<const void*>(offset)
                                   : static_cast<const void*>(data_ + offset);
    if (semantic >= Semantic::FirstGeneric) {
        glEnableVertexAttribArray(static_cast<GLuint>(semantic));
        glVertexAttribPointer(static_cast<GLuint>(semantic), components, type, GL_FALSE, stride_,
                              pointer);
    } else {
        Kestrane::enableVertexArray(inputSlot(semantic), components, type, stride_, pointer);
    }
}

void VertexStream::disable(int semantic) {
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    if (semantic >= Semantic::FirstGeneric) {
        glDisableVertexAttribArray(static_cast<GLuint>(semantic));
    } else {
        Kestrane::disableVertexArray(inputSlot(semantic));
    }
}

void VertexStream::drawArrays(int primitive, int first, int count) {
    Kestrane::primitiveMode(primitive);
    if (count == -1) count = vertexCount_;
    cgGLPrepareDraw();  // links and updates the bound shader pair
    Kestrane::drawArrays(primitive, first, count);
}

IndexStream::IndexStream(int indexCount, int usage, const void* initialData, int indexType)
    : usage_(usage), indexCount_(indexCount), indexType_(indexType) {
    if (indexCount < 0) misuse("IndexStream with " + std::to_string(indexCount) + " indices");
    const std::size_t bytes = static_cast<std::size_t>(indexCount) *
                              static_cast<std::size_t>(indexSize(indexType));
    if (usage != BufferUsage::ClientMemory) {
        const GLenum hint = usageToGL(usage);
        glGenBuffers(1, &buffer_);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer_);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), initialData, hint);
        copy_.bytes.assign(bytes, 0);
        if (initialData && bytes) std::memcpy(copy_.bytes.data(), initialData, bytes);
    } else {
        client_ = std::make_unique<std::uint8_t[]>(bytes);
        data_ = client_.get();
        if (initialData && bytes) std::memcpy(data_, initialData, bytes);
    }
}

IndexStream::~IndexStream() {
    if (buffer_) glDeleteBuffers(1, &buffer_);
    if (copy_.drawBuffer) glDeleteBuffers(1, &copy_.drawBuffer);
}

void* IndexStream::lock(bool read, bool write) {
    const std::size_t bytes = static_cast<std::size_t>(indexCount_) *
                              static_cast<std::size_t>(indexSize(indexType_));
    return lockBuffer(buffer_, bytes, data_, copy_, lockCount_, read, write);
}

void IndexStream::unlock() { unlockBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer_, data_, copy_, lockCount_); }

void IndexStream::drawIndexed(int primitive, int first, int count) {
    const GLenum mode = Kestrane::primitiveMode(primitive);
    if (primitive == Kestrane::Quads)
        misuse("IndexStream::drawIndexed of quads: quads are drawn from vertex arrays only "
               "(VertexStream::drawArrays); give indexed geometry as triangles");
    const GLenum type = indexTypeToGL(indexType_);
    const std::size_t size = static_cast<std::size_t>(indexSize(indexType_));
    if (count == -1) count = indexCount_;
    cgGLPrepareDraw();  // links and updates the bound shader pair
    if (buffer_) {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer_);
        glDrawElements(mode, count, type, reinterpret_cast<const void*>(first * size));
    } else if (bindDrawCopy(GL_ELEMENT_ARRAY_BUFFER, data_,
                            static_cast<std::size_t>(indexCount_) * size, copy_)) {
        glDrawElements(mode, count, type, reinterpret_cast<const void*>(first * size));
    } else {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        glDrawElements(mode, count, type, data_ + first * size);
    }
}

}  // namespace KestraneExt
