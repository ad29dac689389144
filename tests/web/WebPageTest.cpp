// The browser build (build-web/, from test.sh or web.sh) served as web.sh
// serves it and opened in headless Chromium on SwiftShader (tools/web/page.js):
//   - ?at= pictures of several scenes match the native capture tool's
//     reference frames (tests/capture/reference/) within the show's own
//     tolerance: box-filtered to 160 x 120, no channel off by more than 24,
//     mean difference at most 1.0;
//   - a content file missing at start and a data package that cannot be
//     downloaded are reported in text on the page, naming the file;
//   - the show plays on the page's frame loop: F10 downloads the picture as
//     dump0.png, Escape ends the show.
// Chromium or the browser build missing fails the tests: they never skip.
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string webBuild = "build-web";
const char* const chromium = "/usr/bin/chromium";

// tools/web/serve.py on a free port for the life of the test.
class PageServer {
public:
    explicit PageServer(const std::string& directory)
    {
        int out[2];
        if (pipe(out) != 0)
            return;
        pid = fork();
        if (pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            execlp("python3", "python3", "tools/web/serve.py", directory.c_str(), "0", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        std::FILE* in = fdopen(out[0], "r");
        char line[256] = {};
        if (in && std::fgets(line, sizeof line, in)) {
            std::smatch m;
            const std::string text = line;
            if (std::regex_search(text, m, std::regex("http://127\\.0\\.0\\.1:[0-9]+/")))
                address = m.str();
        }
        if (in)
            std::fclose(in);
    }
    ~PageServer()
    {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    std::string address;  // empty when it did not start

private:
    pid_t pid = -1;
};

// What the page shows once the steps are done (tools/web/page.js drives
// Chromium in real time; by default it waits for a picture or an error): its
// JSON, one line.
std::string openPage(const std::string& url, const std::string& steps = "")
{
    const std::string command = "node tools/web/page.js '" + url + "' " + steps + " --timeout 120";
    std::string json;
    if (std::FILE* in = popen(command.c_str(), "r")) {
        char buffer[65536];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
            json.append(buffer, n);
        pclose(in);
    }
    return json;
}

// A string field of that JSON, unescaped (the page's texts are ASCII).
std::string field(const std::string& json, const std::string& name)
{
    const std::string key = "\"" + name + "\":\"";
    auto at = json.find(key);
    if (at == std::string::npos)
        return "";
    std::string value;
    for (at += key.size(); at < json.size() && json[at] != '"'; ++at) {
        if (json[at] != '\\' || at + 1 >= json.size()) {
            value += json[at];
            continue;
        }
        const char escaped = json[++at];
        if (escaped == 'n')
            value += '\n';
        else if (escaped == 'u' && at + 4 < json.size()) {
            value += char(std::stoi(json.substr(at + 1, 4), nullptr, 16));
            at += 4;
        } else
            value += escaped;
    }
    return value;
}

// The PNG the page made of its picture (#frame's data address).
bool framePicture(const std::string& json, TestSupport::Picture& picture, std::string& error)
{
    const std::string address = field(json, "frame");
    const std::string marker = "data:image/png;base64,";
    if (address.compare(0, marker.size(), marker) != 0) {
        error = "the page holds no frame";
        return false;
    }
    static const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string bytes;
    unsigned value = 0;
    int bits = 0;
    for (std::size_t i = marker.size(); i < address.size(); ++i) {
        const auto d = digits.find(address[i]);
        if (d == std::string::npos)
            continue;  // '=' padding
        value = (value << 6) | unsigned(d);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(char((value >> bits) & 0xFF));
        }
    }
    const fs::path file = fs::temp_directory_path() / ("vessara-web-frame-" + std::to_string(getpid()) + ".png");
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    const bool read = TestSupport::readPng(file.string(), picture, &error);
    fs::remove(file);
    return read;
}

class WebPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::exists(chromium)) << chromium << " is missing: test.sh installs Debian's chromium";
        ASSERT_TRUE(fs::exists(webBuild + "/vessara.wasm") && fs::exists(webBuild + "/vessara.data"))
            << webBuild << "/ holds no browser build: run ./test.sh or ./web.sh";
    }
};

}  // namespace

TEST_F(WebPage, PicturesOfSeveralScenesMatchTheNativeReferences)
{
    PageServer server(webBuild);
    ASSERT_FALSE(server.address.empty()) << "tools/web/serve.py did not start";
    // Reference frames of the capture tool (ShowReferenceTest) by name and
    // beat at 163 beats a minute: eight scenes, fades and effects among them.
    // (Four of the twenty references, all Pils with its outlines, differ by
    // more than 24 at a few places: the outlines follow depth edges, which
    // SwiftShader and llvmpipe rasterize a pixel apart here and there.)
    const struct {
        const char* name;
        double beat;
    } frames[] = {
        {"00-pils-b", 7.3},        {"01-shinycross-a", 33.3},  {"02-horizon-b", 69.3},
        {"03-flowerball-b", 105.3}, {"05-dragonfly-a", 215.3}, {"06-underwater-b", 311.3},
        {"07-balloon-a", 345.3},    {"09-skate-a", 475.3},
    };
    for (const auto& frame : frames) {
        const double seconds = frame.beat * 60.0 / 163.0;
        SCOPED_TRACE(std::string(frame.name) + " at " + std::to_string(seconds) + " s");
        const std::string page = openPage(server.address + "index.html?at=" + std::to_string(seconds));
        ASSERT_EQ(field(page, "title"), "frame ready") << page.substr(0, 2000);
        const std::string stats = field(page, "stats");
        EXPECT_TRUE(stats.ends_with("gl-errors 0")) << stats;
        TestSupport::Picture picture, reference;
        std::string error;
        ASSERT_TRUE(framePicture(page, picture, error)) << error;
        ASSERT_EQ(picture.width, 800);
        ASSERT_EQ(picture.height, 600);
        ASSERT_TRUE(TestSupport::readPng("tests/capture/reference/" + std::string(frame.name) + ".png", reference,
                                         &error))
            << error;
        EXPECT_TRUE(TestSupport::picturesMatch(TestSupport::shrunk(picture.rgba.data(), 800, 600, 4, 5, false),
                                               reference, 24, 1.0));
    }
}

TEST_F(WebPage, LoadErrorsAreShownOnThePageNamingTheFile)
{
    PageServer server(webBuild);
    ASSERT_FALSE(server.address.empty()) << "tools/web/serve.py did not start";
    // A content file the show needs, missing when it starts.
    std::string page = openPage(server.address + "index.html?at=10&without=data/balloon.ztx");
    EXPECT_EQ(field(page, "title"), "error");
    EXPECT_NE(field(page, "message").find("cannot open \"data/balloon.ztx\""), std::string::npos) << page;
    EXPECT_EQ(field(page, "frame").find("data:image/png"), std::string::npos) << "a frame was shown after the error";

    // The data package itself cannot be downloaded.
    const fs::path partial = fs::temp_directory_path() / ("vessara-web-partial-" + std::to_string(getpid()));
    fs::create_directories(partial);
    for (const char* name : {"index.html", "vessara.js", "vessara.wasm"})
        fs::copy_file(webBuild + "/" + name, partial / name, fs::copy_options::overwrite_existing);
    PageServer partialServer(partial.string());
    page = openPage(partialServer.address + "index.html?at=10");
    fs::remove_all(partial);
    EXPECT_EQ(field(page, "title"), "error");
    EXPECT_NE(field(page, "message").find("vessara.data"), std::string::npos) << page;
}

TEST_F(WebPage, TheShowPlaysF10DownloadsThePictureAndEscapeEndsIt)
{
    PageServer server(webBuild);
    ASSERT_FALSE(server.address.empty()) << "tools/web/serve.py did not start";
    const fs::path downloads = fs::temp_directory_path() / ("vessara-web-downloads-" + std::to_string(getpid()));
    fs::remove_all(downloads);
    fs::create_directories(downloads);
    const std::string page = openPage(server.address + "index.html?autostart&from=40",
                                      "--downloads " + downloads.string() +
                                          " --until playing --wait 2 --press F10 --wait 2 --press Escape"
                                          " --until ended");
    EXPECT_EQ(field(page, "title"), "Vessara (ended)") << page.substr(0, 2000);
    EXPECT_EQ(field(page, "message"), "");
    TestSupport::Picture dump;
    std::string error;
    const bool saved = TestSupport::readPng((downloads / "dump0.png").string(), dump, &error);
    fs::remove_all(downloads);
    ASSERT_TRUE(saved) << error;
    // The whole canvas: the 4:3 picture between black bars (the window is
    // wider than 4:3), the picture itself Flowerball's bright sky and clouds.
    ASSERT_GT(dump.width, dump.height * 4 / 3);
    const int bar = (dump.width - dump.height * 4 / 3) / 2;
    double barLight = 0, pictureLight = 0;
    for (int y = 0; y < dump.height; ++y) {
        const std::uint8_t* edge = dump.at(bar / 2, y);
        const std::uint8_t* middle = dump.at(dump.width / 2, y);
        barLight += edge[0] + edge[1] + edge[2];
        pictureLight += middle[0] + middle[1] + middle[2];
    }
    EXPECT_EQ(barLight, 0.0) << "the bars beside the picture are not black";
    EXPECT_GT(pictureLight / (3.0 * dump.height), 80.0) << "the picture is dark";
}
