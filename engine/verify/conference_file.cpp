#include "conference_file.h"

#include "csv_field.h"
#include "log_folder.h"

namespace engine {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kHeader = "Tabela;Chave;Resultado;Coluna;Mapeamento;Destino;Explicação\r\n";
constexpr std::size_t kBlock = 64 * 1024;

}  // namespace

ConferenceFile::ConferenceFile(const std::string& programFolder) {
    std::string programFolderFailure;
    const std::string folder = writeInLogFolder(programFolder, programFolderFailure, [this](const std::string& f) {
        file_ = std::make_unique<platform::LogFile>(f + kConferenceFileName);
    });
    path_ = folder + kConferenceFileName;
    pending_ += kByteOrderMark;
    pending_ += kHeader;
}

ConferenceFile::~ConferenceFile() {
    try {
        flush();
    } catch (...) {
        // The file keeps what was written before; the report already has its path.
    }
}

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
    file_->write(pending_);
    pending_.clear();
}

}  // namespace engine
