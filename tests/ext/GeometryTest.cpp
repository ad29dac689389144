// Vertex/index streams, accessors and tangent-frame generation in client
// memory (no GL needed), and buffer-object streams and drawing on real GL.
#include "kestrane_ext/Geometry.h"
#include "kestrane/DefaultShader.h"
#include "kestrane/State.h"
#include "support/GLTest.h"
#include "support/TestSupport.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cmath>

using namespace KestraneExt;

namespace {

// Positions (3 floats) and texture coordinates (2 floats) interleaved in one
// client-memory stream in slot 0, indexed as triangles.
std::unique_ptr<Geometry> triangleMesh(const std::vector<float>& positionsAndUVs,
                                       const std::vector<std::uint32_t>& indices) {
    auto g = std::make_unique<Geometry>();
    const int counts[] = {3, 2};
    const int vertices = static_cast<int>(positionsAndUVs.size() / 5);
    EXPECT_EQ(g->addStream(std::make_unique<VertexStream>(2, counts, vertices, 0, positionsAndUVs.data())), 0);
    g->bind(0, 0, Semantic::Position);
    g->bind(0, 1, Semantic::TexCoord0);
    g->setIndices(std::make_unique<IndexStream>(static_cast<int>(indices.size()), 0, indices.data(),
                                                IndexType::UnsignedInt));
    return g;
}

std::array<float, 4> read(Geometry::Attribute& a, int v) {
    std::array<float, 4> out{-7, -7, -7, -7};
    a.get(v, out.data());
    return out;
}

}  // namespace

TEST(GeometryAccessors, ElementTypesConvertAndMissingBindingsGiveNothing) {
    Geometry g;
    const int counts[] = {4, 2, 1, 3};
    const int types[] = {ComponentType::Byte, ComponentType::Short, ComponentType::Int, ComponentType::Double};
    g.addStream(std::make_unique<VertexStream>(4, counts, 3, 0, nullptr, types));
    g.bind(0, 0, Semantic::Color);
    g.bind(0, 1, Semantic::TexCoord0);
    g.bind(0, 2, 20);
    g.bind(0, 3, Semantic::Normal);
    g.bind(5, 0, Semantic::Tangent);  // slot 5 is empty

    // Integer elements truncate toward zero and saturate.
    auto bytes = g.createAttribute(Semantic::Color);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->components(), 4);
    bytes->set(1, 3.9f, -3.9f, 1000.0f, -1000.0f);
    EXPECT_EQ(read(*bytes, 1), (std::array<float, 4>{3, -3, 127, -128}));

    auto shorts = g.createAttribute(Semantic::TexCoord0);
    shorts->set(0, 2.99f, -0.5f, 9.0f, 9.0f);  // z and w are beyond its two components
    // get fills two components and leaves the caller's other two untouched.
    EXPECT_EQ(read(*shorts, 0), (std::array<float, 4>{2, 0, -7, -7}));

    auto ints = g.createAttribute(20);
    ints->set(1, -123456.7f);
    EXPECT_EQ(read(*ints, 1)[0], -123456.0f);
    ints->set(0, std::nanf(""));
    EXPECT_EQ(read(*ints, 0)[0], 0.0f);

    auto normals = g.createAttribute(Semantic::Normal);
    normals->set(2, 0.1f, -2.5f, 3.25f);
    EXPECT_EQ(read(*normals, 2), (std::array<float, 4>{0.1f, -2.5f, 3.25f, -7}));

    EXPECT_EQ(g.createAttribute(Semantic::Position), nullptr);  // not bound
    EXPECT_EQ(g.createAttribute(Semantic::Tangent), nullptr);   // bound to an empty slot
    EXPECT_EQ(g.createIndices(), nullptr);                       // no index stream
}

TEST(GeometryAccessors, IndicesNarrowAndZeroExtend) {
    Geometry g;
    const std::uint8_t small[] = {0, 200, 255};
    g.setIndices(std::make_unique<IndexStream>(3, 0, small, IndexType::UnsignedByte));
    auto ix = g.createIndices();
    ASSERT_TRUE(ix);
    EXPECT_EQ(ix->count(), 3);
    EXPECT_EQ(ix->get(2), 255u);
    ix->set(0, 300);  // narrowed to 8 bits
    EXPECT_EQ(ix->get(0), 44u);
    EXPECT_EQ(g.indices()->lockCount(), 1);
    ix.reset();
    EXPECT_EQ(g.indices()->lockCount(), 0);

    Geometry wide;
    const std::uint16_t shorts[] = {65535, 7};
    wide.setIndices(std::make_unique<IndexStream>(2, 0, shorts, IndexType::UnsignedShort));
    EXPECT_EQ(wide.createIndices()->get(0), 65535u);
}

// Quads are split into triangles only from vertex arrays; indexed quads are
// refused by name rather than drawn wrong.
TEST(GeometryAccessors, IndexedQuadsAreRefused) {
    const std::uint8_t quad[] = {0, 1, 2, 3};
    IndexStream indices(4, 0, quad, IndexType::UnsignedByte);
    EXPECT_FATAL(indices.drawIndexed(Kestrane::Quads, 0, -1), "drawIndexed of quads");
}

TEST(TangentFrames, SingleTriangleGetsNormalTangentAndBinormal) {
    auto g = triangleMesh({1, 0, 0, 1, 0,  //
                           0, 0, 0, 0, 0,  //
                           0, 1, 0, 0, 1},
                          {0, 1, 2});
    // None of the three targets is bound: one new stream of 3 x 3 floats.
    EXPECT_EQ(g->generateTangentFrames(Semantic::TexCoord0, Semantic::Normal, Semantic::TexCoord2,
                                       Semantic::TexCoord3, BufferUsage::ClientMemory),
              1);
    ASSERT_TRUE(g->stream(1));
    EXPECT_EQ(g->stream(1)->stride(), 36);
    EXPECT_EQ(g->stream(1)->elementCount(), 3);
    auto normal = g->createAttribute(Semantic::Normal);
    auto tangent = g->createAttribute(Semantic::TexCoord2);
    auto binormal = g->createAttribute(Semantic::TexCoord3);
    for (int v = 0; v < 3; ++v) {
        EXPECT_EQ(read(*normal, v), (std::array<float, 4>{0, 0, 1, -7}));
        EXPECT_EQ(read(*tangent, v), (std::array<float, 4>{1, 0, 0, -7}));
        EXPECT_EQ(read(*binormal, v), (std::array<float, 4>{0, 1, 0, -7}));
    }

    // Running it again finds all three bound: nothing new, frames rewritten.
    EXPECT_EQ(g->generateTangentFrames(Semantic::TexCoord0, Semantic::Normal, Semantic::TexCoord2,
                                       Semantic::TexCoord3, BufferUsage::ClientMemory),
              0);
    EXPECT_EQ(g->stream(2), nullptr);
    EXPECT_EQ(read(*g->createAttribute(Semantic::Normal), 1), (std::array<float, 4>{0, 0, 1, -7}));
}

TEST(TangentFrames, LargerFacesWeighMoreAndUnusedVerticesStayZero) {
    // Two faces sharing vertex 1: a small one in the z = 0 plane and a large
    // one in the x = 0 plane; vertex 5 belongs to no triangle.
    auto g = triangleMesh({1, 0, 0, 1, 0,    //
                           0, 0, 0, 0, 0,    //
                           0, 1, 0, 0, 1,    //
                           0, 0, 4, 1, 0,    //
                           0, 4, 0, 0, 1,    //
                           9, 9, 9, 0, 0},
                          {0, 1, 2, 4, 1, 3});
    g->generateTangentFrames(Semantic::TexCoord0, Semantic::Normal, Semantic::TexCoord2,
                             Semantic::TexCoord3, BufferUsage::ClientMemory);
    auto normal = g->createAttribute(Semantic::Normal);
    const auto shared = read(*normal, 1);
    // Face normals (0,0,1) and (16,0,0): the sum points mostly along x.
    EXPECT_NEAR(shared[0], 16.0f / std::sqrt(257.0f), 1e-5f);
    EXPECT_NEAR(shared[2], 1.0f / std::sqrt(257.0f), 1e-5f);
    EXPECT_EQ(read(*normal, 5), (std::array<float, 4>{0, 0, 0, -7}));
}

TEST(TangentFrames, PreconditionsLeaveTheMeshAlone) {
    const std::vector<float> triangle = {1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1};
    const struct {
        const char* name;
        std::unique_ptr<Geometry> mesh;
        int texCoords;
    } cases[] = {
        {"points", triangleMesh(triangle, {0, 1, 2}), Semantic::TexCoord0},
        {"no indices", triangleMesh(triangle, {0, 1, 2}), Semantic::TexCoord0},
        {"no texture coordinates", triangleMesh(triangle, {0, 1, 2}), Semantic::TexCoord5},
        {"empty", triangleMesh({}, {}), Semantic::TexCoord0},
    };
    cases[0].mesh->setPrimitive(Kestrane::Points);
    cases[1].mesh->setIndices(nullptr);
    for (const auto& c : cases) {
        EXPECT_EQ(c.mesh->generateTangentFrames(c.texCoords, Semantic::Normal, Semantic::TexCoord2,
                                                Semantic::TexCoord3, 0),
                  0)
            << c.name;
        EXPECT_EQ(c.mesh->stream(1), nullptr) << c.name;
    }
}

// ---- On real GL -------------------------------------------------------------

class GeometryGL : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        Kestrane::createDefaultShader();  // made once; the context may not have made it yet
        Kestrane::State::resetAll();
        Kestrane::State::setDepthFunction(Kestrane::CompareFunction::LessEqual);
        Kestrane::State::disable(Kestrane::Capability::CullFace);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    static bool lit(int x, int y) { return readPixel(x, y).r > 200; }
};

TEST_F(GeometryGL, BufferObjectLocksShareOneMapping) {
    const float initial[] = {1, 2, 3, 4, 5, 6};
    const int counts[] = {3};
    VertexStream s(1, counts, 2, BufferUsage::StaticDraw, initial);
    EXPECT_NE(s.buffer(), 0u);
    EXPECT_EQ(s.data(), nullptr);
    EXPECT_EQ(s.lock(false, false), nullptr);  // neither flag: no mapping
    s.unlock();
    auto* p = static_cast<float*>(s.lock(true, true));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[4], 5.0f);
    EXPECT_EQ(s.lock(true, true), p);  // second lock shares the mapping
    p[4] = 50.0f;
    s.unlock();
    EXPECT_EQ(static_cast<void*>(s.data()), static_cast<void*>(p));  // still one lock held
    s.unlock();
    EXPECT_EQ(s.data(), nullptr);
    s.unlock();  // one unlock too many does not touch the unmapped buffer

    float back[6] = {};
    glBindBuffer(GL_ARRAY_BUFFER, s.buffer());
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, sizeof back, back);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    EXPECT_EQ(back[4], 50.0f);
    EXPECT_EQ(back[5], 6.0f);
}

TEST_F(GeometryGL, WithoutIndicesAllVerticesOfTheLowestStreamAreDrawn) {
    // Two triangles far apart, six vertices in slot 2 (slots 0 and 1 empty).
    const float positions[] = {-0.9f, -0.9f, 0, -0.5f, -0.9f, 0, -0.9f, -0.5f, 0,
                               0.5f,  0.5f,  0, 0.9f,  0.5f,  0, 0.5f,  0.9f,  0};
    const int counts[] = {3};
    Geometry g;
    g.setStream(2, std::make_unique<VertexStream>(1, counts, 6, BufferUsage::StaticDraw, positions));
    g.bind(2, 0, Semantic::Position);
    Kestrane::useDefaultShader();
    g.draw();
    EXPECT_TRUE(lit(400 - 0.8 * 400, 300 - 0.8 * 300));  // first triangle
    EXPECT_TRUE(lit(400 + 0.6 * 400, 300 + 0.6 * 300));  // second: all six vertices drawn
    EXPECT_FALSE(lit(400, 300));
}

TEST_F(GeometryGL, InterleavedBindingsAndIndexedDrawingInBothMemories) {
    // One interleaved stream: position and normal; the normal is bound too so
    // the draw enables two arrays with the same stride at different offsets.
    const float vertices[] = {-0.5f, -0.5f, 0, 0, 0, 1, 0.5f, -0.5f, 0, 0, 0, 1,
                              0.5f,  0.5f,  0, 0, 0, 1, -0.5f, 0.5f, 0, 0, 0, 1};
    const std::uint8_t indices[] = {0, 1, 2, 0, 2, 3};
    const int counts[] = {3, 3};
    for (int usage : {BufferUsage::ClientMemory, BufferUsage::StaticDraw}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        Geometry g;
        g.addStream(std::make_unique<VertexStream>(2, counts, 4, usage, vertices));
        g.bind(0, 0, Semantic::Position);
        g.bind(0, 1, Semantic::Normal);
        g.bind(0, 1, Semantic::Tangent);  // generic attribute 14
        g.setIndices(std::make_unique<IndexStream>(6, usage, indices, IndexType::UnsignedByte));
        Kestrane::useDefaultShader();
        g.draw();
        EXPECT_TRUE(lit(400, 300)) << "usage " << usage;
        EXPECT_TRUE(lit(400 + 180, 300 + 130)) << "usage " << usage;
        EXPECT_FALSE(lit(400 + 220, 300)) << "usage " << usage;
        // Drawing leaves no array enabled behind it.
        EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
        EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
        GLint enabled = 1;
        glGetVertexAttribiv(TangentAttribute, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        EXPECT_EQ(enabled, 0);
    }
}

TEST_F(GeometryGL, DisablingTexCoord1TurnsOffUnitOnesArray) {
    const float uv[] = {0, 0, 1, 1};
    const int counts[] = {2};
    VertexStream s(1, counts, 2, BufferUsage::ClientMemory, uv);
    s.enable(0, Semantic::TexCoord1);
    s.disable(Semantic::TexCoord1);
    glClientActiveTexture(GL_TEXTURE1);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    glClientActiveTexture(GL_TEXTURE0);
}
