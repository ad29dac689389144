// Render state: out-of-table values, the world matrix stack and resetRenderState.
#include <epoxy/gl.h>

#include "support/GLTest.h"

#include "kestrane/State.h"

#include <array>
#include <cmath>

using namespace Kestrane;

namespace {

using Matrix = std::array<float, 16>;

Matrix readMatrix(GLenum which) {
    Matrix m{};
    glGetFloatv(which, m.data());
    return m;
}

// Column-major matrix times a point.
std::array<float, 4> transform(const Matrix& m, float x, float y, float z) {
    std::array<float, 4> r{};
    for (int row = 0; row < 4; ++row) {
        r[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    }
    return r;
}

void expectIdentity(const Matrix& m) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(m[i], (i % 5 == 0) ? 1.0f : 0.0f) << "element " << i;
    }
}

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
    State::enable(Capability::CullFace);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    State::disable(Capability::CullFace);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(StateTest, ResetRenderStateKeepsDepthFunction) {
    State::enable(Capability::Blend);
    State::setDepthFunction(CompareFunction::Greater);
    State::resetRenderState();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint depth = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depth);
    EXPECT_EQ(depth, GL_GREATER);
    State::setDepthFunction(CompareFunction::Less);
}

TEST_F(StateTest, WorldEditsMultiplyOnTheRight) {
    State::translateWorld(1.0f, 0.0f, 0.0f);
    State::rotateWorld(90.0f, 0.0f, 0.0f, 1.0f);
    Matrix world{};
    State::getWorld(world.data());
    const auto p = transform(world, 1.0f, 0.0f, 0.0f);
    EXPECT_NEAR(p[0], 1.0f, 1e-6f);
    EXPECT_NEAR(p[1], 1.0f, 1e-6f);
    EXPECT_NEAR(p[2], 0.0f, 1e-6f);

    State::pushWorld();
    State::scaleWorld(2.0f, 2.0f, 2.0f);
    State::popWorld();
    Matrix again{};
    State::getWorld(again.data());
    EXPECT_EQ(again, world);
    State::resetWorld();
    State::getWorld(again.data());
    expectIdentity(again);
}

TEST_F(StateTest, PushAllAndPopAllRestoreAllThree) {
    State::setProjection(60.0f, 1.5f, 0.5f, 50.0f);
    State::setView(1.0f, 2.0f, 3.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    State::translateWorld(4.0f, 5.0f, 6.0f);
    const Matrix p = readMatrix(GL_PROJECTION_MATRIX), v = readMatrix(GL_TEXTURE_MATRIX),
                 w = readMatrix(GL_MODELVIEW_MATRIX);
    State::pushAll();
    State::resetAll();
    State::scaleWorld(9.0f, 9.0f, 9.0f);
    State::popAll();
    EXPECT_EQ(readMatrix(GL_PROJECTION_MATRIX), p);
    EXPECT_EQ(readMatrix(GL_TEXTURE_MATRIX), v);
    EXPECT_EQ(readMatrix(GL_MODELVIEW_MATRIX), w);
}
