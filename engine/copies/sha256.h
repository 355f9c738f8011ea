#pragma once

#include <memory>
#include <string>
#include <string_view>

class QCryptographicHash;

namespace engine {

// The SHA-256 digest of a stream of bytes given in pieces: the checksum kept in a safety copy's
// record, computed while the copy is written and again when it is read back. Qt's own hash
// does the work.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void add(std::string_view bytes);
    // The digest as 64 lowercase hexadecimal digits; the object takes no more bytes after it.
    std::string hex();

private:
    std::unique_ptr<QCryptographicHash> hash_;
};

// The digest of a whole file, read in pieces; empty when the file cannot be read to its end.
std::string fileSha256(const std::string& path);

}  // namespace engine
