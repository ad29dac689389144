#include "TempDir.h"

#include "kestrane_ext/File.h"
#include "kestrane_ext/TextFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using KestraneExt::File;
using KestraneExt::TextFile;

namespace {

int openDescriptors()
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

}  // namespace

TEST(File, SizeRewindsToTheStart)
{
    TempDir dir;
    File file(dir.write("ten.bin", "0123456789"), "rb");
    char bytes[4] = {};
    ASSERT_EQ(file.read(bytes, 1, 3), 3u);
    EXPECT_EQ(file.size(), 10);
    EXPECT_EQ(file.size(), 10);
    ASSERT_EQ(file.read(bytes, 2, 2), 2u);
    EXPECT_EQ(std::string(bytes, 4), "0123");
    // Items are whole: 10 bytes hold three 3-byte items.
    char big[12] = {};
    file.size();
    EXPECT_EQ(file.read(big, 3, 4), 3u);
}

TEST(File, SeekOrigins)
{
    TempDir dir;
    File file(dir.write("ten.bin", "0123456789"), "rb");
    char c = 0;
    EXPECT_EQ(file.seek(4, KestraneExt::Begin), 0);
    file.read(&c, 1, 1);
    EXPECT_EQ(c, '4');
    EXPECT_EQ(file.seek(2, KestraneExt::Current), 0);
    file.read(&c, 1, 1);
    EXPECT_EQ(c, '7');
    EXPECT_EQ(file.seek(-1, KestraneExt::End), 0);
    file.read(&c, 1, 1);
    EXPECT_EQ(c, '9');
    // An unknown origin leaves the position where it was.
    EXPECT_EQ(file.seek(1, KestraneExt::Begin), 0);
    EXPECT_NE(file.seek(5, 3), 0);
    EXPECT_NE(file.seek(5, -1), 0);
    file.read(&c, 1, 1);
    EXPECT_EQ(c, '1');
}

TEST(File, WriteThenReadBack)
{
    TempDir dir;
    const std::string path = dir.file("out.bin");
    {
        File out(path, "wb");
        const int values[3] = {1, -2, 300000};
        EXPECT_EQ(out.write(values, sizeof(int), 3), 3u);
    }
    File in(path, "rb");
    EXPECT_EQ(in.size(), 12);
    int values[3] = {};
    EXPECT_EQ(in.read(values, sizeof(int), 3), 3u);
    EXPECT_EQ(values[2], 300000);
    EXPECT_EQ(in.write(values, sizeof(int), 1), 0u);  // opened for reading only
}

TEST(File, MovedFileClosesOnce)
{
    TempDir dir;
    const std::string path = dir.write("a.bin", "abc");
    const int before = openDescriptors();
    {
        File first(path, "rb");
        EXPECT_EQ(openDescriptors(), before + 1);
        File second(std::move(first));
        EXPECT_FALSE(first.isOpen());
        EXPECT_TRUE(second.isOpen());
        EXPECT_EQ(second.name(), path);
        {
            File third("/dev/null", "rb");
            third = std::move(second);  // closes /dev/null, takes a.bin
            EXPECT_EQ(openDescriptors(), before + 1);
            char c = 0;
            EXPECT_EQ(third.read(&c, 1, 1), 1u);
            EXPECT_EQ(c, 'a');
        }
        EXPECT_EQ(openDescriptors(), before);
        // The stream's descriptor is free again; a new file may reuse it, and
        // the moved-from Files going out of scope must leave it open.
        File reuse(path, "rb");
        second = File(path, "rb");
        second.close();
        first.close();
        char c = 0;
        EXPECT_EQ(reuse.read(&c, 1, 1), 1u);
        EXPECT_EQ(openDescriptors(), before + 1);
    }
    EXPECT_EQ(openDescriptors(), before);
}

TEST(File, TextFileHoldsEveryByteAndATerminatingZero)
{
    TempDir dir;
    const std::string bytes("line one\n\0after zero\r\n", 22);
    const int before = openDescriptors();
    TextFile text(File(dir.write("t.cg", bytes), "rb"));
    EXPECT_EQ(openDescriptors(), before);  // the file is closed once read
    ASSERT_EQ(text.length(), bytes.size());
    EXPECT_EQ(text.view(), bytes);
    EXPECT_EQ(text.text()[bytes.size()], '\0');
    EXPECT_STREQ(text.text(), "line one\n");

    TextFile empty(File(dir.write("empty.cg", ""), "rb"));
    EXPECT_EQ(empty.length(), 0u);
    EXPECT_STREQ(empty.text(), "");
}

TEST(FileDeathTest, UnopenableFileNamesItselfAndTheReason)
{
    TempDir dir;
    const std::string missing = dir.file("no-such-mesh.vxm");
    EXPECT_EXIT(File(missing, "rb"), testing::ExitedWithCode(1),
                "Kestrane File Error: cannot open \".*no-such-mesh.vxm\": No such file or directory");
    EXPECT_EXIT(TextFile(File(dir.file("gone.cg").c_str(), "rb")), testing::ExitedWithCode(1), "gone.cg");
    // A directory opens with stdio but has no length.
    EXPECT_EXIT({ File directory(dir.file(""), "rb"); directory.size(); }, testing::ExitedWithCode(1),
                "Kestrane File Error");
}
