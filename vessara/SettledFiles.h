// Files that have stopped changing: a file is handed out once no change was
// seen for `quiet` seconds, so nothing is read half-written however the
// editor or the content tool writes it (in one go, in pieces, or by renaming).
//
// Use:
//   SettledFiles settled(0.3);
//   settled.changed(path, now)   a change seen at `now` (seconds, any clock
//                                that only goes forward); restarts its wait.
//   settled.take(now)            the paths quiet since at least now - quiet,
//                                each once, in the order first seen; they are
//                                forgotten until they change again.
// Pure bookkeeping: no clock and no file system of its own.
#pragma once

#include <string>
#include <vector>

namespace Vessara {

class SettledFiles {
public:
    explicit SettledFiles(double quietSeconds) : quiet(quietSeconds) {}

    void changed(const std::string& path, double now);
    std::vector<std::string> take(double now);
    bool empty() const { return pending.empty(); }

private:
    double quiet;
    std::vector<std::pair<std::string, double>> pending;  // path, last change
};

}  // namespace Vessara
