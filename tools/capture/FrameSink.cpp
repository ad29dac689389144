#include "FrameSink.h"

#include "FrameCapture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace Capture {

namespace fs = std::filesystem;

namespace {

bool writableDirectory(const fs::path& directory, std::string& reason)
{
    struct stat info{};
    if (::stat(directory.c_str(), &info) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        reason = "not a directory";
        return false;
    }
    if (::access(directory.c_str(), W_OK | X_OK) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace

bool prepareOutput(const std::string& path, OutputKind kind, std::string& error)
{
    std::string reason;
    if (kind == OutputKind::Directory) {
        std::error_code failure;
        fs::create_directories(path, failure);
        if (failure && !fs::is_directory(path)) {
            error = path + ": cannot create the frame directory: " + failure.message();
            return false;
        }
        if (!writableDirectory(path, reason)) {
            error = path + ": cannot write frames there: " + reason;
            return false;
        }
        return true;
    }

    const fs::path file(path);
    const fs::path parent = file.has_parent_path() ? file.parent_path() : fs::path(".");
    if (!writableDirectory(parent, reason)) {
        error = path + ": cannot write there (" + parent.string() + ": " + reason + ")";
        return false;
    }
    struct stat info{};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            error = path + ": is a directory";
            return false;
        }
        if (::access(path.c_str(), W_OK) != 0) {
            error = path + ": cannot overwrite it: " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

std::string findOnPath(const std::string& program, const char* path)
{
    if (program.find('/') != std::string::npos)
        return ::access(program.c_str(), X_OK) == 0 ? program : std::string();
    if (!path)
        return {};
    const std::string list = path;
    std::size_t begin = 0;
    while (begin <= list.size()) {
        std::size_t end = list.find(':', begin);
        if (end == std::string::npos)
            end = list.size();
        // An empty entry means the current directory.
        const std::string directory = end > begin ? list.substr(begin, end - begin) : ".";
        const std::string candidate = directory + "/" + program;
        struct stat info{};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        begin = end + 1;
    }
    return {};
}

PngDirectory::PngDirectory(std::string dir, int w, int h) : directory(std::move(dir)), width(w), height(h) {}

std::string PngDirectory::frameName(long n)
{
    char name[32];
    std::snprintf(name, sizeof name, "frame%06ld.png", n);
    return name;
}

bool PngDirectory::write(long n, const std::vector<std::uint8_t>& rgb, std::string& error)
{
    return writePng((fs::path(directory) / frameName(n)).string(), width, height, rgb, error);
}

}  // namespace Capture
