// Immediate mode through the engine's own vertex buffer: what reaches the
// pixels, read back from GL.
#include "support/GLTest.h"

#include "kestrane/DefaultShader.h"
#include "kestrane/FrameServices.h"
#include "kestrane/Immediate.h"
#include "kestrane/State.h"

#include <memory>

using namespace Kestrane;

namespace {

const char* const colourSource = R"(
float4 vsMain(float4 position : POSITION, float4 colour : COLOR0, out float4 colourOut : COLOR0) : POSITION
{
    colourOut = colour;
    return position;
}
float4 psMain(float4 colour : COLOR0) : COLOR { return colour; }
)";

void corner(float r, float g, float b, float x, float y) {
    vertexAttribute(11, r, g, b, 1.0f);
    vertexAttribute(0, x, y, 0.0f, 1.0f);
}

class ImmediateTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        State::resetRenderState();
        State::disable(Capability::DepthTest);
        clear(0, 0, 0, 1, true, true, false);
        shader = std::make_unique<CompleteShader>(colourSource, "vsMain", "psMain");
        shader->bind();
    }
    void TearDown() override {
        vertexAttribute(11, 1.0f, 1.0f, 1.0f, 1.0f);
        GLTest::TearDown();
    }
    std::unique_ptr<CompleteShader> shader;
};

}  // namespace

TEST_F(ImmediateTest, AQuadIsTwoTrianglesCoveringItWithItsCornerColours) {
    // Counter-clockwise from the bottom left: red, green, blue, white. Drawn
    // as (a b c) and (a c d), the diagonal from red to blue mixes only those.
    begin(Quads);
    corner(1, 0, 0, -1, -1);
    corner(0, 1, 0, 1, -1);
    corner(0, 0, 1, 1, 1);
    corner(1, 1, 1, -1, 1);
    // A fifth and sixth vertex make no quad and draw nothing.
    corner(1, 1, 0, 0, 0);
    corner(1, 1, 0, 1, 0);
    end();

    const struct {
        int x, y;
        Rgba8 colour;
    } expected[] = {
        {0, 0, {255, 0, 0, 255}},       {799, 0, {0, 255, 0, 255}},
        {799, 599, {0, 0, 255, 255}},   {0, 599, {255, 255, 255, 255}},
        {400, 300, {128, 0, 128, 255}},
    };
    for (const auto& e : expected) EXPECT_TRUE(pixelIs(e.x, e.y, e.colour, 4)) << e.x << ", " << e.y;
}

TEST_F(ImmediateTest, ValuesBeforeBeginHoldForThePrimitiveAndTheLastStaysCurrent) {
    vertexAttribute(11, 0.0f, 1.0f, 0.0f, 1.0f);
    begin(Triangles);  // left half, no colour given inside: green throughout
    vertexAttribute(0, -1.0f, -1.0f, 0.0f, 1.0f);
    vertexAttribute(0, 0.0f, -1.0f, 0.0f, 1.0f);
    vertexAttribute(0, -1.0f, 1.0f, 0.0f, 1.0f);
    end();
    begin(Triangles);  // colour changes at the second vertex and ends blue
    corner(1, 0, 0, 0, -1);
    corner(0, 0, 1, 1, -1);
    corner(0, 0, 1, 0, 1);
    end();
    begin(Triangles);  // no colour given: the last one, blue
    vertexAttribute(0, 0.0f, 1.0f, 0.0f, 1.0f);
    vertexAttribute(0, 1.0f, -1.0f, 0.0f, 1.0f);
    vertexAttribute(0, 1.0f, 1.0f, 0.0f, 1.0f);
    end();

    EXPECT_TRUE(pixelIs(100, 100, {0, 255, 0, 255}));
    EXPECT_TRUE(pixelIs(401, 1, {255, 0, 0, 255}, 6));
    EXPECT_TRUE(pixelIs(780, 580, {0, 0, 255, 255}));
}

TEST(ImmediateDeathTest, EndWithoutBeginIsFatal) {
    EXPECT_EXIT(end(), testing::ExitedWithCode(1), "end without begin");
}
