#include "kestrane_ext/FormatError.h"

#include "kestrane_ext/File.h"
#include "kestrane/Messages.h"

namespace KestraneExt {

namespace {
std::string describe(const std::string& file, std::size_t offset, const std::string& reason) {
    return file + ": byte " + std::to_string(offset) + ": " + reason;
}
}  // namespace

FormatError::FormatError(std::string file, std::size_t offset, std::string reason)
    : std::runtime_error(describe(file, offset, reason)),
      fileName(std::move(file)),
      byteOffset(offset),
      why(std::move(reason)) {}

void FormatError::reportFatal() const {
    Kestrane::fatal(FileErrorTitle, what());
}

}  // namespace KestraneExt
