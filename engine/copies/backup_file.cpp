#include "backup_file.h"

#include <fstream>
#include <iterator>

#include "file_paths.h"
#include "server_lines.h"

namespace engine {

namespace {

// A backup begins with the record of the backup itself: its kind, then attributes written as
// a kind, a one-byte length and the value, closed by a zero kind.
constexpr unsigned char kBackupRecord = 0;
constexpr unsigned char kEndOfRecord = 0;
constexpr unsigned char kFormatAttribute = 2;
constexpr unsigned char kDatabaseAttribute = 7;
// Formats written by the servers this tool works with, with room for newer ones.
constexpr long kHighestFormat = 64;
constexpr std::size_t kHeaderBytes = 4096;

long littleEndian(const std::string& bytes) {
    unsigned long value = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return static_cast<long>(value);
}

}  // namespace

std::optional<BackupFileHeader> readBackupHeader(const std::string& path) {
    std::ifstream file(platform::filePath(path), std::ios::binary);
    if (!file) return std::nullopt;
    std::string bytes(kHeaderBytes, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));

    if (bytes.empty() || static_cast<unsigned char>(bytes[0]) != kBackupRecord) return std::nullopt;
    BackupFileHeader header;
    std::size_t at = 1;
    while (true) {
        if (at >= bytes.size()) return std::nullopt;
        const auto kind = static_cast<unsigned char>(bytes[at++]);
        if (kind == kEndOfRecord) break;
        if (at >= bytes.size()) return std::nullopt;
        const auto length = static_cast<unsigned char>(bytes[at++]);
        if (at + length > bytes.size()) return std::nullopt;
        const std::string value = bytes.substr(at, length);
        at += length;
        if (kind == kFormatAttribute && length == 4) header.format = static_cast<int>(littleEndian(value));
        if (kind == kDatabaseAttribute) header.databaseName = db::fromServerLine(value);
    }
    if (header.format <= 0 || header.format > kHighestFormat || header.databaseName.empty()) return std::nullopt;
    return header;
}

}  // namespace engine
