#include "kestrane_ext/File.h"

#include "kestrane/Messages.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>

namespace KestraneExt {

File::File(const char* path, const char* mode) : path_(path ? path : "")
{
    open(mode);
}

File::File(std::string path, const char* mode) : path_(std::move(path))
{
    open(mode);
}

void File::open(const char* mode)
{
    stream_ = std::fopen(path_.c_str(), mode);
    if (!stream_)
        Kestrane::fatal(FileErrorTitle, "cannot open \"" + path_ + "\": " + std::strerror(errno));
}

File::File(File&& other) noexcept
    : stream_(std::exchange(other.stream_, nullptr)), path_(std::move(other.path_))
{
}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        close();
        stream_ = std::exchange(other.stream_, nullptr);
        path_ = std::move(other.path_);
    }
    return *this;
}

File::~File() { close(); }

void File::close()
{
    if (stream_) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
}

void File::fail(const std::string& what) const
{
    Kestrane::fatal(FileErrorTitle, "\"" + path_ + "\": " + what);
}

std::size_t File::read(void* buffer, std::size_t itemSize, std::size_t count)
{
    if (!stream_ || itemSize == 0 || count == 0)
        return 0;
    return std::fread(buffer, itemSize, count, stream_);
}

std::size_t File::write(const void* buffer, std::size_t itemSize, std::size_t count)
{
    if (!stream_ || itemSize == 0 || count == 0)
        return 0;
    return std::fwrite(buffer, itemSize, count, stream_);
}

std::int32_t File::size()
{
    if (!stream_)
        fail("size of a closed file");
    if (std::fseek(stream_, 0, SEEK_END) != 0)
        fail(std::string("cannot find its length: ") + std::strerror(errno));
    const long length = std::ftell(stream_);
    if (length < 0)
        fail(std::string("cannot find its length: ") + std::strerror(errno));
    std::rewind(stream_);
    if (length > INT32_MAX)
        fail("larger than 2 GiB");
    return static_cast<std::int32_t>(length);
}

int File::seek(long offset, int origin)
{
    if (!stream_)
        return -1;
    switch (origin) {
    case Begin: return std::fseek(stream_, offset, SEEK_SET);
    case Current: return std::fseek(stream_, offset, SEEK_CUR);
    case End: return std::fseek(stream_, offset, SEEK_END);
    default: return -1;
    }
}

}  // namespace KestraneExt
