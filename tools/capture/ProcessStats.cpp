#include "ProcessStats.h"

#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>

namespace Capture {

namespace {

// The number after `key` on its own line of a /proc status text, or 0.
long field(const std::string& text, const std::string& key)
{
    for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1))
        if (at == 0 || text[at - 1] == '\n')
            return std::strtol(text.c_str() + at + key.size(), nullptr, 10);
    return 0;
}

}  // namespace

MemoryUse parseMemory(const std::string& statusText)
{
    return {field(statusText, "VmRSS:"), field(statusText, "VmHWM:")};
}

MemoryUse readMemory()
{
    std::ifstream status("/proc/self/status");
    return parseMemory(std::string(std::istreambuf_iterator<char>(status), {}));
}

double secondsSinceStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string text(std::istreambuf_iterator<char>(stat), {});
    // The command name in parentheses may hold spaces: fields are counted
    // after its closing parenthesis, where field 3 (the state) begins.
    const auto close = text.rfind(')');
    if (close == std::string::npos)
        return -1.0;
    std::istringstream fields(text.substr(close + 1));
    std::string value;
    for (int number = 3; number <= 22 && (fields >> value); ++number) {
    }
    if (!fields)
        return -1.0;
    const double ticks = double(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9 - std::strtod(value.c_str(), nullptr) / ticks;
}

}  // namespace Capture
