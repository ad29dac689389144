// The default shader and the state upload, checked against pixels and
// the matrices GL itself holds.
#include <epoxy/gl.h>

#include "ShaderTestSupport.h"

#include "kestrane/DefaultShader.h"
#include "kestrane/FrameServices.h"
#include "kestrane/State.h"

#include <array>

using namespace Kestrane;
using namespace ShaderTests;

namespace {

using Matrix = std::array<float, 16>;

struct Matrices {
    Matrix world, view, projection;
    bool operator==(const Matrices&) const = default;
};

Matrices readMatrices() {
    Matrices m{};
    State::getWorld(m.world.data());
    State::getView(m.view.data());
    State::getProjection(m.projection.data());
    return m;
}

// A camera and an object that put a tilted quad in the middle of the window.
void setScene() {
    State::setProjection(60.0f, 800.0f / 600.0f, 0.5f, 20.0f);
    State::setView(1.0f, 2.0f, 6.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    State::resetWorld();
    State::translateWorld(0.3f, -0.2f, 0.5f);
    State::rotateWorld(30.0f, 0.0f, 1.0f, 0.5f);
    State::scaleWorld(1.5f, 1.0f, 1.0f);
}

int whiteCount(const std::vector<uint8_t>& pixels) {
    int count = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) count += pixels[i] > 127;
    return count;
}

const std::string allSixSource = stateMatrices + R"(
float4 vsMain(float4 position : POSITION) : POSITION
{
    float4 world = mul(StateWorld, position);
    float4 a = mul(StateViewProjection, world);
    float4 b = mul(StateProjection, mul(StateWorldView, position));
    float4 c = mul(StateComplete, position);
    float4 d = mul(StateProjection, mul(StateView, world));
    return (a + b + c + d) * 0.25;
}
float4 psMain() : COLOR { return float4(1, 1, 1, 1); }
)";

class ShaderDrawTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        State::resetRenderState();
        State::disable(Capability::DepthTest);
        State::resetAll();
        clear(0, 0, 0, 1, true, true, false);
    }
};

}  // namespace

TEST_F(ShaderDrawTest, UploadSetsTheSixProductsAndKeepsTheMatrices) {
    CompleteShader shader(allSixSource.c_str(), "vsMain", "psMain");
    setScene();
    const Matrices before = readMatrices();

    shader.bind();
    shader.uploadState();
    EXPECT_EQ(readMatrices(), before);

    // Drawn through the average of four ways of composing the matrices, the
    // quad covers what the default shader covers through Complete alone.
    drawQuad(-1.0f, -1.0f, 1.0f, 1.0f);
    const std::vector<uint8_t> viaProducts = readPixels(0, 0, 800, 600);
    clear(0, 0, 0, 1, true, true, false);
    useDefaultShader();
    drawQuad(-1.0f, -1.0f, 1.0f, 1.0f);
    const std::vector<uint8_t> viaComplete = readPixels(0, 0, 800, 600);
    int differing = 0;
    for (size_t i = 0; i < viaComplete.size(); i += 4) {
        differing += (viaComplete[i] > 127) != (viaProducts[i] > 127);
    }
    EXPECT_GT(whiteCount(viaComplete), 20000);
    EXPECT_LE(differing, 40);
}

TEST_F(ShaderDrawTest, BackFacingAfterResetIsTheOneDrawnWhenCulling) {
    useDefaultShader();
    State::resetRenderState();
    State::disable(Capability::DepthTest);
    State::enable(Capability::CullFace);
    drawQuad(-1.0f, -1.0f, 0.0f, 1.0f);  // counter-clockwise: front, culled
    begin(Quads);                        // clockwise: back, drawn
    vertexAttribute(0, 0.0f, -1.0f, 0.0f, 1.0f);
    vertexAttribute(0, 0.0f, 1.0f, 0.0f, 1.0f);
    vertexAttribute(0, 1.0f, 1.0f, 0.0f, 1.0f);
    vertexAttribute(0, 1.0f, -1.0f, 0.0f, 1.0f);
    end();
    State::disable(Capability::CullFace);
    EXPECT_EQ(readPixel(200, 300).r, 0);
    EXPECT_EQ(readPixel(600, 300).r, 255);
}
