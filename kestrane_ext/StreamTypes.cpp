#include "kestrane_ext/StreamTypes.h"

#include "kestrane/Messages.h"

#include "kestrane/GL.h"

#include <string>

namespace KestraneExt {

namespace {
[[noreturn]] void outsideTable(const char* table, int code) {
    Kestrane::fatal("Kestrane Error", std::string(table) + " code " + std::to_string(code) +
                                          " is outside its table");
}
}  // namespace

bool isComponentType(int t) { return t >= ComponentType::Byte && t <= ComponentType::Double; }

int componentSize(int t) {
    static const int sizes[] = {1, 2, 4, 4, 8};
    if (!isComponentType(t)) outsideTable("ComponentType", t);
    return sizes[t];
}

unsigned componentTypeToGL(int t) {
    static const unsigned types[] = {GL_BYTE, GL_SHORT, GL_INT, GL_FLOAT, GL_DOUBLE};
    if (!isComponentType(t)) outsideTable("ComponentType", t);
    return types[t];
}

int indexSize(int t) {
    static const int sizes[] = {1, 2, 4};
    if (t < 0 || t > 2) outsideTable("IndexType", t);
    return sizes[t];
}

unsigned indexTypeToGL(int t) {
    static const unsigned types[] = {GL_UNSIGNED_BYTE, GL_UNSIGNED_SHORT, GL_UNSIGNED_INT};
    if (t < 0 || t > 2) outsideTable("IndexType", t);
    return types[t];
}

unsigned usageToGL(int usage) {
    static const unsigned hints[] = {0,              GL_DYNAMIC_DRAW, GL_DYNAMIC_DRAW,
                                     GL_DYNAMIC_COPY, GL_STATIC_DRAW, GL_STATIC_READ,
                                     GL_STATIC_COPY};
    if (usage < 1 || usage > 6) outsideTable("BufferUsage", usage);
    return hints[usage];
}

}  // namespace KestraneExt
