#include "copy_record.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "file_paths.h"
#include "log_file.h"

namespace engine {

namespace {

constexpr const char* kSha256 = "sha256";
constexpr const char* kBytes = "bytes";
constexpr const char* kDatabase = "database";
constexpr const char* kMade = "made";
constexpr const char* kTable = "table";

[[noreturn]] void notARecord(const std::string& path) {
    throw std::runtime_error("O registro da cópia de segurança está danificado:\r\n" + path);
}

long long number(const std::string& text, const std::string& path) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 18) notARecord(path);
    return std::stoll(text);
}

}  // namespace

std::string copyRecordPath(const std::string& copyPath) { return copyPath + ".txt"; }

void writeCopyRecord(const std::string& path, const CopyRecord& record) {
    std::string text = std::string(kSha256) + '=' + record.sha256 + '\n' + kBytes + '=' + std::to_string(record.bytes) +
                       '\n' + kDatabase + '=' + record.database + '\n' + kMade + '=' + record.made + '\n';
    // A table's name holds no tab: the server's names are at most 63 bytes of printable text.
    for (const auto& [table, rows] : record.tableRows)
        text += std::string(kTable) + '=' + table + '\t' + std::to_string(rows) + '\n';
    platform::LogFile file(path, platform::LogFile::Opening::CreateNew);
    file.write(text);
    file.flushToDisk();
}

std::optional<CopyRecord> readCopyRecord(const std::string& path) {
    std::error_code unknown;
    if (!std::filesystem::exists(std::filesystem::symlink_status(platform::filePath(path), unknown))) return {};
    std::ifstream file(platform::filePath(path), std::ios::binary);
    if (!file) throw std::runtime_error("Não foi possível ler o registro da cópia de segurança:\r\n" + path);
    CopyRecord record;
    bool bytesGiven = false;
    std::string line;
    while (std::getline(file, line)) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) notARecord(path);
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == kSha256) {
            record.sha256 = value;
        } else if (key == kBytes) {
            record.bytes = number(value, path);
            bytesGiven = true;
        } else if (key == kDatabase) {
            record.database = value;
        } else if (key == kMade) {
            record.made = value;
        } else if (key == kTable) {
            const std::size_t tab = value.rfind('\t');
            if (tab == std::string::npos || tab == 0) notARecord(path);
            record.tableRows.emplace_back(value.substr(0, tab), number(value.substr(tab + 1), path));
        } else {
            notARecord(path);
        }
    }
    if (record.sha256.size() != 64 || !bytesGiven || record.database.empty()) notARecord(path);
    return record;
}

}  // namespace engine
