// Render state: out-of-table values, reserved capabilities and resetRenderState.
#include <epoxy/gl.h>

#include "support/GLTest.h"

#include "kestrane/State.h"

#include <array>

using namespace Kestrane;

namespace {

int thrownValue(void (*call)()) {
    try {
        call();
    } catch (int value) {
        return value;
    }
    return -1;
}

class StateTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        State::resetAll();
    }
};

}  // namespace

TEST(StateTables, OutOfTableValuesThrowZero) {
    EXPECT_EQ(thrownValue([] { State::blendFactorToGL(10); }), 0);
    EXPECT_EQ(thrownValue([] { State::blendFactorToGL(-1); }), 0);
    EXPECT_EQ(thrownValue([] { State::compareFunctionToGL(7); }), 0);
    EXPECT_EQ(thrownValue([] { State::stencilOperationToGL(5); }), 0);
    EXPECT_EQ(State::capabilityToGL(4), 0u);
    EXPECT_EQ(State::capabilityToGL(9), 0u);
    EXPECT_EQ(State::capabilityToGL(-1), 0u);
}

TEST_F(StateTest, ReservedAndLargeCapabilitiesChangeNothing) {
    const GLenum caps[] = {GL_BLEND, GL_DEPTH_TEST, GL_ALPHA_TEST, GL_STENCIL_TEST,
                           GL_CULL_FACE, GL_NORMALIZE, GL_LINE_SMOOTH, GL_POINT_SMOOTH};
    State::resetRenderState();
    auto snapshot = [&] {
        std::array<GLboolean, 8> s{};
        for (int i = 0; i < 8; ++i) s[i] = glIsEnabled(caps[i]);
        return s;
    };
    const auto before = snapshot();
    State::enable(4);
    State::enable(9);
    State::enable(1000);
    State::disable(4);
    State::disable(9);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(StateTest, ResetRenderStateKeepsDepthFunction) {
    State::enable(Capability::Blend);
    State::setDepthFunction(CompareFunction::Greater);
    State::setBlendFunction(BlendFactor::One, BlendFactor::One);
    State::resetRenderState();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    // Scenes that enable blending get plain alpha blending, and the depth
    // function is left alone.
    GLint source = 0, destination = 0, depth = 0;
    glGetIntegerv(GL_BLEND_SRC_RGB, &source);
    glGetIntegerv(GL_BLEND_DST_RGB, &destination);
    glGetIntegerv(GL_DEPTH_FUNC, &depth);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(depth, GL_GREATER);
    State::setDepthFunction(CompareFunction::Less);
}
