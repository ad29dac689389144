#include "vessara/ContentRoot.h"

#include "kestrane/Messages.h"

#include <system_error>
#include <vector>

#ifndef VESSARA_SHARE_FROM_BIN
#define VESSARA_SHARE_FROM_BIN "../share/vessara"
#endif

namespace fs = std::filesystem;

namespace Vessara {

namespace {

// The directory the program was started in; empty until enterContentRoot.
fs::path startDirectory;

// The places beside the executable, in the order they are tried: the
// installed layout first, then a build directory inside the source tree.
std::vector<fs::path> besideExecutable(const fs::path& executable)
{
    const fs::path directory = executable.parent_path();
    return {(directory / VESSARA_SHARE_FROM_BIN).lexically_normal(), directory.parent_path()};
}

}  // namespace

bool isContentRoot(const fs::path& directory)
{
    std::error_code error;
    return fs::is_regular_file(directory / "data" / "music.mp3", error) &&
           fs::is_directory(directory / "vessara_data", error);
}

std::optional<fs::path> findContentRoot(const fs::path& start, const fs::path& executable)
{
    if (isContentRoot(start))
        return start;
    if (executable.empty())
        return std::nullopt;
    for (const fs::path& candidate : besideExecutable(executable))
        if (isContentRoot(candidate))
            return candidate;
    return std::nullopt;
}

std::string missingContentMessage(const fs::path& start, const fs::path& executable)
{
    std::string beside;
    if (executable.empty()) {
        beside = "beside the program (its location is unknown)";
    } else {
        const auto places = besideExecutable(executable);
        beside = "beside the program (" + places[0].string() + " or " + places[1].string() + ")";
    }
    return "The show's data was not found: neither the current directory (" + start.string() + ") nor " + beside +
           " holds data/music.mp3 and vessara_data/. Make the data in the source tree with ./run.sh or "
           "\"cmake --build build\" (the content tool writes data/), or install the show with "
           "\"cmake --install build --prefix DIR\".";
}

void enterContentRoot()
{
    std::error_code error;
    const fs::path start = fs::current_path(error);
    if (error)
        Kestrane::fatal("Quarnel Vessara Error", "Cannot read the current directory: " + error.message());
    std::error_code linkError;
    fs::path executable = fs::read_symlink("/proc/self/exe", linkError);
    if (linkError)
        executable.clear();
    const auto root = findContentRoot(start, executable);
    if (!root)
        Kestrane::fatal("Quarnel Vessara Error", missingContentMessage(start, executable));
    fs::current_path(*root, error);
    if (error)
        Kestrane::fatal("Quarnel Vessara Error", "Cannot enter " + root->string() + ": " + error.message());
    startDirectory = start;
}

std::string userPath(const std::string& path)
{
    if (startDirectory.empty() || fs::path(path).is_absolute())
        return path;
    return (startDirectory / path).string();
}

}  // namespace Vessara
