#include "support/TestSupport.h"

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

TEST(File, SizeRewindsAndSeekKnowsItsOrigins)
{
    TestSupport::TempDir dir;
    File file(dir.write("ten.bin", "0123456789"), "rb");
    char bytes[12] = {};
    ASSERT_EQ(file.read(bytes, 1, 3), 3u);
    EXPECT_EQ(file.size(), 10);
    ASSERT_EQ(file.read(bytes, 2, 2), 2u);
    EXPECT_EQ(std::string(bytes, 4), "0123");
    file.size();
    EXPECT_EQ(file.read(bytes, 3, 4), 3u);  // items are whole: 10 bytes hold three of 3
    const struct {
        long offset;
        int origin;
        char next;
    } seeks[] = {{4, KestraneExt::Begin, '4'}, {2, KestraneExt::Current, '7'}, {-1, KestraneExt::End, '9'}};
    for (const auto& s : seeks) {
        EXPECT_EQ(file.seek(s.offset, s.origin), 0);
        file.read(bytes, 1, 1);
        EXPECT_EQ(bytes[0], s.next) << "origin " << s.origin;
    }
    // An unknown origin leaves the position where it was.
    EXPECT_EQ(file.seek(1, KestraneExt::Begin), 0);
    EXPECT_NE(file.seek(5, 3), 0);
    EXPECT_NE(file.seek(5, -1), 0);
    file.read(bytes, 1, 1);
    EXPECT_EQ(bytes[0], '1');
}

TEST(File, MovedFileClosesOnce)
{
    TestSupport::TempDir dir;
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
    TestSupport::TempDir dir;
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
    TestSupport::TempDir dir;
    EXPECT_FATAL(File(dir.file("no-such-mesh.vxm"), "rb"),
                 "Kestrane File Error: cannot open \".*no-such-mesh.vxm\": No such file or directory");
    EXPECT_FATAL(TextFile(File(dir.file("gone.cg").c_str(), "rb")), "gone.cg");
    // A directory opens with stdio but has no length.
    EXPECT_FATAL({ File directory(dir.file(""), "rb"); directory.size(); }, "Kestrane File Error");
}
