// The command line of vessara and vessara-wide, and how the programs find
// their data from wherever they are started.
#include "vessara/ContentRoot.h"
#include "vessara/Demo.h"
#include "vessara/PlayerOptions.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace Vessara;

namespace {

constexpr double showEnd = 204.6626;

using TestSupport::ProgramRun;

// Runs a shell command in `directory`; output is what the command's own
// redirections send on.
ProgramRun runIn(const fs::path& directory, const std::string& command)
{
    return TestSupport::runProgram("cd '" + directory.string() + "' && (" + command + ")");
}

// A directory holding what makes a content root.
void makeContent(const fs::path& directory)
{
    fs::create_directories(directory / "data");
    fs::create_directories(directory / "vessara_data");
    std::ofstream(directory / "data" / "music.mp3") << "x";
}

}  // namespace

// Every option, bad values and the exit statuses, as readCommandLine decides
// them; then the decisions applied to a demo's settings.
TEST(PlayerCommandLine, OptionsBadValuesAndExitStatuses)
{
    constexpr int plays = -1;
    struct Case {
        std::vector<std::string> args;
        int status;              // plays, or the exit status without playing
        Screen screen;           // when it plays
        double from;             // when it plays
        std::string mentions;    // in the first line of the text otherwise
    };
    const Case cases[] = {
        {{}, plays, Screen::ModeSwitch, 0.0, ""},
        {{"--window"}, plays, Screen::Window, 0.0, ""},
        {{"--desktop", "--from", "100"}, plays, Screen::Desktop, 100.0, ""},
        {{"--from=204.66", "--window", "--window"}, plays, Screen::Window, 204.66, ""},
        {{"--window", "--help"}, 0, {}, 0.0, "usage: vessara [--window | --desktop] [--from SECONDS]"},
        {{"-h", "--bogus"}, 0, {}, 0.0, "usage: vessara"},
        {{"--bogus", "--help"}, 2, {}, 0.0, "vessara: unknown option \"--bogus\""},
        {{"--from"}, 2, {}, 0.0, "--from needs a value"},
        {{"--from", "-1"}, 2, {}, 0.0, "--from wants a number from 0 to 204.663, not \"-1\""},
        {{"--from", "nan"}, 2, {}, 0.0, "not \"nan\""},
        {{"--from", "300"}, 2, {}, 0.0, "not \"300\""},
        {{"--from", "204.6626"}, 2, {}, 0.0, "lies at the show's end"},
        {{"--window=yes"}, 2, {}, 0.0, "--window takes no value"},
        {{"--desktop", "--window"}, 2, {}, 0.0, "--window and --desktop do not go together"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const PlayerCommand command = readCommandLine(c.args, showEnd, false);
        EXPECT_EQ(command.play, c.status == plays);
        if (c.status == plays) {
            EXPECT_EQ(command.options.screen, c.screen);
            EXPECT_EQ(command.options.from, c.from);
            continue;
        }
        EXPECT_EQ(command.exitStatus, c.status);
        const std::string firstLine = command.text.substr(0, command.text.find('\n'));
        EXPECT_NE(firstLine.find(c.mentions), std::string::npos) << firstLine;
        if (c.status == 2) {  // one line, then the usage
            EXPECT_EQ(command.text.find("usage: vessara"), firstLine.size() + 1) << command.text;
        }
    }
    EXPECT_EQ(readCommandLine({"--help"}, showEnd, true).text.rfind("usage: vessara-wide", 0), 0u);

    // What the demo does with them: the production's mode switch stays the
    // default; a window or the desktop never switch the display mode.
    struct Settings {
        Screen screen;
        bool fullscreen, desktopResolution, resizableWindow;
    };
    for (const Settings& s : {Settings{Screen::ModeSwitch, true, false, false},
                              Settings{Screen::Window, false, false, true},
                              Settings{Screen::Desktop, true, true, false}}) {
        Demo demo;
        demo.fullscreen = true;  // as the production sets it
        applyPlayerOptions(demo, {s.screen, 12.5});
        EXPECT_EQ(demo.fullscreen, s.fullscreen);
        EXPECT_EQ(demo.desktopResolution, s.desktopResolution);
        EXPECT_EQ(demo.resizableWindow, s.resizableWindow);
        EXPECT_EQ(demo.startOffset, 12.5f);
    }

    // The programs themselves: --help on standard output with status 0, a bad
    // option on standard error with status 2, before any window or data.
    const fs::path build = fs::absolute(TestSupport::buildProgram(""));
    const ProgramRun help = runIn("/", "'" + (build / "vessara").string() + "' --help 2>/dev/null");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.output.rfind("usage: vessara ", 0), 0u) << help.output;
    const ProgramRun bad = runIn("/", "'" + (build / "vessara-wide").string() + "' --from -1 2>&1 >/dev/null");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.output.rfind("vessara-wide: --from wants a number", 0), 0u) << bad.output;
}

// The current directory first, then the installed data beside the program,
// then the directory above it; a directory with data/ but without the
// generated files does not count.
TEST(ContentRoot, ContentRootLookupOrder)
{
    const TestSupport::TempDir dir;
    const fs::path root = dir.path();
    const fs::path start = root / "start";
    const fs::path share = root / "prefix" / "share" / "vessara";
    const fs::path above = root / "prefix";
    const fs::path executable = root / "prefix" / "bin" / "vessara";
    struct Case {
        bool inStart, inShare, inAbove;
        std::optional<fs::path> expected;
    };
    const Case cases[] = {
        {true, true, true, start},
        {false, true, true, share},
        {false, false, true, above},
        {true, false, false, start},
        {false, false, false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.inStart) + std::to_string(c.inShare) + std::to_string(c.inAbove));
        fs::remove_all(root / "start");
        fs::remove_all(root / "prefix");
        fs::create_directories(start / "data");
        std::ofstream(start / "data" / "scene.cg") << "tracked shader only";
        fs::create_directories(executable.parent_path());
        if (c.inStart)
            makeContent(start);
        if (c.inShare)
            makeContent(share);
        if (c.inAbove)
            makeContent(above);
        EXPECT_EQ(findContentRoot(start, executable), c.expected);
    }
    const std::string message = missingContentMessage(start, executable);
    for (const fs::path& named : {start, share, above})
        EXPECT_NE(message.find("(" + named.string()), std::string::npos) << named << " in " << message;
    EXPECT_NE(message.find("cmake --build build"), std::string::npos) << message;
}

// The capture tool started elsewhere: from an empty directory it reads the
// data beside its build and writes a relative --out there, the same frame as
// from the source tree; a copy of it with no data anywhere near ends with
// the message.
TEST(ContentRoot, ProgramsFindTheirDataFromAnyDirectory)
{
    const TestSupport::TempDir dir;
    const fs::path root = dir.path();
    const fs::path build = fs::absolute(TestSupport::buildProgram(""));
    const fs::path sourceTree = fs::current_path();
    const std::string capture = "'" + (build / "vessara-capture").string() + "'";

    const ProgramRun here = runIn(sourceTree, capture + " --at 10 --out '" + (root / "here.png").string() + "' 2>&1");
    ASSERT_EQ(here.status, 0) << here.output;
    fs::create_directories(root / "elsewhere");
    const ProgramRun elsewhere = runIn(root / "elsewhere", capture + " --at 10 --out frame.png 2>&1");
    ASSERT_EQ(elsewhere.status, 0) << elsewhere.output;
    const std::string frame = TestSupport::readFile(root / "elsewhere" / "frame.png");
    EXPECT_FALSE(frame.empty());
    EXPECT_EQ(frame, TestSupport::readFile(root / "here.png"));

    // A copy in prefix/bin: no data in the current directory, in
    // prefix/share/vessara or in prefix.
    fs::create_directories(root / "prefix" / "bin");
    const fs::path copy = root / "prefix" / "bin" / "vessara-capture";
    fs::copy_file(build / "vessara-capture", copy);
    const ProgramRun lost = runIn(root / "elsewhere", "'" + copy.string() + "' --at 10 --out lost.png 2>&1");
    EXPECT_EQ(lost.status, 1);
    EXPECT_NE(lost.output.find("current directory (" + (root / "elsewhere").string() + ")"), std::string::npos)
        << lost.output;
    EXPECT_NE(lost.output.find((root / "prefix" / "share" / "vessara").string()), std::string::npos) << lost.output;
    EXPECT_FALSE(fs::exists(root / "elsewhere" / "lost.png"));
}
