// KestraneExt::TextFile: a whole file read into memory as NUL-terminated text
// (the shader sources handed to the shader compiler).
//
// Use:
//   TextFile source(File("data/x.cg", "rb"));   reads every byte, closes the file
//   source.text()                               the n bytes followed by one 0 byte
//   source.length()                             n (a 0 byte inside the file ends
//                                               the text early for C-string users)
// Lifetime: the buffer belongs to the TextFile; text() stays valid while it lives.
// A read that stops short of the file's length is a fatal error naming the file.
#pragma once

#include "kestrane_ext/File.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace KestraneExt {

class TextFile {
public:
    explicit TextFile(File file);

    const char* text() const { return buffer_.data(); }
    std::size_t length() const { return buffer_.size() - 1; }
    std::string_view view() const { return {buffer_.data(), length()}; }

private:
    std::vector<char> buffer_;
};

}  // namespace KestraneExt
