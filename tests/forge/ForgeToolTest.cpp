// The forge program as the build runs it: a folder missing a file is made
// again with the recorded bytes, a current folder is
// left alone, and bad arguments or files end with a message naming them and a
// failure status.
#include "Content.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;
using TestSupport::runProgram;

namespace {

TestSupport::ProgramRun forge(const std::string& arguments) {
    return runProgram(TestSupport::buildProgram("forge") + " " + arguments);
}

// FNV-1a of a file's bytes, as tests/forge/content.txt records them.
std::string digest(const std::string& bytes) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
    return text;
}

}  // namespace

// The build's data/ less one file: the run notices the gap, makes every
// file again, and a second run finds the folder current. Every file is
// compared with the digest recorded in tests/forge/content.txt, not with
// data/ (which the same program made): a change of the content that was
// not meant fails. After an intended change, rewrite the record with
//   VESSARA_UPDATE_REFERENCES=1 build/test_programs --gtest_filter='*AMissingFile*'
TEST(ForgeTool, AMissingFileIsMadeAgainWithTheRecordedBytesAndACurrentFolderIsLeftAlone) {
    TestSupport::TempDir dir;
    fs::copy("data", dir.path(), fs::copy_options::overwrite_existing);
    fs::remove(dir.file("bw.jpg"));
    const std::string out = "--out " + dir.path().string();
    const auto run = forge(out);
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find(" s\n"), std::string::npos) << "the run prints its time";
    const std::string recordPath = "tests/forge/content.txt";
    std::map<std::string, std::string> recorded;
    std::ifstream in(recordPath);
    for (std::string name, hash; in >> name >> hash;) recorded[name] = hash;
    std::ofstream record;
    if (TestSupport::updatingReferences()) record.open(recordPath);
    for (const Forge::Asset& asset : Forge::allAssets()) {
        const std::string made = TestSupport::readFile(dir.file(asset.name));
        EXPECT_FALSE(made.empty()) << asset.name << " missing";
        if (record.is_open())
            record << asset.name << " " << digest(made) << "\n";
        else
            EXPECT_EQ(digest(made), recorded[asset.name]) << asset.name << " differs from " << recordPath;
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
