// Runs build/vessara-capture on short ranges as the user would and checks
// the frames, the video and the benchmark table it produces.
#include "FrameSink.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using TestSupport::ProgramRun;
using TestSupport::runProgram;

namespace {

ProgramRun capture(const std::string& arguments)
{
    return runProgram(TestSupport::buildProgram("vessara-capture") + " " + arguments);
}

class CaptureRun : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return dir.file(name); }
    TestSupport::TempDir dir;
};

long filesIn(const fs::path& directory)
{
    return std::distance(fs::directory_iterator(directory), fs::directory_iterator());
}

// The PNG at path; blackRows tells whether rows first..last (0 on top) are black.
struct Image : TestSupport::Picture {
    explicit Image(const fs::path& file) { TestSupport::readPng(file.string(), *this, nullptr); }
    // Mean of the colour values over rows first..last (0 black .. 255).
    double meanOfRows(int first, int last) const
    {
        double sum = 0.0;
        for (int y = first; y <= last; ++y)
            for (int x = 0; x < width; ++x)
                sum += at(x, y)[0] + at(x, y)[1] + at(x, y)[2];
        return sum / (3.0 * width * (last - first + 1));
    }
    bool blackRows(int first, int last) const
    {
        for (int y = first; y <= last; ++y)
            for (int x = 0; x < width; ++x)
                if (at(x, y)[0] || at(x, y)[1] || at(x, y)[2])
                    return false;
        return true;
    }
};

}  // namespace

TEST_F(CaptureRun, SameRangeGivesTheSameFramesAndRoundedCount)
{
    // (10.11 - 10) * 30 = 3.3 frames: three are written.
    for (const char* name : {"a", "b"}) {
        const ProgramRun result = capture("--from 10 --to 10.11 --fps 30 --out " + path(name));
        ASSERT_EQ(result.status, 0) << result.output;
        EXPECT_NE(result.output.find("; 0 GL errors\n"), std::string::npos) << result.output;
    }
    EXPECT_EQ(filesIn(path("a")), 3);
    EXPECT_EQ(filesIn(path("b")), 3);
    for (long n = 0; n < 3; ++n) {
        const std::string name = Capture::PngDirectory::frameName(n);
        const std::string a = TestSupport::readFile(dir.path() / "a" / name);
        ASSERT_FALSE(a.empty()) << name;
        EXPECT_TRUE(a == TestSupport::readFile(dir.path() / "b" / name)) << name << " differs between two captures";
        // Each frame is a later moment of the show, not the same one again.
        if (n > 0) {
            EXPECT_FALSE(a == TestSupport::readFile(dir.path() / "a" / Capture::PngDirectory::frameName(n - 1)))
                << name << " repeats the frame before it";
        }
    }
    const Image first(dir.path() / "a" / Capture::PngDirectory::frameName(0));
    ASSERT_EQ(first.width, 800);
    ASSERT_EQ(first.height, 600);
    EXPECT_FALSE(first.blackRows(0, 599)) << "frame at 10 s is a scene, not black";
}

TEST_F(CaptureRun, VideoHoldsTheFramesAndTheMusic)
{
    // test.sh installs ffmpeg: its absence is a broken set-up, not a pass.
    ASSERT_FALSE(Capture::findOnPath("ffmpeg", std::getenv("PATH")).empty()) << "ffmpeg is not installed";
    ASSERT_FALSE(Capture::findOnPath("ffprobe", std::getenv("PATH")).empty()) << "ffprobe is not installed";
    // The wide picture, so the video also shows that the letterbox bands
    // survive encoding.
    const ProgramRun result = capture("--wide --from 52 --to 52.5 --fps 10 --out " + path("pils.mp4"));
    ASSERT_EQ(result.status, 0) << result.output;
    const ProgramRun probe = runProgram("ffprobe -v error -show_entries stream=codec_type,r_frame_rate,nb_frames "
                          "-show_entries format=duration -of default=noprint_wrappers=1 " +
                          path("pils.mp4"));
    ASSERT_EQ(probe.status, 0) << probe.output;
    EXPECT_NE(probe.output.find("codec_type=video\nr_frame_rate=10/1\nnb_frames=5\n"), std::string::npos)
        << probe.output;
    EXPECT_NE(probe.output.find("codec_type=audio"), std::string::npos) << probe.output;
    const auto duration = probe.output.find("duration=");
    ASSERT_NE(duration, std::string::npos);
    EXPECT_NEAR(std::stod(probe.output.substr(duration + 9)), 0.5, 0.05) << probe.output;

    // The last frame decoded again: 800 x 600, dark bands above and below
    // the 800 x 450 picture (the encoder may lift black by a level or two).
    const ProgramRun decode = runProgram("ffmpeg -v error -sseof -0.1 -i " + path("pils.mp4") +
                                         " -frames:v 1 -y " + path("last.png"));
    ASSERT_EQ(decode.status, 0) << decode.output;
    const Image last(dir.path() / "last.png");
    ASSERT_EQ(last.width, 800);
    ASSERT_EQ(last.height, 600);
    EXPECT_LT(last.meanOfRows(0, 70), 4.0) << "top band";
    EXPECT_LT(last.meanOfRows(529, 599), 4.0) << "bottom band";
    EXPECT_GT(last.meanOfRows(80, 519), 40.0) << "the picture";
}

TEST_F(CaptureRun, BadOptionsAreRefusedBeforeRendering)
{
    const std::string frames = path("never");
    // Each refusal is one line that names what was wrong.
    const struct {
        std::string arguments, named;
    } refused[] = {
        {"--out " + frames + " --fast", "--fast"},
        {"--from 5 --to 3 --out " + frames, "--to"},
        {"--fps 0 --out " + frames, "--fps"},
        {"--fps -24 --out " + frames, "--fps"},
        {"--out /proc/version/frames", "/proc/version/frames"},
        {"--out " + path("missing/show.mp4"), "missing"},
        {"--at 5 --out " + path("missing/f.png"), "missing"},
        {"--bench --out " + frames, "--bench"},
    };
    for (const auto& r : refused) {
        const ProgramRun result = capture(r.arguments);
        EXPECT_EQ(result.status, 2) << r.arguments << "\n" << result.output;
        EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 1) << result.output;
        EXPECT_EQ(result.output.rfind("vessara-capture: ", 0), 0u) << result.output;
        EXPECT_NE(result.output.find(r.named), std::string::npos) << r.arguments << "\n" << result.output;
    }
    EXPECT_FALSE(fs::exists(frames));

    // Without ffmpeg a video cannot be made: the tool says so and points to --out DIR.
    const ProgramRun noFfmpeg = runProgram("env PATH=" + path("empty") + " " + TestSupport::buildProgram("vessara-capture") + " --out " +
                             path("show.mp4"));
    EXPECT_EQ(noFfmpeg.status, 2) << noFfmpeg.output;
    EXPECT_NE(noFfmpeg.output.find("ffmpeg"), std::string::npos) << noFfmpeg.output;
    EXPECT_NE(noFfmpeg.output.find("--out DIR"), std::string::npos) << noFfmpeg.output;
    EXPECT_FALSE(fs::exists(path("show.mp4")));
}

TEST(CaptureBench, PrintsLoadTimeAndOneRowPerEntry)
{
    const ProgramRun result = capture("--bench --frames 1");
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("start-up (process start to first frame):"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("floor unit (one 512 x 512 one-texture pass):"), std::string::npos) << result.output;
    for (const char* row : {"\n  1  ", "\n 10  ", "whole show"})
        EXPECT_NE(result.output.find(row), std::string::npos) << row << "\n" << result.output;
    EXPECT_EQ(result.output.find("\n 11  "), std::string::npos) << result.output;
}
