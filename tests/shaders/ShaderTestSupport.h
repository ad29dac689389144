// Helpers shared by the shader tests: quads through the engine's immediate
// mode, an error-handler swap that counts runtime errors instead of ending
// the process.
#pragma once

#include "support/GLTest.h"

#include "kestrane/Immediate.h"
#include "kestrane/cg/Cg.h"

#include <string>

namespace ShaderTests {

// Cg declarations of the six matrices the engine uploads, for test programs.
inline const std::string stateMatrices =
    "float4x4 StateWorld;\nfloat4x4 StateView;\nfloat4x4 StateProjection;\n"
    "float4x4 StateWorldView;\nfloat4x4 StateViewProjection;\nfloat4x4 StateComplete;\n";

// Quad in the z = 0 plane with texture coordinates 0..1, counter-clockwise.
inline void drawQuad(float x0, float y0, float x1, float y1, float z = 0.0f) {
    Kestrane::begin(Kestrane::Quads);
    Kestrane::vertexAttribute(2, 0.0f, 0.0f, 0.0f, 1.0f);
    Kestrane::vertexAttribute(0, x0, y0, z, 1.0f);
    Kestrane::vertexAttribute(2, 1.0f, 0.0f, 0.0f, 1.0f);
    Kestrane::vertexAttribute(0, x1, y0, z, 1.0f);
    Kestrane::vertexAttribute(2, 1.0f, 1.0f, 0.0f, 1.0f);
    Kestrane::vertexAttribute(0, x1, y1, z, 1.0f);
    Kestrane::vertexAttribute(2, 0.0f, 1.0f, 0.0f, 1.0f);
    Kestrane::vertexAttribute(0, x0, y1, z, 1.0f);
    Kestrane::end();
}

inline void drawFullScreen() { drawQuad(-1.0f, -1.0f, 1.0f, 1.0f); }

inline int& errorCount() {
    static int count = 0;
    return count;
}

inline void countError() { ++errorCount(); }

// While alive, runtime errors are counted (the failing call returns) rather
// than ending the process; the engine's handler is put back afterwards.
class CountErrors {
public:
    CountErrors() : previous(cgGetErrorCallback()) {
        errorCount() = 0;
        cgSetErrorCallback(countError);
    }
    ~CountErrors() { cgSetErrorCallback(previous); }
    int count() const { return errorCount(); }

private:
    CGerrorCallbackFunc previous;
};

}  // namespace ShaderTests
