// Where the show's files are found, wherever the program is started from.
//
// The scenes, the resource caches and the music open their files by paths
// relative to a content root ("data/balloon.ztx", "vessara_data/*.cg",
// "data/music.mp3"). A content root is a directory holding the generated data
// ("data/music.mp3") and the framework shaders ("vessara_data/").
//
// Use, once at start-up, after the command line was read:
//   enterContentRoot()      finds the content root (below) from the current
//                           directory and the executable's location
//                           (/proc/self/exe), remembers the directory the
//                           program was started in and changes into the root.
//                           When there is none, ends the process (status 1)
//                           with one message naming the places looked in and
//                           how to make the data.
//   userPath(path)          a path the user gave or will look for (a
//                           screenshot, the capture tool's output) resolved
//                           against the directory the program was started in;
//                           absolute paths stay as they are. Before
//                           enterContentRoot, the current directory.
// The lookup itself, without side effects (tests):
//   findContentRoot(start, executable)
//                           the first content root of: start (the current
//                           directory), the installed data beside the
//                           executable (bin/../share/vessara), the directory
//                           above the executable (build/ inside the source
//                           tree). nullopt when none is.
//   missingContentMessage(start, executable)   the message of that case.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace Vessara {

bool isContentRoot(const std::filesystem::path& directory);
std::optional<std::filesystem::path> findContentRoot(const std::filesystem::path& start,
                                                     const std::filesystem::path& executable);
std::string missingContentMessage(const std::filesystem::path& start, const std::filesystem::path& executable);

void enterContentRoot();
std::string userPath(const std::string& path);

}  // namespace Vessara
