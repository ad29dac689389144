#include "vessara/SettledFiles.h"

namespace Vessara {

void SettledFiles::changed(const std::string& path, double now)
{
    for (auto& [file, last] : pending)
        if (file == path) {
            last = now;
            return;
        }
    pending.emplace_back(path, now);
}

std::vector<std::string> SettledFiles::take(double now)
{
    std::vector<std::string> ready;
    std::vector<std::pair<std::string, double>> waiting;
    for (auto& entry : pending) {
        if (now - entry.second >= quiet)
            ready.push_back(std::move(entry.first));
        else
            waiting.push_back(std::move(entry));
    }
    pending = std::move(waiting);
    return ready;
}

}  // namespace Vessara
