// VXM files: writer/loader round trips, the record layout, damaged files, and
// a loaded mesh drawn with the default shader.
#include "ModelSamples.h"

#include "kestrane_ext/ByteWriter.h"
#include "kestrane_ext/VXMLoader.h"
#include "kestrane/DefaultShader.h"
#include "kestrane/State.h"
#include "support/GLTest.h"
#include "support/TestSupport.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

#include <cstring>

using namespace KestraneExt;

namespace {

VXMLoader load(const std::vector<std::uint8_t>& bytes, int usage = BufferUsage::ClientMemory) {
    return VXMLoader(bytes.data(), bytes.size(), "test.vxm", usage, usage);
}

std::array<float, 14> vertexOf(Geometry& g, int v) {
    std::array<float, 14> out{};
    VertexStream* s = g.stream(0);
    std::memcpy(out.data(), static_cast<std::uint8_t*>(s->lock(true, false)) + v * 56, 56);
    s->unlock();
    return out;
}

}  // namespace

TEST(VXM, RoundTripKeepsPositionsTexCoordsAndIndices) {
    const std::vector<VXMMeshData> meshes = {Samples::grid(3, "first"), Samples::unitTriangle("second"),
                                             VXMMeshData{"empty", {}, {}}};
    VXMLoader vxm = load(encodeVXM(meshes));
    ASSERT_EQ(vxm.meshCount(), 3);
    for (int m = 0; m < 3; ++m) {
        Geometry& g = vxm.mesh(m);
        EXPECT_EQ(g.primitive(), Kestrane::Triangles);
        ASSERT_TRUE(g.stream(0));
        ASSERT_EQ(g.stream(0)->vertexCount(), meshes[m].vertexCount());
        for (int v = 0; v < meshes[m].vertexCount(); ++v) {
            const auto got = vertexOf(g, v);
            for (int f : {0, 1, 2, 6, 7}) EXPECT_EQ(got[f], meshes[m].vertices[v * 14 + f]);
        }
        ASSERT_EQ(g.indices()->indexCount(), static_cast<int>(meshes[m].indices.size()));
        if (!meshes[m].indices.empty()) {
            auto ix = g.createIndices();
            for (int i = 0; i < ix->count(); ++i)
                EXPECT_EQ(ix->get(i), static_cast<std::uint32_t>(meshes[m].indices[i]));
        }
    }
    EXPECT_THROW(vxm.mesh(3), std::out_of_range);

    const std::vector<std::uint8_t> none = encodeVXM({});
    EXPECT_EQ(load(none).meshCount(), 0);
    load(none).drawAll();  // nothing to draw, no GL needed
}

TEST(VXM, DamagedFilesAreRejectedWithFileOffsetAndReason) {
    const std::vector<std::uint8_t> good = encodeVXM({Samples::unitTriangle("t"), Samples::square(0, 0, 1, 1)});
    const std::size_t indices = 4 + 12 + 1 + 60, second = indices + 12;
    // Mesh 0's header: vertex count at 4, triangle count at 8, name length at 12.
    const struct {
        std::size_t patchAt;
        std::int32_t value;
        std::size_t offset;
        const char* reason;
    } cases[] = {
        {12, 257, 12, "name length 257"},
        {0, -1, 0, "negative mesh count"},
        {0, 0x7fffffff, 0, "mesh count 2147483647"},
        {second, -5, second, "negative vertex count"},
        {second + 4, 1 << 28, second, "needs"},
        {indices + 4, 3, indices + 4, "index 3 outside its 3 vertices"},
        {indices + 8, -1, indices + 8, "index -1"},
    };
    for (const auto& c : cases) {
        auto bytes = good;
        Samples::putInt(bytes, c.patchAt, c.value);
        Samples::expectDamaged([](const auto& b) { load(b); }, bytes, "test.vxm", c.offset, c.reason);
    }
    // Cut anywhere inside the last record: never a partial load.
    for (std::size_t cut = second + 1; cut < good.size(); cut += 7)
        EXPECT_THROW(load({good.begin(), good.begin() + static_cast<long>(cut)}), FormatError) << "cut at " << cut;
    Samples::expectDamaged([](const auto& b) { load(b); }, {good.begin(), good.begin() + 2}, "test.vxm", 0,
                           "mesh count needs 4 bytes");
}

TEST(VXMDeathTest, DamagedFileEndsTheProgramNamingFileAndOffset) {
    TestSupport::TempDir dir;
    auto bytes = encodeVXM({Samples::unitTriangle("t")});
    Samples::putInt(bytes, 12, 300);
    const std::string path = dir.file("broken.vxm");
    ASSERT_TRUE(writeFileBytes(path, bytes, nullptr));
    EXPECT_FATAL(VXMLoader(File(path, "rb"), 0, 0), "broken\\.vxm: byte 12: mesh 0 name length 300 is outside 0-256");
}

TEST(VXMWriter, RefusesInvalidMeshesAndReportsIOFailures) {
    VXMMeshData badIndex = Samples::unitTriangle();
    badIndex.indices[1] = 3;
    TestSupport::TempDir dir;
    std::string error;
    EXPECT_FALSE(writeVXM(dir.file("bad.vxm"), {badIndex}, &error));
    EXPECT_NE(error.find("index 3"), std::string::npos) << error;
    EXPECT_FALSE(writeVXM(dir.file("missing-dir/x.vxm"), {Samples::unitTriangle()}, &error));
    EXPECT_NE(error.find("missing-dir/x.vxm"), std::string::npos) << error;
}

class VXMDraw : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        Kestrane::createDefaultShader();  // made once; the context may not have made it yet
    }
};

TEST_F(VXMDraw, MeshCoversItsPixelsWithTheDefaultShader) {
    Kestrane::State::resetAll();
    Kestrane::State::disable(Kestrane::Capability::CullFace);
    Kestrane::State::setDepthFunction(Kestrane::CompareFunction::LessEqual);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Mesh 0 covers the left half of the square (-0.5..0, -0.5..0.5), mesh 1
    // the upper right corner; both drawn with drawAll from static buffers.
    // An empty mesh between them draws nothing and raises no GL error.
    const auto bytes = encodeVXM({Samples::square(-0.5f, -0.5f, 0.0f, 0.5f), VXMMeshData{"empty", {}, {}},
                                  Samples::square(0.5f, 0.5f, 0.9f, 0.9f)});
    VXMLoader vxm = load(bytes, BufferUsage::StaticDraw);
    EXPECT_NE(vxm.mesh(0).stream(0)->buffer(), 0u);
    Kestrane::useDefaultShader();
    vxm.drawAll();
    auto lit = [](int x, int y) { return readPixel(x, y).r > 200; };
    EXPECT_TRUE(lit(300, 300));   // inside mesh 0
    EXPECT_TRUE(lit(210, 160));   // near its lower-left corner
    EXPECT_FALSE(lit(190, 300));  // just left of it
    EXPECT_FALSE(lit(420, 300));  // right of it
    EXPECT_FALSE(lit(300, 460));  // above it
    EXPECT_TRUE(lit(680, 520));   // inside mesh 1
    // Count the covered pixels: 200 x 300 + 160 x 120 (edges may go either way).
    const auto pixels = readPixels(0, 0, 800, 600);
    int covered = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4) covered += pixels[i] > 200;
    EXPECT_NEAR(covered, 200 * 300 + 160 * 120, 1200);
}
