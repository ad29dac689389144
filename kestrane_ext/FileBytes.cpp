#include "kestrane_ext/FileBytes.h"

#include <string>

namespace KestraneExt {

std::vector<std::uint8_t> readAllBytes(File& file) {
    const std::int32_t size = file.size();  // rewinds to byte 0
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (size > 0 && file.read(bytes.data(), 1, bytes.size()) != bytes.size())
        file.fail("read fewer than its " + std::to_string(size) + " bytes");
    return bytes;
}

}  // namespace KestraneExt
