#include "conference_file.h"

#include <fstream>
#include <stdexcept>

#include "csv_field.h"
#include "file_paths.h"
#include "log_folder.h"
#include "user_data_folder.h"

namespace engine {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kHeader = "Tabela;Chave;Resultado;Coluna;Mapeamento;Destino;Explicação\r\n";
constexpr std::size_t kBlock = 64 * 1024;

// The first bytes of a file; throws std::runtime_error when they cannot all be read.
std::string firstBytes(const std::string& path, std::size_t count) {
    std::ifstream file(platform::filePath(path), std::ios::binary);
    std::string bytes(count, '\0');
    if (!file.read(bytes.data(), static_cast<std::streamsize>(count)))
        throw std::runtime_error("Cannot read file \"" + path + "\" back");
    return bytes;
}

}  // namespace

ConferenceFile::ConferenceFile(const std::string& programFolder) {
    const std::string folder = writeInLogFolder(programFolder, programFolderFailure_, [this](const std::string& f) {
        file_ = std::make_unique<platform::LogFile>(f + kConferenceFileName);
    });
    path_ = folder + kConferenceFileName;
    pending_ += kByteOrderMark;
    pending_ += kHeader;
}

ConferenceFile::~ConferenceFile() { flush(); }

void ConferenceFile::add(std::string_view table, std::string_view key, std::string_view finding,
                         std::string_view column, std::string_view mapped, std::string_view destination,
                         std::string_view explanation) {
    bool first = true;
    for (std::string_view field : {table, key, finding, column, mapped, destination, explanation}) {
        if (!first) pending_ += ';';
        first = false;
        pending_ += csvField(field);
    }
    pending_ += "\r\n";
    if (pending_.size() >= kBlock) flush();
}

void ConferenceFile::flush() {
    if (pending_.empty()) return;
    write(pending_);
    pending_.clear();
}

void ConferenceFile::write(const std::string& bytes) {
    if (!failure_.empty()) return;
    try {
        file_->write(bytes);
        written_ += bytes.size();
        return;
    } catch (const std::runtime_error& failure) {
        if (!programFolderFailure_.empty()) {
            failure_ = failure.what();
            return;
        }
        programFolderFailure_ = failure.what();
    }
    moveToUserDataFolder(bytes);
}

void ConferenceFile::moveToUserDataFolder(const std::string& bytes) {
    try {
        const std::string moved = firstBytes(path_, written_) + bytes;
        const std::string path = platform::userDataFolder() + kConferenceFileName;
        auto file = std::make_unique<platform::LogFile>(path);
        file->write(moved);
        // The program folder's copy lacks findings: only the whole one is left.
        file_ = std::move(file);
        platform::removeFileQuietly(path_);
        path_ = path;
        written_ = moved.size();
    } catch (const std::exception& failure) {
        failure_ = failure.what();
    }
}

}  // namespace engine
