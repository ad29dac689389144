// The shader runtime's error handler: every shader-runtime error is fatal.
//
// Use: Context installs it with cgSetErrorCallback(CGerror); the runtime calls
// it inside the failing call. It reports, titled "Kestrane::CGerror", the text
// of the pending error, the text of a second pending error if any, and the
// compiler's last listing of Context::current's shader context (line numbers
// and messages), then ends the process with a non-zero status.
// cgErrorReport() builds the same text without ending anything.
// CgSourceName names the file being compiled while it lives, so that a
// compile error reports which file failed ("while compiling <name>").
#pragma once

#include <string>

namespace Kestrane {

class CgSourceName {
public:
    explicit CgSourceName(std::string name);
    ~CgSourceName();
    CgSourceName(const CgSourceName&) = delete;
    CgSourceName& operator=(const CgSourceName&) = delete;

private:
    std::string previous_;
};

std::string cgErrorReport();
[[noreturn]] void CGerror();

}  // namespace Kestrane
