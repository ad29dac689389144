// The forge program as the build runs it: a folder missing a file is made
// again with the bytes of the build's own run into data/, a current folder is
// left alone, and bad arguments or files end with a message naming them and a
// failure status.
#include "Content.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;
using TestSupport::runProgram;

namespace {

TestSupport::ProgramRun forge(const std::string& arguments) {
    return runProgram(TestSupport::buildProgram("forge") + " " + arguments);
}

}  // namespace

// The build's data/ less one file: the run notices the gap, makes every
// file again with the same bytes, and a second run finds the folder current.
TEST(ForgeTool, AMissingFileIsMadeAgainWithTheBuildsBytesAndACurrentFolderIsLeftAlone) {
    TestSupport::TempDir dir;
    fs::copy("data", dir.path(), fs::copy_options::overwrite_existing);
    fs::remove(dir.file("bw.jpg"));
    const std::string out = "--out " + dir.path().string();
    const auto run = forge(out);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find(" s\n"), std::string::npos) << "the run prints its time";
    for (const Forge::Asset& asset : Forge::allAssets()) {
        const std::string made = TestSupport::readFile(dir.file(asset.name));
        EXPECT_FALSE(made.empty()) << asset.name << " missing";
        EXPECT_TRUE(made == TestSupport::readFile("data/" + asset.name)) << asset.name << " differs from data/";
    }
    const auto before = fs::last_write_time(dir.file("music.mp3"));
    const auto again = forge(out);
    EXPECT_EQ(again.status, 0);
    EXPECT_NE(again.output.find("up to date"), std::string::npos) << again.output;
    EXPECT_EQ(fs::last_write_time(dir.file("music.mp3")), before);
}

// One worker gives the bytes the build's parallel run gave, and only the
// files asked for.
TEST(ForgeTool, MakesAChosenSubsetOnlyWithTheSameBytesOnOneWorker) {
    TestSupport::TempDir dir;
    const auto run = forge("--out " + dir.path().string() + " --jobs 1 --only cross.vxm,bw.jpg");
    ASSERT_EQ(run.status, 0) << run.output;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        names.push_back(entry.path().filename().string());
        EXPECT_TRUE(TestSupport::readFile(entry.path().string()) == TestSupport::readFile("data/" + names.back()))
            << names.back();
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"bw.jpg", "cross.vxm"}));
}

TEST(ForgeTool, BadArgumentsAndFilesFailWithAMessage) {
    TestSupport::TempDir dir;
    dir.write("noise.mp3", "this is not an MP3 stream at all");
    dir.write("blocker", "x");  // a file where a folder should be made
    const std::string d = dir.path().string() + "/";
    const struct {
        std::string arguments;
        int status;
        std::string named;
    } cases[] = {
        {"--bogus", 2, "--bogus"},
        {"--out " + d + " --only nosuch.jpg", 2, "nosuch.jpg"},
        {"--report --mp3 " + d + "missing.mp3", 1, "missing.mp3"},
        {"--report --mp3 " + d + "noise.mp3", 1, "noise.mp3"},
        {"--out " + d + "blocker/data --only bw.jpg", 1, "blocker"},
        {"--preview " + d + "none.vxm " + d + "p.png", 1, "none.vxm"},
    };
    for (const auto& c : cases) {
        const auto run = forge(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.named), std::string::npos) << c.arguments << "\n" << run.output;
    }
}
