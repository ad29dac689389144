// Which files of a few directories were written since the last look
// (inotify), without ever waiting.
//
// Use:
//   FileWatcher watcher({"data/", "vessara_data/"});
//       watches each directory (not its subdirectories) for files closed
//       after writing and files moved in or created (an editor saving by
//       renaming a temporary file). A directory that cannot be watched is
//       named on standard error and left out; the rest still work.
//   watcher.changedFiles()   the paths (directory + name, as given) of the
//       files with events since the last call, in event order, possibly
//       repeated; empty when nothing happened. Never blocks.
// The inotify descriptor is closed with the watcher.
#pragma once

#include <string>
#include <vector>

namespace Vessara {

class FileWatcher {
public:
    explicit FileWatcher(const std::vector<std::string>& directories);
    ~FileWatcher();
    FileWatcher(const FileWatcher&) = delete;
    FileWatcher& operator=(const FileWatcher&) = delete;

    std::vector<std::string> changedFiles();

private:
    int descriptor = -1;
    std::vector<std::pair<int, std::string>> watches;  // watch descriptor, directory
};

}  // namespace Vessara
