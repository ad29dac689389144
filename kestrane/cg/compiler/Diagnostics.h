// Error collection shared by the compiler's passes (preprocessor, parser,
// checker, emitter). Each pass reports "message at line:column"; the driver
// fills in the source lines and builds the listing. The number of messages is
// capped so that garbage input cannot make the report itself enormous.
#pragma once

#include "kestrane/cg/compiler/CgCompiler.h"

#include <string>
#include <vector>

namespace Kestrane::CgCompiler {

struct SourcePos {
    int line = 0;
    int column = 0;
    int file = 0;  // index in Result::files: 0 the program, then included files
};

class Diagnostics {
public:
    static constexpr int maxErrors = 25;

    void error(SourcePos pos, std::string message);
    bool hasErrors() const { return !errors_.empty(); }
    // True once the cap is reached: passes may stop early.
    bool full() const { return static_cast<int>(errors_.size()) >= maxErrors; }
    std::vector<Diagnostic>& errors() { return errors_; }
    // SourcePos::file of each error, in the order of errors().
    const std::vector<int>& errorFiles() const { return files_; }

private:
    std::vector<Diagnostic> errors_;
    std::vector<int> files_;
};

}  // namespace Kestrane::CgCompiler
