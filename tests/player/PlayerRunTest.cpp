// The show program itself, run headless as a viewer runs it: SDL's offscreen
// video driver and the dummy audio driver, which plays the music at the real
// rate. Keys come through the platform layer's scripted keys
// (VESSARA_SCRIPTED_KEYS, kestrane/Keyboard.h): the offscreen driver has no
// keyboard. Each run is bounded by timeout(1), so a show that fails to end
// fails the test (status 124) instead of hanging it.
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using TestSupport::ProgramRun;

namespace {

// The show run from `directory` with `environment` set and these options.
ProgramRun runShow(const fs::path& directory, const std::string& environment, const std::string& options,
                   double* wallSeconds = nullptr)
{
    const fs::path show = fs::absolute(TestSupport::buildProgram("vessara"));
    const auto start = std::chrono::steady_clock::now();
    const ProgramRun run = TestSupport::runProgram("cd '" + directory.string() + "' && env " + environment +
                                                   " timeout 60 '" + show.string() + "' " + options);
    if (wallSeconds)
        *wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return run;
}

}  // namespace

// From 200 s the last entry ends at 204.66 s and the music at 206.9 s: the
// show ends by itself soon after, with status 0, long before its latest end
// of 240 s. The bound on the wall time is what tells the two apart: 7 s of
// show and a few of start-up, against 40 s of show (measured: 8 to 14 s,
// against 44 s with the old end).
TEST(PlayerRun, EndsByItselfShortlyAfterTheMusic)
{
    double seconds = 0.0;
    const ProgramRun run = runShow(fs::current_path(), "", "--from 200", &seconds);
    std::printf("vessara --from 200: exit status %d after %.1f s\n", run.status, seconds);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_LT(seconds, 35.0);
}

// F10 in frame 30 writes dump0.png (and only that: one frame held) into the
// directory the show was started from, not its content root, and the picture
// is the scene; Escape in frame 40 ends the show with status 0.
TEST(PlayerRun, F10SavesTheSceneWhereItWasStartedAndEscapeQuits)
{
    const TestSupport::TempDir dir;
    const ProgramRun run = runShow(dir.path(), "VESSARA_SCRIPTED_KEYS=F10@30,Escape@40", "--from 36");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_FALSE(fs::exists(dir.path() / "dump1.png"));
    EXPECT_FALSE(fs::exists(fs::current_path() / "dump0.png"));

    TestSupport::Picture dump;
    std::string error;
    ASSERT_TRUE(TestSupport::readPng(dir.file("dump0.png"), dump, &error)) << error;
    ASSERT_EQ(dump.width, 800);
    ASSERT_EQ(dump.height, 600);
    // Flowerball: the ball, its flowers and the lettering over a day sky
    // fill the screen. The frame's music time depends on the machine's
    // speed, so the picture is judged by its content rather than compared:
    // a black or cleared dump (the wrong buffer, saved after the clear) has
    // no bright pixels, a single colour no spread.
    long bright = 0;
    int lowest = 255 * 3, highest = 0;
    for (int y = 0; y < dump.height; ++y)
        for (int x = 0; x < dump.width; ++x) {
            const std::uint8_t* p = dump.at(x, y);
            const int sum = p[0] + p[1] + p[2];
            bright += sum > 3 * 100;
            lowest = std::min(lowest, sum);
            highest = std::max(highest, sum);
        }
    EXPECT_GT(bright, 800 * 600 / 2);
    EXPECT_GT(highest - lowest, 3 * 100);
}

// A content root lacking one generated file ends the show with status 1 and
// a message naming the file. (No data at all is the content root's own
// message, PlayerTest.cpp.)
TEST(PlayerRun, MissingDataEndsWithStatusOneNamingIt)
{
    const TestSupport::TempDir dir;
    const fs::path sourceTree = fs::current_path();
    fs::create_directories(dir.path() / "data");
    fs::create_directory_symlink(sourceTree / "vessara_data", dir.path() / "vessara_data");
    for (const fs::directory_entry& file : fs::directory_iterator(sourceTree / "data"))
        if (file.path().filename() != "balloon.ztx")
            fs::create_symlink(file.path(), dir.path() / "data" / file.path().filename());

    const ProgramRun run = runShow(dir.path(), "", "--from 200");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("cannot open \"data/balloon.ztx\""), std::string::npos) << run.output;
}
