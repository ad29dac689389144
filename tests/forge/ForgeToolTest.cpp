// The forge program as the build runs it: two runs into fresh folders give
// the same bytes, a current folder is left alone, a missing file is made
// again, and bad arguments or files end with a message and a failure status.
#include "Content.h"
#include "ForgeTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <sys/wait.h>
#include <thread>

namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int status;
    std::string output;
};

ToolRun runForge(const std::string& arguments, const fs::path& log) {
    const std::string command = forgeProgram() + " " + arguments + " > " + log.string() + " 2>&1";
    const int raw = std::system(command.c_str());
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text.str()};
}

std::map<std::string, std::string> readAll(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() == ".log") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().filename().string()] =
            std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    return files;
}

}  // namespace

TEST(ForgeTool, TwoRunsWriteTheSameBytesAndACurrentFolderIsLeftAlone) {
    ScratchDir a, b;
    ToolRun runA, runB;
    // Both at once, as two build folders might.
    std::thread first([&] { runA = runForge("--out " + a.path().string(), a.path() / "run.log"); });
    std::thread second([&] { runB = runForge("--out " + b.path().string() + " --jobs 1", b.path() / "run.log"); });
    first.join();
    second.join();
    ASSERT_EQ(runA.status, 0) << runA.output;
    ASSERT_EQ(runB.status, 0) << runB.output;
    EXPECT_NE(runA.output.find(" s\n"), std::string::npos) << "the run prints its time";

    const auto filesA = readAll(a.path()), filesB = readAll(b.path());
    for (const Forge::Asset& asset : Forge::allAssets()) {
        ASSERT_TRUE(filesA.count(asset.name)) << asset.name << " missing";
        EXPECT_FALSE(filesA.at(asset.name).empty()) << asset.name;
    }
    ASSERT_EQ(filesA.size(), filesB.size());
    for (const auto& [name, bytes] : filesA) {
        ASSERT_TRUE(filesB.count(name)) << name;
        EXPECT_TRUE(bytes == filesB.at(name)) << name << " differs between runs";
    }

    // Current: nothing is written again.
    const auto before = fs::last_write_time(a.path() / "music.mp3");
    const ToolRun again = runForge("--out " + a.path().string(), a.path() / "again.log");
    EXPECT_EQ(again.status, 0);
    EXPECT_NE(again.output.find("up to date"), std::string::npos) << again.output;
    EXPECT_EQ(fs::last_write_time(a.path() / "music.mp3"), before);

    // A missing file is noticed and made again, with the same bytes.
    fs::remove(a.path() / "bw.jpg");
    const ToolRun repair = runForge("--out " + a.path().string(), a.path() / "repair.log");
    EXPECT_EQ(repair.status, 0) << repair.output;
    EXPECT_TRUE(readAll(a.path()).at("bw.jpg") == filesB.at("bw.jpg"));
}

TEST(ForgeTool, MakesAChosenSubsetOnly) {
    ScratchDir dir;
    const ToolRun run = runForge("--out " + dir.path().string() + " --only cross.vxm,bw.jpg", dir.path() / "run.log");
    ASSERT_EQ(run.status, 0) << run.output;
    const auto files = readAll(dir.path());
    EXPECT_EQ(files.size(), 2u);
    EXPECT_TRUE(files.count("cross.vxm") && files.count("bw.jpg"));
}

TEST(ForgeTool, BadArgumentsAndFilesFailWithAMessage) {
    ScratchDir dir;
    const fs::path log = dir.path() / "run.log";
    ToolRun r = runForge("--bogus", log);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("--bogus"), std::string::npos);

    r = runForge("--out " + dir.path().string() + " --only nosuch.jpg", log);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("nosuch.jpg"), std::string::npos);

    r = runForge("--report --mp3 " + (dir.path() / "missing.mp3").string(), log);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("missing.mp3"), std::string::npos);

    std::ofstream(dir.path() / "noise.mp3") << "this is not an MP3 stream at all";
    r = runForge("--report --mp3 " + (dir.path() / "noise.mp3").string(), log);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("noise.mp3"), std::string::npos);

    // A folder that cannot be made (a file is in the way).
    std::ofstream(dir.path() / "blocker") << "x";
    r = runForge("--out " + (dir.path() / "blocker" / "data").string() + " --only bw.jpg", log);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("blocker"), std::string::npos);

    r = runForge("--preview " + (dir.path() / "none.vxm").string() + " " + (dir.path() / "p.png").string(), log);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("none.vxm"), std::string::npos);
}
