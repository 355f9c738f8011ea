#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

// The SHA-256 digest of a stream of bytes given in pieces (FIPS 180-4): the checksum kept in a
// safety copy's record, computed while the copy is written and again when it is read back.
class Sha256 {
public:
    Sha256();
    void add(std::string_view bytes);
    // The digest as 64 lowercase hexadecimal digits; the object takes no more bytes after it.
    std::string hex();

private:
    void compress(const unsigned char* block);

    std::array<std::uint32_t, 8> state_;
    std::array<unsigned char, 64> pending_{};
    std::size_t pendingBytes_ = 0;
    std::uint64_t totalBytes_ = 0;
};

// The digest of a whole file, read in pieces; empty when the file cannot be read to its end.
std::string fileSha256(const std::string& path);

}  // namespace engine
