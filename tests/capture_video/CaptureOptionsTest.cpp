// The capture tool's command line, frame arithmetic and benchmark figures:
// no GL, no files.
#include "Benchmark.h"
#include "CaptureOptions.h"
#include "ContactSheet.h"
#include "Progress.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace Capture;

namespace {

constexpr double showEnd = 204.6626;

bool parse(const std::vector<std::string>& args, Options& options, std::string& error)
{
    return parseOptions(args, showEnd, options, error);
}

}  // namespace

TEST(CaptureOptions, RangeDefaultsToTheWholeShowAtSixtyFps)
{
    Options options;
    std::string error;
    ASSERT_TRUE(parse({"--out", "frames"}, options, error)) << error;
    EXPECT_EQ(options.mode, Mode::Range);
    EXPECT_EQ(options.outKind, OutputKind::Directory);
    EXPECT_EQ(options.from, 0.0);
    EXPECT_EQ(options.to, showEnd);
    EXPECT_EQ(options.fps, 60.0);
    EXPECT_FALSE(options.wide);

    ASSERT_TRUE(parse({"--from=51.6", "--to", "61.6", "--fps=30", "--wide", "--out", "pils.MP4"}, options, error));
    EXPECT_EQ(options.outKind, OutputKind::Video);
    EXPECT_EQ(options.from, 51.6);
    EXPECT_EQ(options.to, 61.6);
    EXPECT_EQ(options.fps, 30.0);
    EXPECT_TRUE(options.wide);

    ASSERT_TRUE(parse({"--wide", "--sheet=scenes.PNG"}, options, error)) << error;
    EXPECT_EQ(options.mode, Mode::Sheet);
    EXPECT_EQ(options.out, "scenes.PNG");
    EXPECT_TRUE(options.wide);

    ASSERT_TRUE(parse({"--out", "x", "--help"}, options, error));
    EXPECT_EQ(options.mode, Mode::Help);
}

TEST(CaptureOptions, BadOptionsAreRefusedWithOneLine)
{
    const std::vector<std::vector<std::string>> bad = {
        {},                                                // nothing to do
        {"--from", "250", "--out", "d"},                   // past the show's end
        {"--from", "1", "--to", "1.001", "--out", "d"},    // no whole frame at 60 fps
        {"--fps", "nan", "--out", "d"},                    // not a number
        {"--from", "-1", "--out", "d"},
        {"--out"},                                         // missing value
        {"--at", "5", "--from", "1", "--out", "f.png"},    // one frame or a range
        {"--at", "5", "--out", "frames"},                  // --at writes a PNG
        {"--frames", "3", "--out", "d"},                   // --frames is for --bench
        {"--bench", "--frames", "0"},
        {"--wide=1", "--out", "d"},
        {"--sheet", "s.gif"},                              // the sheet is a PNG or JPEG
        {"--sheet", "s.png", "--at", "3"},                 // it picks its own frames
        {"--sheet", "s.png", "--out", "d"},
        {"--bench", "--sheet", "s.png"},
    };
    for (const auto& args : bad) {
        Options options;
        std::string error;
        SCOPED_TRACE(testing::PrintToString(args));
        EXPECT_FALSE(parse(args, options, error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
    // The rest of the tool's refusals go through the program: CaptureRunTest.
    Options options;
    std::string error;
    EXPECT_FALSE(parse({"--out", "d", "--fast"}, options, error));
    EXPECT_NE(error.find("--fast"), std::string::npos) << error;
    EXPECT_FALSE(parse({"--from", "5", "--to", "3", "--out", "d"}, options, error));
    EXPECT_NE(error.find("--to"), std::string::npos) << error;
}

TEST(CaptureOptions, FramesAreCountedAndTimedFromTheRangeStart)
{
    EXPECT_EQ(frameCount(10.0, 10.05, 60.0), 3);
    EXPECT_EQ(frameCount(5.0, 5.11, 30.0), 3);      // 3.3 rounds down
    EXPECT_EQ(frameCount(5.0, 5.12, 25.0), 3);      // exactly 3
    EXPECT_EQ(frameCount(0.0, 0.7, 5.0), 4);        // 3.5 rounds up
    EXPECT_EQ(frameCount(0.0, 204.6626, 60.0), 12280);
    EXPECT_EQ(frameCount(0.0, 1.0, 29.97), 30);

    EXPECT_EQ(frameTime(51.6, 60.0, 0), 51.6);
    EXPECT_NEAR(frameTime(51.6, 60.0, 600), 61.6, 1e-12);
    // No drift over a long capture: frame n is computed, not accumulated.
    EXPECT_EQ(frameTime(0.0, 60.0, 12000), 200.0);

    EXPECT_EQ(outputKind("show.MKV"), OutputKind::Video);
    EXPECT_EQ(outputKind("show.mp4/"), OutputKind::Directory);
}

// Three 4 x 2 frames shrunk by 2 and tiled two across: each tile is the
// rounded mean of its 2 x 2 blocks, in reading order; the fourth place,
// with no frame, stays black.
TEST(ContactSheet, FramesAreShrunkAndTiledInReadingOrder)
{
    auto frame = [](std::uint8_t left, std::uint8_t right) {
        std::vector<std::uint8_t> rgb;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                for (int c = 0; c < 3; ++c)
                    rgb.push_back(std::uint8_t((x < 2 ? left : right) + c + (x + y) % 2));
        return rgb;
    };
    const RgbPicture sheet = tileSheet({frame(10, 20), frame(30, 40), frame(50, 60)}, 4, 2, 2, 2);
    ASSERT_EQ(sheet.width, 4);
    ASSERT_EQ(sheet.height, 2);
    // Red channel, row by row: a block of v, v+1, v+1, v averages to v+0.5,
    // rounded up.
    const std::uint8_t red[] = {11, 21, 31, 41, 51, 61, 0, 0};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(sheet.rgb[std::size_t(i) * 3], red[i]) << "pixel " << i;
        EXPECT_EQ(sheet.rgb[std::size_t(i) * 3 + 2], red[i] ? red[i] + 2 : 0) << "pixel " << i;
    }
}

TEST(CaptureFigures, MedianWorstAndRate)
{
    const Figures odd = summarize({30.0, 10.0, 20.0});
    EXPECT_EQ(odd.median, 20.0);
    EXPECT_EQ(odd.worst, 30.0);
    EXPECT_EQ(odd.fps, 50.0);
    const Figures even = summarize({4.0, 1.0, 2.0, 100.0});
    EXPECT_EQ(even.median, 3.0);
    EXPECT_EQ(even.worst, 100.0);
    const Figures none = summarize({});
    EXPECT_EQ(none.median, 0.0);
    EXPECT_EQ(none.fps, 0.0);

    BenchReport report;
    report.renderer = "test";
    report.framesPerEntry = 2;
    report.loadSeconds = 1.25;
    report.entries = {{"Pils", 0.0, 4.42, {10.0, 30.0}}, {"ShinyCross", 4.42, 16.2, {40.0, 50.0}}};
    const std::string table = formatTable(report);
    EXPECT_NE(table.find("start-up (process start to first frame): 1.25 s"), std::string::npos) << table;
    EXPECT_NE(table.find("Pils"), std::string::npos);
    EXPECT_NE(table.find("20.00"), std::string::npos);  // Pils median
    EXPECT_NE(table.find("45.00"), std::string::npos);  // ShinyCross median
    // Whole show: each frame weighs its entry's length over its frame count,
    // so ShinyCross (11.78 s) outweighs Pils (4.42 s): the median is 40 ms,
    // not the plain median of the four frames (35 ms); worst 50 ms.
    const auto whole = table.find("whole show");
    ASSERT_NE(whole, std::string::npos);
    EXPECT_NE(table.find("40.00", whole), std::string::npos) << table;
    EXPECT_NE(table.find("50.00", whole), std::string::npos) << table;
    // Frames in floor units beside the milliseconds: Pils' median 20 ms and
    // worst 30 ms at a 4 ms floor.
    report.floorMilliseconds = 4.0;
    const std::string units = formatTable(report);
    EXPECT_NE(units.find("20.00     30.00      5.0      7.5"), std::string::npos) << units;
}

TEST(CaptureProgress, LineShowsFramePercentageAndTimeLeft)
{
    EXPECT_EQ(formatProgress(1, 12280, 2.0, 6139.5), "frame 1/12280  0.0%  2.0 fps  102:20 left");
    EXPECT_EQ(formatProgress(0, 10, 0.0, NAN), "frame 0/10  0.0%");

    // On a clock the test moves: 120 of 600 frames in 10 s is 12 fps with 40 s
    // left; a frame a tenth of a second later is not redrawn; the last always is.
    double now = 500.0;
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    ASSERT_NE(out, nullptr);
    Progress progress(600, true, [&] { return now; }, out);
    now = 510.0;
    progress.update(120);
    now = 510.1;
    progress.update(121);
    now = 530.0;
    progress.update(600);
    progress.finish();
    std::fclose(out);
    const std::string lines(text, size);
    std::free(text);
    EXPECT_EQ(lines, "\rframe 120/600  20.0%  12.0 fps  0:40 left\033[K"
                     "\rframe 600/600  100.0%  20.0 fps  0:00 left\033[K\n");

    // Not on a terminal: nothing at all.
    text = nullptr;
    out = open_memstream(&text, &size);
    Progress quiet(600, false, [&] { return now; }, out);
    quiet.update(600);
    quiet.finish();
    std::fclose(out);
    EXPECT_EQ(size, 0u);
    std::free(text);
}
