#include "sha256.h"

#include <fstream>

#include <QCryptographicHash>

#include "file_paths.h"

namespace engine {

Sha256::Sha256() : hash_(std::make_unique<QCryptographicHash>(QCryptographicHash::Sha256)) {}

Sha256::~Sha256() = default;

void Sha256::add(std::string_view bytes) {
    hash_->addData(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string Sha256::hex() { return hash_->result().toHex().toStdString(); }

std::string fileSha256(const std::string& path) {
    std::ifstream file(platform::filePath(path), std::ios::binary);
    if (!file) return "";
    Sha256 digest;
    std::string buffer(1 << 16, '\0');
    while (file) {
        file.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        digest.add(std::string_view(buffer.data(), static_cast<std::size_t>(file.gcount())));
    }
    if (!file.eof()) return "";
    return digest.hex();
}

}  // namespace engine
