// Horizon's rules: the dots' spread,
// the forest vertex draw at its ends, the forest file checks; and, on
// headless GL, the layers rising from the bottom of the picture.
#include "SceneFixture.h"

#include "kestrane_ext/VXMLoader.h"
#include "kestrane_ext/VXMWriter.h"
#include "prod/Horizon.h"

#include <gtest/gtest.h>

#include <vector>

using Prod::Horizon;

namespace {

constexpr float EntryStart = 16.19632f;

}  // namespace

TEST(HorizonRules, DotsGatherByFourSecondsAndSwellFromEight)
{
    const struct {
        float t, spread, growth;
    } rows[] = {
        {0.0f, 60.0f, 1.0f},  {4.0f, 2.0f, 1.0f},   {6.0f, 2.0f, 1.0f},   {8.0f, 2.0f, 1.0f},
        {10.0f, 94.0f, 6.0f}, {12.0f, 94.0f, 11.0f}, {13.0f, 94.0f, 11.0f},
    };
    for (const auto& row : rows) {
        EXPECT_NEAR(Horizon::dotSpread(row.t), row.spread, 1e-4f) << "t = " << row.t;
        EXPECT_NEAR(Horizon::dotGrowth(row.t), row.growth, 1e-4f) << "t = " << row.t;
    }
}

TEST(HorizonRules, TheForestVertexDrawStaysInsideTheForestAtBothEnds)
{
    // u() is exactly -1 and 1 for rand() = 0 and 32767: vertex N would be
    // asked for.
    const struct {
        float r;
        int vertexCount, vertex;
    } rows[] = {
        {1.0f, 1, 0}, {-1.0f, 1, 0}, {0.9999f, 1, 0}, {0.0f, 1, 0},
        {1.0f, 500, 499}, {-1.0f, 500, 499}, {0.5f, 500, 250}, {-0.001f, 500, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Horizon::forestVertex(row.r, row.vertexCount), row.vertex) << "r = " << row.r << ", N = " << row.vertexCount;
}

TEST(HorizonRules, AForestWithoutVerticesEndsTheProgramNamingTheFile)
{
    const std::vector<std::uint8_t> noMesh(4, 0);
    KestraneExt::VXMMeshData empty;
    empty.name = "empty";
    const std::vector<std::uint8_t> noVertex = KestraneExt::encodeVXM({empty});
    for (const auto* bytes : {&noMesh, &noVertex}) {
        const KestraneExt::VXMLoader forest(bytes->data(), bytes->size(), "atsolskogen.vxm", 0, 0);
        EXPECT_EXIT(Horizon::forestPositions(forest, "atsolskogen.vxm"), testing::ExitedWithCode(1),
                    "atsolskogen.vxm: the forest mesh has no vertices");
    }
}

using HorizonFrameTest = SceneTests::SceneTest;

// Mean level of the rows between two heights of the screen (0 bottom, 1 top).
double bandLevel(const std::vector<std::uint8_t>& rgba, double from, double to)
{
    const int width = 800, height = 600;
    double sum = 0.0;
    int count = 0;
    for (int y = int(from * height); y < int(to * height); ++y)
        for (int x = 0; x < width; ++x, ++count)
            for (int c = 0; c < 3; ++c) sum += rgba[(std::size_t(y) * width + x) * 4 + c];
    return sum / (3.0 * count);
}

TEST_F(HorizonFrameTest, TheGroundRisesIntoTheBottomAsTheLayersGrow)
{
    using SceneTests::renderAt;
    // At first only the tops of the layers show: the bottom of the picture
    // is the painted hills and the sky between chimneys. From t = 10 the
    // layers' dark grounds, grass and fence fill it.
    const auto early = renderAt(EntryStart + 0.1f);
    const auto late = renderAt(EntryStart + 11.0f);
    const double earlyBottom = bandLevel(early, 0.0, 0.1), lateBottom = bandLevel(late, 0.0, 0.1);
    const double lateSky = bandLevel(late, 0.8, 1.0);
    EXPECT_GT(earlyBottom, 55.0);
    EXPECT_LT(lateBottom, 35.0);
    EXPECT_GT(lateSky, 50.0);
    // The same time renders the same picture.
    EXPECT_EQ(SceneTests::differingBytes(late, renderAt(EntryStart + 11.0f)), 0u);
}
