// Runs build/vessara-capture as the user would and checks the PNG it writes.
#include <stb_image.h>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// The programs are built next to the test programs.
std::string buildDir()
{
    if (const char* dir = std::getenv("VESSARA_BUILD_DIR"))
        return dir;
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("build") : self.parent_path().string();
}

struct CaptureRun {
    int status;
    std::string output;
};

CaptureRun capture(const std::string& arguments)
{
    const std::string command = buildDir() + "/vessara-capture " + arguments + " 2>&1";
    CaptureRun run{-1, {}};
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe))
            run.output += buffer;
        const int status = pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return run;
}

std::string temporaryPng(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("vessara-capture-" + std::to_string(getpid()) + "-" + name))
        .string();
}

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* at(int x, int row) const { return &rgb[(std::size_t(row) * width + x) * 3]; }
};

Image load(const std::string& path)
{
    Image image;
    int channels = 0;
    unsigned char* data = stbi_load(path.c_str(), &image.width, &image.height, &channels, 3);
    if (data) {
        image.rgb.assign(data, data + std::size_t(image.width) * image.height * 3);
        stbi_image_free(data);
    }
    return image;
}

}  // namespace

TEST(CaptureTest, WideFrameKeepsTheLetterboxBandsBlack)
{
    const std::string out = temporaryPng("wide.png");
    for (const char* at : {"5", "60", "200"}) {
        const CaptureRun run = capture(std::string("--at ") + at + " --wide --out " + out);
        ASSERT_EQ(run.status, 0) << run.output;
        const Image image = load(out);
        ASSERT_EQ(image.width, 800);
        ASSERT_EQ(image.height, 600);
        for (int row : {0, 37, 74, 525, 560, 599})
            for (int x = 0; x < 800; x += 7) {
                const unsigned char* p = image.at(x, row);
                ASSERT_EQ(p[0] | p[1] | p[2], 0) << "row " << row << " x " << x << " at " << at << " s";
            }
    }
    std::remove(out.c_str());
}

// Bad options and an unusable output are refused with status 2, before rendering.
TEST(CaptureTest, BadArgumentsAreRefused)
{
    EXPECT_EQ(capture("--out x.png").status, 2);
    EXPECT_EQ(capture("--at 5").status, 2);
    EXPECT_EQ(capture("--at five --out x.png").status, 2);
    EXPECT_EQ(capture("--at -1 --out x.png").status, 2);
    const CaptureRun unknown = capture("--at 1 --out x.png --fast");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.output.find("--fast"), std::string::npos) << unknown.output;
}

TEST(CaptureTest, UnwritableOutputIsReported)
{
    const CaptureRun run = capture("--at 1 --out /nonexistent-dir/f.png");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.output.find("/nonexistent-dir/f.png"), std::string::npos) << run.output;
}
