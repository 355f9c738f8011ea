#include "output_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "backup_file.h"
#include "file_paths.h"

namespace engine {

namespace {

namespace fs = std::filesystem;

// The opening of a Firebird database file: its header page (page type 1) whose on-disk
// structure version carries Firebird's flag (0x8000) beside a version number.
bool beginsAsDatabase(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    unsigned char bytes[20] = {};
    if (!in.read(reinterpret_cast<char*>(bytes), sizeof bytes)) return false;
    const unsigned ods = static_cast<unsigned>(bytes[18]) | (static_cast<unsigned>(bytes[19]) << 8);
    return bytes[0] == 1 && (ods & 0x8000U) != 0 && (ods & 0x7FFFU) >= 8 && (ods & 0x7FFFU) <= 30;
}

bool isCopyRecord(const std::string& path) {
    constexpr std::string_view suffix = ".fbk.txt";
    return path.size() >= suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string systemReason() { return std::generic_category().message(errno); }

}  // namespace

OutputFileCheck checkOutputFile(const std::string& path, const std::vector<std::string>& databaseFiles) {
    OutputFileCheck check;
    const fs::path file = platform::filePath(path);
    const std::string refused = "O relatório não pode ser gravado em\r\n" + path + "\r\n";
    std::error_code unknown;
    if (path.empty()) {
        check.refusal = "Falta o nome do arquivo do relatório.";
        return check;
    }
    check.exists = fs::exists(file, unknown);
    if (check.exists) {
        if (fs::is_directory(file, unknown)) {
            check.refusal = refused + "É uma pasta.";
            return check;
        }
        for (const std::string& database : databaseFiles) {
            std::error_code differs;
            if (fs::equivalent(file, platform::filePath(database), differs)) {
                check.refusal = refused + "É o arquivo do banco de dados " + database + ".";
                return check;
            }
        }
        if (beginsAsDatabase(file)) {
            check.refusal = refused + "O arquivo é um banco de dados do Firebird.";
        } else if (readBackupHeader(path)) {
            check.refusal = refused + "O arquivo é uma cópia de segurança do Firebird.";
        } else if (isCopyRecord(path)) {
            check.refusal = refused + "O arquivo é o registro de uma cópia de segurança.";
        } else if (!std::ofstream(file, std::ios::binary | std::ios::app)) {
            check.refusal = refused + systemReason();
        }
        return check;
    }
    // Nothing there yet: the folder must take a new file, tried and removed at once.
    if (!std::ofstream(file, std::ios::binary)) {
        check.refusal = refused + systemReason();
        return check;
    }
    fs::remove(file, unknown);
    return check;
}

}  // namespace engine
