// Little-endian byte builder used by the VXM and ZTX writers: the whole file
// is assembled in memory, then written in one go, so a failed write never
// leaves a half-valid file behind without an error being reported.
//
// Use:
//   ByteWriter out;  out.int32(n); out.real(x); out.byte(f); out.string(s);
//   out.bytes()                     the assembled file.
//   writeFileBytes(path, bytes, error)   false (and *error set) on I/O failure.
//   writeEncodedFile(path, encode, title, error)
//                                   encodes and writes; the writers' common path.
// Nothing is shared; a ByteWriter owns its buffer.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace KestraneExt {

class ByteWriter {
public:
    void int32(std::int32_t v) { raw(&v, 4); }
    void real(float v) { raw(&v, 4); }
    void byte(std::uint8_t v) { data.push_back(v); }
    void string(const std::string& s) {
        int32(static_cast<std::int32_t>(s.size()));
        raw(s.data(), s.size());
    }
    void raw(const void* p, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        data.insert(data.end(), b, b + n);
    }
    const std::vector<std::uint8_t>& bytes() const { return data; }
    std::vector<std::uint8_t> take() { return std::move(data); }

private:
    static_assert(std::endian::native == std::endian::little,
                  "the model formats are little-endian and written by memcpy");
    std::vector<std::uint8_t> data;
};

// Writes bytes to path ("wb"). On failure returns false and, when error is
// given, stores "<path>: <reason>" in it.
bool writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes,
                    std::string* error);

// Runs encode (which throws std::invalid_argument on bad data) and writes the
// result to path. On failure returns false and stores the reason in *error,
// or reports it under title when error is null.
bool writeEncodedFile(const std::string& path, const std::function<std::vector<std::uint8_t>()>& encode,
                      const char* title, std::string* error);

}  // namespace KestraneExt
