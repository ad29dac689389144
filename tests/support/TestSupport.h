// Helpers shared by every test program (library test_support, include
// "support/TestSupport.h"). No GL needed; the GL fixture is in GLTest.h.
//
// Use:
//   TestSupport::TempDir dir;            a fresh folder, removed with its files
//     dir.path(), dir.file("a.png")      the folder, a path inside it
//     dir.write("a.bin", bytes)          writes a file, returns its path
//   buildProgram("forge")                a program of this build
//                                        ($VESSARA_BUILD_DIR, else build/)
//   ProgramRun r = runProgram(cmd)       runs cmd with /bin/sh; r.status is the
//                                        exit status (-1 when killed by a
//                                        signal), r.output stdout and stderr
//   readFile(path)                       the whole file as bytes ("" if none)
//   Picture p; readPng(path, p, &error)  RGBA8, top row first
//   picturesMatch(a, b, channel, mean)   gtest assertion: same size, no
//                                        channel differs by more than
//                                        `channel`, mean difference <= `mean`
//   shrunk(pixels, w, h, channels, n, bottomUp)
//                                        RGB(A) pixels box-filtered down by n
//                                        into a Picture (alpha 255)
//   writePng(path, picture)              false when it cannot be written
//   matchesReference(got, path, channel, mean)
//                                        picturesMatch against the PNG at path;
//                                        with VESSARA_UPDATE_REFERENCES=1 it
//                                        writes `got` there instead; a mismatch
//                                        writes `got` to the temporary folder
//   updatingReferences()                 VESSARA_UPDATE_REFERENCES is "1"
//   EXPECT_FATAL(statement, regex)       the statement ends the process with
//                                        status 1 and a message matching regex
// Everything is plain functions and values; nothing is kept between calls.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace TestSupport {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }
    std::string write(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

std::string buildProgram(const std::string& name);

struct ProgramRun {
    int status = -1;
    std::string output;
};
ProgramRun runProgram(const std::string& commandLine);

std::string readFile(const std::string& path);

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;  // width * height * 4, top row first
    const std::uint8_t* at(int x, int y) const { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
};
bool readPng(const std::string& path, Picture& picture, std::string* error);

::testing::AssertionResult picturesMatch(const Picture& got, const Picture& want, int maxChannel, double maxMean);

Picture shrunk(const std::uint8_t* pixels, int width, int height, int channels, int factor, bool bottomUp);
bool writePng(const std::string& path, const Picture& picture);
bool updatingReferences();
::testing::AssertionResult matchesReference(const Picture& got, const std::string& path, int maxChannel,
                                            double maxMean);

}  // namespace TestSupport

// Death tests run threadsafe: the GL context and SDL may have threads.
#define EXPECT_FATAL(statement, regex)                                          \
    do {                                                                        \
        GTEST_FLAG_SET(death_test_style, "threadsafe");                         \
        EXPECT_EXIT(statement, ::testing::ExitedWithCode(1), regex);            \
    } while (0)
