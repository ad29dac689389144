// Fixed render state and the three transformation matrices every drawing
// uses. All operations are static and act on the current GL context at once;
// Vessara::Drawable derives from State so drawables call them unqualified.
//
// Matrices (16 floats, GL column-major, translation in elements 12-14) are
// kept by the engine itself (MatrixStack, Matrix.h), one stack each for World,
// View and Projection, so both GL dialects see the same values; GL's own
// matrix stacks are never used. Pushes nest as deep as the caller likes; a pop
// without its push is a fatal error naming the call.
//
// Use per drawing: resetRenderState() before a timeline entry; enable/disable,
// blend, depth as needed; setProjection, setView, World edits; then the shader's
// uploadState (uploadMatrices per program) hands the six matrices to it.
// Enumerations are plain ints; a BlendFactor, CompareFunction or
// StencilOperation outside its table throws the int 0. Only a push deeper than
// any before allocates.
#pragma once

#include "kestrane/Float3.h"
#include "kestrane/cg/Cg.h"

namespace Kestrane {

namespace Capability {
enum : int {
    Blend = 0,
    DepthTest = 1,
    AlphaTest = 2,
    StencilTest = 3,
    // 4 is reserved: enabling or disabling it does nothing.
    CullFace = 5,
    Normalize = 6,
    LineSmooth = 7,
    PointSmooth = 8,
};
}

namespace BlendFactor {
enum : int {
    Zero = 0,
    One = 1,
    SrcColor = 2,
    OneMinusSrcColor = 3,
    DstColor = 4,
    OneMinusDstColor = 5,
    SrcAlpha = 6,
    OneMinusSrcAlpha = 7,
    DstAlpha = 8,
    OneMinusDstAlpha = 9,
};
}

namespace CompareFunction {
enum : int {
    Always = 0,
    Less = 1,
    LessEqual = 2,
    Equal = 3,
    GreaterEqual = 4,
    Greater = 5,
    Never = 6,
};
}

namespace StencilOperation {
enum : int {
    Zero = 0,
    Keep = 1,
    Replace = 2,
    Increment = 3,
    Decrement = 4,
};
}

class State {
public:
    // Fixed state.
    static void enable(int capability);   // 4, negatives and values above 8: nothing
    static void disable(int capability);
    static void setBlendFunction(int source, int destination);
    static void setDepthFunction(int function);
    static void setDepthWrite(bool enabled);
    static void setViewport(int x, int y, int width, int height);
    // Blend off, depth test on, the other capabilities off; blend
    // (SrcAlpha, OneMinusSrcAlpha); alpha test Less 0.5; stencil Less 0 ~0;
    // stencil ops Keep/Keep/Replace; all colour and depth writes on; point
    // size and line width 1; cull the FRONT face. Polygons are always filled
    // (nothing sets another polygon mode, and not every GL has one). Leaves the
    // depth function, viewport, matrices, shaders and textures alone.
    static void resetRenderState();

    // World; each edit multiplies on the right, so the last
    // edit applies first to a vertex.
    static void setWorld(const float matrix[16]);
    static void getWorld(float out[16]);
    static void resetWorld();
    static void translateWorld(float x, float y, float z);
    static void rotateWorld(float degrees, float x, float y, float z);
    static void scaleWorld(float x, float y, float z);
    static void pushWorld();
    static void popWorld();

    // View and Projection.
    static void getView(float out[16]);
    static void getProjection(float out[16]);
    static void setView(float eyeX, float eyeY, float eyeZ, float targetX, float targetY,
                        float targetZ, float upX, float upY, float upZ);
    static void setProjection(float fovYDegrees, float aspect, float near, float far);

    // All three: identity in the order Projection, View, World; push and pop
    // in the order World, View, Projection.
    static void resetAll();
    static void pushAll();
    static void popAll();

    // The state upload for one program: forms View x World, Projection x View
    // and Projection x View x World from the three stacks and sets whichever of
    // "StateWorld", "StateView", "StateProjection", "StateWorldView",
    // "StateViewProjection", "StateComplete" the program declares, row-major.
    static void uploadMatrices(CGprogram program);

    // Enumeration tables; out-of-table values throw the int 0.
    static unsigned int blendFactorToGL(int factor);
    static unsigned int compareFunctionToGL(int function);
    static unsigned int stencilOperationToGL(int operation);
    // 0 for the reserved value 4 and anything outside 0..8.
    static unsigned int capabilityToGL(int capability);
};

}  // namespace Kestrane
