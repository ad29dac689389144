#include "vessara/FileWatcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace Vessara {

FileWatcher::FileWatcher(const std::vector<std::string>& directories)
{
    descriptor = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (descriptor < 0) {
        std::fprintf(stderr, "vessara: cannot watch files for changes: %s\n", std::strerror(errno));
        return;
    }
    // IN_MODIFY too, so that a file still being written keeps counting as
    // changing (the reload waits until it is quiet).
    const std::uint32_t events = IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_MODIFY;
    for (const std::string& directory : directories) {
        const int watch = inotify_add_watch(descriptor, directory.c_str(), events);
        if (watch < 0)
            std::fprintf(stderr, "vessara: cannot watch %s for changes: %s\n", directory.c_str(), std::strerror(errno));
        else
            watches.emplace_back(watch, directory);
    }
}

FileWatcher::~FileWatcher()
{
    if (descriptor >= 0)
        close(descriptor);
}

std::vector<std::string> FileWatcher::changedFiles()
{
    std::vector<std::string> changed;
    if (descriptor < 0)
        return changed;
    alignas(inotify_event) char buffer[8192];
    for (;;) {
        const ssize_t length = read(descriptor, buffer, sizeof buffer);
        if (length <= 0)
            break;  // EAGAIN: nothing more now
        for (ssize_t at = 0; at + ssize_t(sizeof(inotify_event)) <= length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            if (event->len == 0 || (event->mask & IN_ISDIR))
                continue;
            for (const auto& [watch, directory] : watches)
                if (watch == event->wd)
                    changed.push_back(directory + event->name);
        }
    }
    return changed;
}

}  // namespace Vessara
