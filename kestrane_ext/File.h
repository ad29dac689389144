// KestraneExt::File: the one way data files are read. A thin, move-only owner
// of one stdio stream; every loader (images, VXM meshes, ZTX scenes, shader
// text through TextFile) receives its input as a File taken by value.
//
// Use:
//   File file("data/x.vxm", "rb");   opens the stream; a file that cannot be
//                                    opened ends the process through
//                                    Kestrane::fatal(FileErrorTitle, ...) with
//                                    the name and the system's reason.
//   Loader loader(std::move(file));  hands the stream on; the moved-from File
//                                    holds nothing and closes nothing.
//   read / write / seek / size       stdio calls; size() leaves the read
//                                    position at byte 0.
// Lifetime: the stream is closed exactly once, by the destructor (or close())
// of whichever File holds it last.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace KestraneExt {

// Title of every fatal message about a data file: one that cannot be opened,
// read, or whose contents a loader rejects.
inline constexpr const char* FileErrorTitle = "Kestrane File Error";

enum SeekOrigin { Begin = 0, Current = 1, End = 2 };

class File {
public:
    File(const char* path, const char* mode);
    File(std::string path, const char* mode);
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    virtual ~File();

    // fread / fwrite of count items of itemSize bytes; the number of whole
    // items transferred.
    virtual std::size_t read(void* buffer, std::size_t itemSize, std::size_t count);
    virtual std::size_t write(const void* buffer, std::size_t itemSize, std::size_t count);
    // Length in bytes; rewinds to byte 0. A stream without a length (or one
    // over 2 GiB) is a fatal error naming the file.
    virtual std::int32_t size();
    // fseek with the matching stdio origin: 0 on success. An origin outside
    // Begin/Current/End leaves the position alone and returns -1.
    virtual int seek(long offset, int origin);

    // The path it was opened with, for loaders' error messages.
    const std::string& name() const { return path_; }
    bool isOpen() const { return stream_ != nullptr; }
    // Closes now (the destructor then has nothing left to close).
    void close();
    // Ends the process through the fatal path: "<name>: <what>".
    [[noreturn]] void fail(const std::string& what) const;

private:
    void open(const char* mode);

    std::FILE* stream_ = nullptr;
    std::string path_;
};

}  // namespace KestraneExt
