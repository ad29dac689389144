#include "kestrane/GL.h"

#include "kestrane/Immediate.h"

#include "kestrane/Messages.h"
#include "kestrane/VertexInput.h"
#include "kestrane/cg/Cg.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace Kestrane {

namespace {

// Every slot keeps a current value, as GL's attributes do; a vertex is the
// current values at the moment its position arrives. Slot codes map onto
// 27 dense indices: position, eight texture units, normal, colour and the
// sixteen generic attributes.
constexpr int DenseSlots = 27;
using Value = std::array<float, 4>;
using VertexRecord = std::array<Value, DenseSlots>;

int denseIndex(int slot) {
    if (slot == 0) return 0;
    if (slot >= 2 && slot <= 9) return slot - 1;   // 1-8
    if (slot == 10 || slot == 11) return slot - 1;  // 9, 10
    if (slot >= 100 && slot <= 115) return slot - 89;  // 11-26
    return -1;
}

int slotOf(int dense) {
    if (dense == 0) return 0;
    if (dense <= 10) return dense + 1;
    return dense + 89;
}

// The vertices between begin and end, drawn from one vertex buffer of our
// own.
struct ImmediateBuffer {
    VertexRecord current{};
    std::vector<VertexRecord> vertices;
    std::vector<float> packed;
    std::uint32_t used = 0;  // dense slots given inside the open primitive
    int type = -1;           // -1 while no primitive is open
    GLuint buffer = 0;

    ImmediateBuffer() {
        for (Value& v : current) v = {0.0f, 0.0f, 0.0f, 1.0f};
        current[9] = {0.0f, 0.0f, 1.0f, 1.0f};   // normal
        current[10] = {1.0f, 1.0f, 1.0f, 1.0f};  // colour
    }
};

ImmediateBuffer& immediate() {
    static ImmediateBuffer buffer;
    return buffer;
}

void draw(ImmediateBuffer& im) {
    const int count = static_cast<int>(im.vertices.size());
    if (count == 0) return;
    std::vector<int> slots;
    for (int dense = 0; dense < DenseSlots; ++dense) {
        if (im.used & (1u << dense)) slots.push_back(dense);
    }
    const int floatsPerVertex = 4 * static_cast<int>(slots.size());
    im.packed.resize(static_cast<std::size_t>(count) * static_cast<std::size_t>(floatsPerVertex));
    float* out = im.packed.data();
    for (const VertexRecord& vertex : im.vertices) {
        for (int dense : slots) {
            std::memcpy(out, vertex[dense].data(), sizeof(Value));
            out += 4;
        }
    }

    if (!im.buffer) glGenBuffers(1, &im.buffer);
    glBindBuffer(GL_ARRAY_BUFFER, im.buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(im.packed.size() * sizeof(float)),
                 im.packed.data(), GL_STREAM_DRAW);
    const int stride = floatsPerVertex * static_cast<int>(sizeof(float));
    for (std::size_t i = 0; i < slots.size(); ++i) {
        enableVertexArray(slotOf(slots[i]), 4, GL_FLOAT, stride,
                          reinterpret_cast<const void*>(i * sizeof(Value)));
    }
    drawArrays(im.type, 0, count);
    for (int dense : slots) {
        const int slot = slotOf(dense);
        disableVertexArray(slot);
        // The last value given stays current, as after glEnd.
        if (slot != 0) setVertexConstant(slot, im.current[dense].data());
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

}  // namespace

unsigned primitiveMode(int type)
{
    // Quads are drawn as triangles (drawArrays), since not every GL has them.
    static const GLenum modes[] = {GL_POINTS, GL_LINES, GL_LINE_STRIP, GL_TRIANGLES, GL_TRIANGLES};
    if (type < 0 || type > 4)
        fatal("Kestrane Error", "Primitive type " + std::to_string(type) + " is not one of 0-4 "
                                "(points, lines, line strip, triangles, quads)");
    return modes[type];
}

void drawArrays(int type, int first, int count)
{
    const GLenum mode = primitiveMode(type);
    if (type != Quads) {
        glDrawArrays(mode, first, count);
        return;
    }
    // Quads as triangles a b c and a c d (the winding kept), through an index
    // list; the vertices of an unfinished quad are dropped, as GL drops them.
    static std::vector<GLuint> indices;
    static GLuint indexBuffer = 0;
    indices.clear();
    for (int q = 0; q + 3 < count; q += 4) {
        for (int corner : {0, 1, 2, 0, 2, 3}) indices.push_back(static_cast<GLuint>(first + q + corner));
    }
    if (indices.empty()) return;
    if (!indexBuffer) glGenBuffers(1, &indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(GLuint)),
                 indices.data(), GL_STREAM_DRAW);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, nullptr);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void begin(int type)
{
    primitiveMode(type);
    ImmediateBuffer& im = immediate();
    if (im.type != -1) fatal("Kestrane Error", "begin inside an unfinished primitive (no end)");
    im.type = type;
    im.used = 1u;  // the position
    im.vertices.clear();
}

void vertexAttribute(int slot, const float v[4])
{
    const int dense = denseIndex(slot);
    if (dense < 0) return;
    ImmediateBuffer& im = immediate();
    std::memcpy(im.current[dense].data(), v, sizeof(Value));
    if (im.type == -1) {
        // Outside a primitive the value is the constant every later drawing
        // without an array for this slot reads.
        setVertexConstant(slot, v);
        return;
    }
    im.used |= 1u << dense;
    if (dense == 0) im.vertices.push_back(im.current);
}

void vertexAttribute(int slot, float x, float y, float z, float w)
{
    const float v[4] = {x, y, z, w};
    vertexAttribute(slot, v);
}

void end()
{
    ImmediateBuffer& im = immediate();
    if (im.type == -1) fatal("Kestrane Error", "end without begin");
    // Links and makes current the bound shader pair, with its parameter values.
    cgGLPrepareDraw();
    draw(im);
    im.type = -1;
}

}  // namespace Kestrane
