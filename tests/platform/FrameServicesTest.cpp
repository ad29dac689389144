#include <epoxy/gl.h>

#include "support/GLTest.h"

#include "kestrane/FrameServices.h"
#include "kestrane/Immediate.h"

#include <array>
#include <string>

using namespace Kestrane;

namespace {

std::array<float, 4> currentFloats(GLenum what)
{
    std::array<float, 4> v{};
    glGetFloatv(what, v.data());
    return v;
}

std::array<float, 4> currentAttribute(GLuint index)
{
    std::array<float, 4> v{};
    glGetVertexAttribfv(index, GL_CURRENT_VERTEX_ATTRIB, v.data());
    return v;
}

std::array<float, 4> currentTexCoord(int unit)
{
    glActiveTexture(GL_TEXTURE0 + unit);
    auto v = currentFloats(GL_CURRENT_TEXTURE_COORDS);
    glActiveTexture(GL_TEXTURE0);
    return v;
}

// Every piece of current vertex state the slot table can reach.
struct VertexState {
    std::array<float, 4> colour, normal;
    std::array<std::array<float, 4>, 8> texCoords;
    std::array<std::array<float, 4>, 15> attributes;  // generic 1-15 (0 aliases the position)
    bool operator==(const VertexState&) const = default;
};

VertexState vertexState()
{
    VertexState s{};
    s.colour = currentFloats(GL_CURRENT_COLOR);
    s.normal = currentFloats(GL_CURRENT_NORMAL);
    s.normal[3] = 0;
    for (int unit = 0; unit < 8; ++unit)
        s.texCoords[unit] = currentTexCoord(unit);
    for (int i = 1; i < 16; ++i)
        s.attributes[i - 1] = currentAttribute(i);
    return s;
}

}  // namespace

class FrameServicesTest : public GLTest {};

TEST_F(FrameServicesTest, ClearFillsOnlyTheFlaggedBuffers)
{
    clear(1, 0, 0, 1, true, true, true);
    EXPECT_TRUE(pixelIs(400, 300, {255, 0, 0, 255}, 1));

    // No flags: nothing is cleared.
    clear(0, 0, 1, 1, false, false, false);
    EXPECT_TRUE(pixelIs(400, 300, {255, 0, 0, 255}, 1));

    // Depth only: colour untouched.
    clear(0, 1, 0, 1, false, true, false);
    EXPECT_TRUE(pixelIs(400, 300, {255, 0, 0, 255}, 1));
}

TEST_F(FrameServicesTest, CheckErrorReportsOneErrorOnStandardError)
{
    EXPECT_EQ(checkError(), 0u);
    glEnable(0xFFFF);  // GL_INVALID_ENUM
    testing::internal::CaptureStderr();
    EXPECT_EQ(checkError(), unsigned(GL_INVALID_ENUM));
    EXPECT_EQ(checkError(), 0u);
    EXPECT_NE(glErrors(), "");  // the error raised on purpose, acknowledged
    const std::string text = testing::internal::GetCapturedStderr();
    EXPECT_NE(text.find("Kestrane Native Error"), std::string::npos) << text;
    EXPECT_NE(text.find("OpenGL native error: 500"), std::string::npos) << text;
}

TEST_F(FrameServicesTest, VertexAttributeSlotsReachTheirState)
{
    vertexAttribute(11, 0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_EQ(currentFloats(GL_CURRENT_COLOR), (std::array<float, 4>{0.1f, 0.2f, 0.3f, 0.4f}));

    vertexAttribute(10, 0.0f, 0.6f, 0.8f, 9.0f);
    const auto normal = currentFloats(GL_CURRENT_NORMAL);
    EXPECT_FLOAT_EQ(normal[1], 0.6f);
    EXPECT_FLOAT_EQ(normal[2], 0.8f);

    vertexAttribute(2, 1, 2, 3, 4);
    EXPECT_EQ(currentTexCoord(0), (std::array<float, 4>{1, 2, 3, 4}));
    for (int slot = 3; slot <= 9; ++slot) {
        const float v[4] = {float(slot), 5, 6, 7};
        vertexAttribute(slot, v);
        EXPECT_EQ(currentTexCoord(slot - 2), (std::array<float, 4>{float(slot), 5, 6, 7})) << "slot " << slot;
    }
    for (int slot = 101; slot <= 115; ++slot) {
        vertexAttribute(slot, float(slot), 1, 2, 3);
        EXPECT_EQ(currentAttribute(slot - 100), (std::array<float, 4>{float(slot), 1, 2, 3})) << "slot " << slot;
    }
}

TEST_F(FrameServicesTest, UnusedVertexAttributeSlotsDoNothing)
{
    vertexAttribute(11, 0.5f, 0.5f, 0.5f, 0.5f);
    vertexAttribute(2, 0.5f, 0.5f, 0.5f, 0.5f);
    const VertexState before = vertexState();

    std::vector<int> unused = {1, -1, 116, 117, 1000};
    for (int slot = 12; slot <= 99; ++slot)
        unused.push_back(slot);
    for (int slot : unused)
        vertexAttribute(slot, 0.9f, 0.8f, 0.7f, 0.6f);

    EXPECT_TRUE(vertexState() == before);
}

TEST(PrimitiveTypeDeathTest, CodeOutsideTheTableIsFatal)
{
    EXPECT_EXIT(primitiveMode(5), testing::ExitedWithCode(1), "Primitive type 5");
    EXPECT_EXIT(primitiveMode(-1), testing::ExitedWithCode(1), "Primitive type -1");
}
