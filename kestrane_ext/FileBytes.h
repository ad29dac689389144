// Reads the whole of a File into memory, so that the model parsers work on a
// bounds-checked byte array instead of trusting stream reads.
//
// Use:
//   std::vector<std::uint8_t> bytes = readAllBytes(file);   then close it.
// A read that delivers fewer bytes than the file's size ends the process
// through File::fail, naming the file.
#pragma once

#include "kestrane_ext/File.h"

#include <cstdint>
#include <vector>

namespace KestraneExt {

std::vector<std::uint8_t> readAllBytes(File& file);

}  // namespace KestraneExt
