#include "kestrane_ext/TextFile.h"

#include <string>

namespace KestraneExt {

TextFile::TextFile(File file)
{
    const std::size_t n = static_cast<std::size_t>(file.size());
    buffer_.assign(n + 1, '\0');
    const std::size_t got = file.read(buffer_.data(), 1, n);
    if (got != n)
        file.fail("read " + std::to_string(got) + " of " + std::to_string(n) + " bytes");
}

}  // namespace KestraneExt
