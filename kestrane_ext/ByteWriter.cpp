#include "kestrane_ext/ByteWriter.h"

#include "kestrane/Messages.h"

#include <cerrno>
#include <stdexcept>
#include <cstdio>

namespace KestraneExt {

bool writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes,
                    std::string* error) {
    auto failed = [&](const std::string& why) {
        if (error) *error = path + ": " + why;
        return false;
    };
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return failed(std::string("cannot open for writing: ") + std::strerror(errno));
    const bool wrote = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const int savedErrno = errno;
    const bool closed = std::fclose(f) == 0;
    if (!wrote) return failed(std::string("write failed: ") + std::strerror(savedErrno));
    if (!closed) return failed(std::string("close failed: ") + std::strerror(errno));
    return true;
}

bool writeEncodedFile(const std::string& path, const std::function<std::vector<std::uint8_t>()>& encode,
                      const char* title, std::string* error) {
    std::string reason;
    bool ok = false;
    try {
        ok = writeFileBytes(path, encode(), &reason);
    } catch (const std::invalid_argument& e) {
        reason = path + ": " + e.what();
    }
    if (!ok) {
        if (error)
            *error = reason;
        else
            Kestrane::showMessage(title, reason);
    }
    return ok;
}

}  // namespace KestraneExt
