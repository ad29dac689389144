// Writing generated files: each file is written beside its destination under
// a temporary name and then renamed over it, so a reader (or a second forge
// run from another build folder) never sees a half-written file.
//
// Use:
//   writeOutputFile("data/bw.jpg", bytes, &error)   false + "<path>: <reason>"
//   fnv1a64(bytes, size)                            checksum used by the manifest
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Forge {

bool writeOutputFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* error);
std::uint64_t fnv1a64(const void* data, std::size_t size, std::uint64_t seed = 0xcbf29ce484222325ull);

}  // namespace Forge
