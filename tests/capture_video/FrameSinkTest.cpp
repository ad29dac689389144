// Output checks, the PATH search and the pipe to the encoder, the encoder
// played by small shell scripts so that no real ffmpeg is needed.
#include "FrameSink.h"
#include "FrameWriter.h"
#include "VideoEncoder.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <thread>

using namespace Capture;
namespace fs = std::filesystem;

namespace {

class Scratch : public ::testing::Test {
protected:
    std::string script(const std::string& name, const std::string& body, bool executable = true)
    {
        const fs::path path = root / name;
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        ::chmod(path.c_str(), executable ? 0755 : 0644);
        return path.string();
    }

    TestSupport::TempDir dir;
    const fs::path& root = dir.path();
};

std::vector<std::uint8_t> frame(std::uint8_t seed)
{
    std::vector<std::uint8_t> rgb(800 * 600 * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = std::uint8_t(i * 7 + seed);
    return rgb;
}

}  // namespace

TEST_F(Scratch, OutputsAreCheckedAndFrameDirectoriesCreated)
{
    std::string error;
    const fs::path frames = root / "a" / "b";
    EXPECT_TRUE(prepareOutput(frames.string(), OutputKind::Directory, error)) << error;
    EXPECT_TRUE(fs::is_directory(frames));
    EXPECT_TRUE(prepareOutput(frames.string(), OutputKind::Directory, error)) << "existing directory: " << error;

    std::ofstream(root / "file") << "x";
    EXPECT_FALSE(prepareOutput((root / "file").string(), OutputKind::Directory, error));
    EXPECT_NE(error.find("file"), std::string::npos) << error;
    EXPECT_FALSE(prepareOutput((root / "file" / "frames").string(), OutputKind::Directory, error));

    EXPECT_TRUE(prepareOutput((root / "show.mp4").string(), OutputKind::Video, error)) << error;
    EXPECT_TRUE(prepareOutput((root / "file").string(), OutputKind::Png, error)) << "overwrite: " << error;
    EXPECT_FALSE(prepareOutput((root / "missing" / "show.mp4").string(), OutputKind::Video, error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
    EXPECT_FALSE(prepareOutput(frames.string(), OutputKind::Video, error)) << "a directory is not a video file";
    EXPECT_EQ(error.find('\n'), std::string::npos);
}

TEST_F(Scratch, ProgramsAreFoundOnPathOnlyWhenExecutable)
{
    fs::create_directories(root / "one");
    fs::create_directories(root / "two");
    script("one/ffmpeg", "exit 0", false);
    const std::string wanted = script("two/ffmpeg", "exit 0");
    const std::string path = (root / "none").string() + ":" + (root / "one").string() + ":" + (root / "two").string();
    EXPECT_EQ(findOnPath("ffmpeg", path.c_str()), wanted);
    EXPECT_EQ(findOnPath("ffprobe", path.c_str()), "");
    EXPECT_EQ(findOnPath("ffmpeg", (root / "one").c_str()), "");
    EXPECT_EQ(findOnPath("ffmpeg", nullptr), "");
    EXPECT_EQ(findOnPath(wanted, nullptr), wanted);
}

TEST(VideoArguments, MusicIsCutToTheFramesRange)
{
    VideoSettings settings{"/usr/bin/ffmpeg", "pils.mp4", 800, 600, 60.0, 51.6, 10.0, "data/music.mp3"};
    const std::vector<std::string> args = ffmpegArguments(settings);
    auto at = [&](const std::string& arg) { return std::find(args.begin(), args.end(), arg) - args.begin(); };
    auto after = [&](const std::string& arg) { return args.at(std::size_t(at(arg)) + 1); };
    EXPECT_EQ(after("-pix_fmt"), "rgb24");
    EXPECT_EQ(after("-ss"), "51.600000");
    // -ss and -t apply to the music input, which follows the frames' input.
    const auto musicInput = std::find(args.begin(), args.end(), "data/music.mp3") - args.begin();
    EXPECT_LT(at("pipe:0"), at("-ss"));
    EXPECT_LT(at("-t"), musicInput);
    EXPECT_NE(at("+faststart"), long(args.size()));

    settings.music.clear();
    settings.out = "x.mkv";
    settings.fps = 29.97;
    const std::vector<std::string> silent = ffmpegArguments(settings);
    EXPECT_EQ(std::count(silent.begin(), silent.end(), "-i"), 1);
    EXPECT_EQ(std::count(silent.begin(), silent.end(), "-ss"), 0);
    EXPECT_EQ(std::count(silent.begin(), silent.end(), "+faststart"), 0);
    EXPECT_EQ(*(std::find(silent.begin(), silent.end(), "-framerate") + 1), "29.97");
}

TEST_F(Scratch, EncoderReceivesEveryFrameByteAndReportsFailures)
{
    // Stands in for ffmpeg: copies its input to the last argument.
    const std::string copier = script("copier", "for last; do :; done; cat > \"$last\"");
    VideoSettings settings{copier, (root / "out.raw").string(), 800, 600, 60.0, 0.0, 1.0, ""};
    std::string error;
    {
        VideoEncoder encoder;
        ASSERT_TRUE(encoder.start(settings, error)) << error;
        for (std::uint8_t n = 0; n < 3; ++n)
            ASSERT_TRUE(encoder.write(n, frame(n), error)) << error;
        ASSERT_TRUE(encoder.finish(error)) << error;
    }
    std::ifstream written(settings.out, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 3u * 800 * 600 * 3);
    for (std::uint8_t n = 0; n < 3; ++n)
        EXPECT_TRUE(std::equal(bytes.begin() + long(n) * 800 * 600 * 3, bytes.begin() + long(n + 1) * 800 * 600 * 3,
                               frame(n).begin()))
            << "frame " << int(n);

    // An encoder that gives up: writes fail (no SIGPIPE) and its status is reported.
    settings.ffmpeg = script("quitter", "exit 3");
    VideoEncoder quitter;
    ASSERT_TRUE(quitter.start(settings, error)) << error;
    bool wrote = true;
    for (int n = 0; n < 50 && wrote; ++n)
        wrote = quitter.write(n, frame(0), error);
    EXPECT_FALSE(wrote);
    EXPECT_NE(error.find("ffmpeg"), std::string::npos) << error;
    EXPECT_FALSE(quitter.finish(error));
    EXPECT_NE(error.find("3"), std::string::npos) << error;

    settings.ffmpeg = (root / "absent").string();
    VideoEncoder absent;
    EXPECT_FALSE(absent.start(settings, error));
    EXPECT_NE(error.find("absent"), std::string::npos) << error;
}

TEST_F(Scratch, FramesAreNumberedInTheirDirectory)
{
    EXPECT_EQ(PngDirectory::frameName(0), "frame000000.png");
    EXPECT_EQ(PngDirectory::frameName(12279), "frame012279.png");
    PngDirectory sink(root.string(), 800, 600);
    std::string error;
    ASSERT_TRUE(sink.write(7, frame(1), error)) << error;
    EXPECT_TRUE(fs::exists(root / "frame000007.png"));
    fs::remove_all(root);
    EXPECT_FALSE(sink.write(8, frame(1), error));
    EXPECT_NE(error.find("frame000008.png"), std::string::npos) << error;
}

namespace {

// Remembers what reached it, from which thread; fails at frame `failAt`.
class RecordingSink : public FrameSink {
public:
    explicit RecordingSink(long failAt = -1) : failAt(failAt) {}
    bool write(long n, const std::vector<std::uint8_t>& rgb, std::string& error) override
    {
        if (n == failAt) {
            error = "disk full at frame " + std::to_string(n);
            return false;
        }
        frames.push_back(n);
        intact = intact && rgb.size() == 3 && rgb[0] == std::uint8_t(n) && rgb[2] == std::uint8_t(n / 256);
        threads.push_back(std::this_thread::get_id());
        return true;
    }
    bool finish(std::string&) override { return true; }

    long failAt;
    std::vector<long> frames;
    std::vector<std::thread::id> threads;
    bool intact = true;
};

}  // namespace

TEST(FrameWriter, WritesEveryFrameOnceInOrderOffTheCallingThread)
{
    for (std::size_t capacity : {std::size_t(1), std::size_t(4)}) {
        RecordingSink sink;
        std::string error;
        {
            FrameWriter writer(sink, capacity);
            for (long n = 0; n < 300; ++n)
                ASSERT_TRUE(writer.push(n, {std::uint8_t(n), 7, std::uint8_t(n / 256)}, error)) << error;
            ASSERT_TRUE(writer.finish(error)) << error;
            EXPECT_EQ(writer.written(), 300);
        }
        std::vector<long> expected(300);
        std::iota(expected.begin(), expected.end(), 0L);
        EXPECT_EQ(sink.frames, expected) << "capacity " << capacity;
        EXPECT_TRUE(sink.intact);
        ASSERT_FALSE(sink.threads.empty());
        EXPECT_NE(sink.threads.front(), std::this_thread::get_id());
        EXPECT_EQ(std::count(sink.threads.begin(), sink.threads.end(), sink.threads.front()), 300);
    }
}

TEST(FrameWriter, AFailedWriteStopsTheCaptureWithTheSinksMessage)
{
    RecordingSink sink(5);
    FrameWriter writer(sink, 2);
    std::string error;
    long pushed = 0;
    while (pushed < 100 && writer.push(pushed, {std::uint8_t(pushed), 0, 0}, error))
        ++pushed;
    // The queue holds at most two frames, so pushing stops soon after frame 5.
    EXPECT_LT(pushed, 100);
    EXPECT_GE(pushed, 5);
    EXPECT_EQ(error, "disk full at frame 5");
    std::string finishError;
    EXPECT_FALSE(writer.finish(finishError));
    EXPECT_EQ(finishError, "disk full at frame 5");
    EXPECT_EQ(sink.frames, (std::vector<long>{0, 1, 2, 3, 4}));
    EXPECT_EQ(writer.written(), 5);
}
