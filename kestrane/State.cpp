#include "kestrane/State.h"

#include "kestrane/GL.h"
#include "kestrane/GLDialect.h"

#include "kestrane/Matrix.h"
#include "kestrane/Messages.h"

#include <cstddef>
#include <cstring>
#include <string>

namespace Kestrane {

namespace {

// Capabilities both dialects have; -1 marks the fixed-function ones, which
// GLDialect.h maps (0 where the dialect has none).
constexpr int fixedFunction = -1;
constexpr int capabilityTable[] = {
    GL_BLEND, GL_DEPTH_TEST, fixedFunction, GL_STENCIL_TEST, 0,
    GL_CULL_FACE, fixedFunction, fixedFunction, fixedFunction,
};

// Destination colour factors come before the source alpha ones here, unlike
// the numeric order of the GL constants.
constexpr GLenum blendFactorTable[] = {
    GL_ZERO, GL_ONE, GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR, GL_DST_COLOR,
    GL_ONE_MINUS_DST_COLOR, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_DST_ALPHA,
    GL_ONE_MINUS_DST_ALPHA,
};

constexpr GLenum compareFunctionTable[] = {
    GL_ALWAYS, GL_LESS, GL_LEQUAL, GL_EQUAL, GL_GEQUAL, GL_GREATER, GL_NEVER,
};

constexpr GLenum stencilOperationTable[] = {
    GL_ZERO, GL_KEEP, GL_REPLACE, GL_INCR, GL_DECR,
};

template <std::size_t N>
GLenum tableLookup(const GLenum (&table)[N], int value) {
    if (value < 0 || static_cast<std::size_t>(value) >= N) {
        throw 0;
    }
    return table[value];
}

// GL's column-major array to the row-major order the runtime's matrix setter
// takes: the same mathematical matrix.
void setTransposed(CGprogram program, const char* name, const float columnMajor[16]) {
    CGparameter parameter = cgGetNamedParameter(program, name);
    if (!parameter) {
        return;
    }
    float rowMajor[16];
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            rowMajor[row * 4 + column] = columnMajor[column * 4 + row];
        }
    }
    cgSetMatrixParameterfr(parameter, rowMajor);
}

}  // namespace

unsigned int State::capabilityToGL(int capability) {
    if (capability < 0 || capability > 8) {
        return 0;
    }
    const int cap = capabilityTable[capability];
    return cap == fixedFunction ? fixedFunctionCapability(capability) : static_cast<unsigned>(cap);
}

unsigned int State::blendFactorToGL(int factor) { return tableLookup(blendFactorTable, factor); }

unsigned int State::compareFunctionToGL(int function) {
    return tableLookup(compareFunctionTable, function);
}

unsigned int State::stencilOperationToGL(int operation) {
    return tableLookup(stencilOperationTable, operation);
}

void State::enable(int capability) {
    if (const GLenum cap = capabilityToGL(capability)) {
        glEnable(cap);
    }
}

void State::disable(int capability) {
    if (const GLenum cap = capabilityToGL(capability)) {
        glDisable(cap);
    }
}

void State::setBlendFunction(int source, int destination) {
    glBlendFunc(blendFactorToGL(source), blendFactorToGL(destination));
}

void State::setDepthFunction(int function) { glDepthFunc(compareFunctionToGL(function)); }

void State::setDepthWrite(bool enabled) { glDepthMask(enabled ? GL_TRUE : GL_FALSE); }

void State::setViewport(int x, int y, int width, int height) { glViewport(x, y, width, height); }

void State::resetRenderState() {
    disable(Capability::Blend);
    enable(Capability::DepthTest);
    disable(Capability::AlphaTest);
    disable(Capability::StencilTest);
    disable(Capability::CullFace);
    disable(Capability::Normalize);
    disable(Capability::LineSmooth);
    disable(Capability::PointSmooth);
    setBlendFunction(BlendFactor::SrcAlpha, BlendFactor::OneMinusSrcAlpha);
    setAlphaTest(compareFunctionToGL(CompareFunction::Less), 0.5f);
    glStencilFunc(compareFunctionToGL(CompareFunction::Less), 0, 0xFFFFFFFFu);
    glStencilOp(stencilOperationToGL(StencilOperation::Keep),
                stencilOperationToGL(StencilOperation::Keep),
                stencilOperationToGL(StencilOperation::Replace));
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    Kestrane::setPointSize(1.0f);
    glLineWidth(1.0f);
    glCullFace(GL_FRONT);
}

namespace {

// The three matrices, kept here rather than on GL's stacks so that every GL
// dialect sees the same values and stack depth is not bounded by the driver.
MatrixStack worldStack;
MatrixStack viewStack;
MatrixStack projectionStack;

void popOrFail(MatrixStack& stack, const char* call) {
    if (!stack.pop()) {
        fatal("Kestrane Error", std::string(call) + " without a matching push: the stack holds "
                                "only its bottom matrix");
    }
}

void copyOut(const float* matrix, float out[16]) { std::memcpy(out, matrix, 16 * sizeof(float)); }

}  // namespace

void State::setWorld(const float matrix[16]) { worldStack.load(matrix); }

void State::getWorld(float out[16]) { copyOut(worldStack.top(), out); }

void State::resetWorld() { worldStack.loadIdentity(); }

void State::translateWorld(float x, float y, float z) {
    worldStack.multiply(translation(x, y, z).data());
}

void State::rotateWorld(float degrees, float x, float y, float z) {
    worldStack.multiply(rotation(degrees, x, y, z).data());
}

void State::scaleWorld(float x, float y, float z) { worldStack.multiply(scaling(x, y, z).data()); }

void State::pushWorld() { worldStack.push(); }

void State::popWorld() { popOrFail(worldStack, "popWorld"); }

void State::getView(float out[16]) { copyOut(viewStack.top(), out); }

void State::getProjection(float out[16]) { copyOut(projectionStack.top(), out); }

void State::setView(float eyeX, float eyeY, float eyeZ, float targetX, float targetY,
                    float targetZ, float upX, float upY, float upZ) {
    viewStack.load(lookAt(eyeX, eyeY, eyeZ, targetX, targetY, targetZ, upX, upY, upZ).data());
}

void State::setProjection(float fovYDegrees, float aspect, float near, float far) {
    projectionStack.load(perspective(fovYDegrees, aspect, near, far).data());
}

void State::resetAll() {
    projectionStack.loadIdentity();
    viewStack.loadIdentity();
    worldStack.loadIdentity();
}

void State::pushAll() {
    worldStack.push();
    viewStack.push();
    projectionStack.push();
}

void State::popAll() {
    popOrFail(worldStack, "popAll");
    popOrFail(viewStack, "popAll");
    popOrFail(projectionStack, "popAll");
}

void State::uploadMatrices(CGprogram program) {
    const float* world = worldStack.top();
    const float* view = viewStack.top();
    const float* projection = projectionStack.top();
    const Matrix4 viewProjection = multiply(projection, view);
    const Matrix4 complete = multiply(viewProjection.data(), world);
    const Matrix4 worldView = multiply(view, world);

    setTransposed(program, "StateWorld", world);
    setTransposed(program, "StateView", view);
    setTransposed(program, "StateProjection", projection);
    setTransposed(program, "StateWorldView", worldView.data());
    setTransposed(program, "StateViewProjection", viewProjection.data());
    setTransposed(program, "StateComplete", complete.data());
}

}  // namespace Kestrane
