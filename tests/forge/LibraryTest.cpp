// Smaller parts of the authoring library: outlines (grouping, insetting,
// loop removal), file output and the mesh preview.
#include "Geometry2D.h"
#include "MeshShapes.h"
#include "Output.h"
#include "Preview.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace Forge;

TEST(Outlines, GroupingInsetAndLoops) {
    const Contour outer{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const Contour hole{{2, 2}, {2, 4}, {4, 4}, {4, 2}};       // clockwise
    const Contour island{{20, 0}, {22, 0}, {22, 2}, {20, 2}};
    const auto shapes = groupContours({hole, outer, island});
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0].holes.size(), 1u);
    EXPECT_EQ(shapes[1].holes.size(), 0u);
    // Inset: the square shrinks by d on every side, the hole grows.
    EXPECT_NEAR(signedArea(inset(outer, 1.0f)), 64.0f, 1e-3f);
    EXPECT_NEAR(signedArea(inset(hole, 0.5f)), -9.0f, 1e-3f);
    // A fold-over (a bow tie) collapses to its crossing point.
    Contour bow{{0, 0}, {4, 0}, {4, 1}, {2, 1}, {3, -1}, {0, 1}};
    collapseLoops(bow);
    EXPECT_EQ(bow.size(), 6u);
    for (std::size_t i = 0; i < bow.size(); ++i)
        for (std::size_t j = i + 2; j < bow.size(); ++j) {
            if (i == 0 && j == bow.size() - 1) continue;
            const Vec2 a = bow[i], b = bow[(i + 1) % bow.size()], c = bow[j], d = bow[(j + 1) % bow.size()];
            const float d1 = cross(b - a, c - a), d2 = cross(b - a, d - a), d3 = cross(d - c, a - c),
                        d4 = cross(d - c, b - c);
            EXPECT_FALSE(d1 * d2 < 0 && d3 * d4 < 0) << "edges " << i << " and " << j << " still cross";
        }
    EXPECT_EQ(cleaned({{0, 0}, {0, 0}, {1, 0}, {1, 1}, {0, 0}}).size(), 3u);
}

TEST(Output, WritesWholeFilesOrReportsWhy) {
    TestSupport::TempDir dir;
    const std::string path = (dir.path() / "a.bin").string();
    std::string error;
    ASSERT_TRUE(writeOutputFile(path, {1, 2, 3}, &error)) << error;
    ASSERT_TRUE(writeOutputFile(path, {4, 5}, &error)) << error;  // replaced whole
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), std::string("\4\5"));
    EXPECT_FALSE(writeOutputFile((dir.path() / "no" / "such" / "dir.bin").string(), {1}, &error));
    EXPECT_NE(error.find("dir.bin"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary left";
    EXPECT_NE(fnv1a64("a", 1), fnv1a64("b", 1));
}

TEST(Preview, DrawsTheMeshWhereTheCameraLooks) {
    ExtrudeStyle style;
    style.depth = 2.0f;
    const Mesh box = extrude(groupContours({Contour{{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}}), style);
    const std::vector<std::uint8_t> bytes = KestraneExt::encodeVXM({box.toVXM("box")});
    const Rgba background{0, 0, 1, 1};
    const Image img = renderPreview(bytes, "box.vxm", {{0, 0, 8}, {0, 0, 0}, {0, 1, 0}, 40}, 64, 48, nullptr, background);
    EXPECT_NE(img.at(32, 24).b, 1.0f) << "the box covers the centre";
    EXPECT_GT(img.at(32, 24).r, 0.1f) << "and faces the light";
    EXPECT_EQ(img.at(1, 1).b, 1.0f) << "the corner shows the background";
    const PreviewCamera framed = framingCamera(bytes, "box.vxm");
    EXPECT_GT(length(framed.eye - framed.target), 2.0f);
}
