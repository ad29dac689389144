// The engine's own World, View and Projection stacks: the six products a
// shader receives, checked against matrices worked out by hand, and push/pop.
#include "ShaderTestSupport.h"
#include "support/TestSupport.h"

#include "kestrane/DefaultShader.h"
#include "kestrane/State.h"

#include <array>
#include <cmath>
#include <string>

using namespace Kestrane;
using namespace ShaderTests;

namespace {

using Rows = std::array<float, 16>;  // row-major, as the shader parameters read back

const std::string allSixSource = stateMatrices + R"(
float4 vsMain(float4 p : POSITION) : POSITION
{
    return mul(StateComplete, p) + mul(StateWorld, p) + mul(StateView, p) + mul(StateProjection, p)
         + mul(StateWorldView, p) + mul(StateViewProjection, p);
}
float4 psMain() : COLOR { return float4(1, 1, 1, 1); }
)";

// Projection: 90 degrees, aspect 2, near 1, far 3. View: from (0, 0, 5)
// looking along +x. World: translate (1, 2, 3), then 120 degrees about the
// unnormalised diagonal (which takes x to y, y to z, z to x), then scale x by 2.
void setHandWorkedScene() {
    State::setProjection(90.0f, 2.0f, 1.0f, 3.0f);
    State::setView(0.0f, 0.0f, 5.0f, 1.0f, 0.0f, 5.0f, 0.0f, 1.0f, 0.0f);
    State::resetWorld();
    State::translateWorld(1.0f, 2.0f, 3.0f);
    State::rotateWorld(120.0f, 2.0f, 2.0f, 2.0f);
    State::scaleWorld(2.0f, 1.0f, 1.0f);
}

struct Expected {
    const char* name;
    Rows rows;
};

const Expected handWorked[] = {
    {"StateWorld", {0, 0, 1, 1, 2, 0, 0, 2, 0, 1, 0, 3, 0, 0, 0, 1}},
    {"StateView", {0, 0, 1, -5, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 1}},
    {"StateProjection", {0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, -2, -3, 0, 0, -1, 0}},
    {"StateWorldView", {0, 1, 0, -2, 2, 0, 0, 2, 0, 0, -1, -1, 0, 0, 0, 1}},
    {"StateViewProjection", {0, 0, 0.5f, -2.5f, 0, 1, 0, 0, 2, 0, 0, -3, 1, 0, 0, 0}},
    {"StateComplete", {0, 0.5f, 0, -1, 2, 0, 0, 2, 0, 0, 2, -1, 0, 0, 1, 1}},
};

Rows uploaded(CGprogram program, const char* name) {
    Rows rows{};
    cgGetParameterValuefr(cgGetNamedParameter(program, name), 16, rows.data());
    return rows;
}

void expectUploaded(const CompleteShader& shader, const Expected (&table)[6]) {
    for (const Expected& e : table) {
        const Rows got = uploaded(shader.vertex->program, e.name);
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(got[i], e.rows[i], 1e-5f) << e.name << " row " << i / 4 << " column " << i % 4;
        }
    }
}

class MatrixStackTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        State::resetAll();
    }
};

}  // namespace

TEST_F(MatrixStackTest, TheSixProductsMatchHandWorkedMatrices) {
    CompleteShader shader(allSixSource.c_str(), "vsMain", "psMain");
    setHandWorkedScene();
    shader.bind();
    shader.uploadState();
    expectUploaded(shader, handWorked);
}

TEST_F(MatrixStackTest, PopAllRestoresAllThreeAndPopWorldOnlyWorld) {
    CompleteShader shader(allSixSource.c_str(), "vsMain", "psMain");
    shader.bind();
    setHandWorkedScene();

    State::pushAll();
    State::setProjection(30.0f, 1.0f, 0.1f, 100.0f);
    State::setView(3.0f, 4.0f, 5.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    State::pushWorld();
    State::rotateWorld(33.0f, 1.0f, 0.0f, 0.0f);
    State::popWorld();
    State::translateWorld(7.0f, 0.0f, 0.0f);
    State::popAll();
    shader.uploadState();
    expectUploaded(shader, handWorked);

    // Pushes nest deeper than GL's shortest stacks (two entries guaranteed).
    for (int i = 0; i < 40; ++i) State::pushAll();
    State::resetAll();
    for (int i = 0; i < 40; ++i) State::popAll();
    shader.uploadState();
    expectUploaded(shader, handWorked);
}

TEST_F(MatrixStackTest, APopWithoutItsPushIsFatal) {
    EXPECT_FATAL(State::popWorld(), "popWorld without a matching push");
    EXPECT_FATAL(State::popAll(), "popAll without a matching push");
}
