// Bounds-checked little-endian reader over a file's bytes, used by the VXM
// and ZTX parsers so that no count taken from a file can make them read
// outside the data.
//
// Use:
//   ByteReader in(bytes, size, fileName);
//   in.readInt32(), in.readFloat(), in.readByte(), in.readString()
//   in.readCount(what, elementSize)   a non-negative count whose elements
//                                     (elementSize bytes each) fit in the
//                                     bytes left; anything else throws.
//   in.offset(), in.remaining()
// Every read past the end throws FormatError naming the file and offset.
// The reader does not own the bytes; they must outlive it.
#pragma once

#include "kestrane_ext/FormatError.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

namespace KestraneExt {

static_assert(std::endian::native == std::endian::little,
              "the model formats are little-endian and read by memcpy");

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size, std::string fileName)
        : bytes(data), length(size), name(std::move(fileName)) {}

    std::size_t offset() const { return position; }
    std::size_t remaining() const { return length - position; }
    const std::string& fileName() const { return name; }

    [[noreturn]] void fail(const std::string& reason) const { failAt(position, reason); }
    [[noreturn]] void failAt(std::size_t at, const std::string& reason) const {
        throw FormatError(name, at, reason);
    }

    void need(std::size_t count, const char* what) const {
        if (count > remaining())
            fail(std::string(what) + " needs " + std::to_string(count) + " bytes, " +
                 std::to_string(remaining()) + " left");
    }

    void readBytes(void* out, std::size_t count, const char* what) {
        need(count, what);
        if (count) std::memcpy(out, bytes + position, count);
        position += count;
    }
    void skip(std::size_t count, const char* what) {
        need(count, what);
        position += count;
    }

    std::int32_t readInt32(const char* what = "integer") {
        std::int32_t v;
        readBytes(&v, 4, what);
        return v;
    }
    float readFloat(const char* what = "real") {
        float v;
        readBytes(&v, 4, what);
        return v;
    }
    std::uint8_t readByte(const char* what = "flag") {
        std::uint8_t v;
        readBytes(&v, 1, what);
        return v;
    }

    // A count read from the file: must be >= 0 and count * elementSize must
    // fit in the bytes that follow it.
    std::int32_t readCount(const char* what, std::size_t elementSize) {
        const std::size_t at = position;
        const std::int32_t n = readInt32(what);
        if (n < 0) failAt(at, std::string("negative ") + what + " " + std::to_string(n));
        if (elementSize && static_cast<std::size_t>(n) > remaining() / elementSize)
            failAt(at, std::string(what) + " " + std::to_string(n) + " needs " +
                           std::to_string(static_cast<std::uint64_t>(n) * elementSize) +
                           " bytes, " + std::to_string(remaining()) + " left");
        return n;
    }

    // Length-prefixed text; the text ends at the first zero byte inside it.
    std::string readString(const char* what = "string") {
        const std::int32_t n = readCount(what, 1);
        std::string s(reinterpret_cast<const char*>(bytes + position), static_cast<std::size_t>(n));
        position += static_cast<std::size_t>(n);
        const auto zero = s.find('\0');
        if (zero != std::string::npos) s.resize(zero);
        return s;
    }

private:
    const std::uint8_t* bytes;
    std::size_t length;
    std::string name;
    std::size_t position = 0;
};

}  // namespace KestraneExt
