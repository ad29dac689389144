// The one error type of the binary file parsers (VXM, ZTX): which file, at
// which byte, and what was wrong.
//
// Use:
//   Parsers throw FormatError(file, offset, reason) the moment they meet
//   bytes that cannot be a well-formed file (a count larger than the bytes
//   left, an index past the vertex count, an unknown node type...).
//   Public loaders catch it and end the program through reportFatal(); tests
//   and the mutation fuzzer call the throwing parse layer and catch it.
//   what() reads "<file>: byte <offset>: <reason>".
// A FormatError owns copies of its strings; it may outlive the parser.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace KestraneExt {

class FormatError : public std::runtime_error {
public:
    FormatError(std::string file, std::size_t offset, std::string reason);

    const std::string& file() const { return fileName; }
    std::size_t offset() const { return byteOffset; }
    const std::string& reason() const { return why; }

    // Reports the error through the program's fatal-error path and ends the
    // process with a non-zero status.
    [[noreturn]] void reportFatal() const;

private:
    std::string fileName;
    std::size_t byteOffset;
    std::string why;
};

}  // namespace KestraneExt
