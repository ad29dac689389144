// Shared helpers of the content tool's tests: a temporary folder and the
// path of the built forge program.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

class ScratchDir {
public:
    ScratchDir() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("vessara-forge-" + std::to_string(getpid()) + "-" + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The forge program of the build these tests belong to.
inline std::string forgeProgram() {
    const char* dir = std::getenv("VESSARA_BUILD_DIR");
    return (std::filesystem::path(dir ? dir : "build") / "forge").string();
}
