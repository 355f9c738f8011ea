#include "run_log_file.h"

#include <fstream>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <utility>

#include "codepage.h"
#include "file_paths.h"
#include "log_folder.h"
#include "refusal_csv.h"

namespace engine {

namespace {

std::string asWritten(const std::string& entry) { return db::toCodePage(entry) + "\r\n"; }

}  // namespace

RunLogFile::RunLogFile(std::string programFolder, std::string fileName, LogFormat format)
    : folder_(std::move(programFolder)), fileName_(std::move(fileName)), format_(std::move(format)) {}

std::string RunLogFile::writtenSoFar() const {
    std::ifstream in(platform::filePath(path()), std::ios::binary);
    std::string bytes(bytesWritten_, '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return {};
    return bytes;
}

// Opens the file on the first entry: in the program folder, else in the user's data folder,
// taking along what a program folder that failed mid-run holds of the log.
bool RunLogFile::open() {
    if (file_) return true;
    if (!fallbackFailure_.empty()) return false;
    // A file left mid-run: its whole entries start the new one, and it is removed once they
    // are there; one that cannot be read stays where it is.
    const std::string leaving = bytesWritten_ > 0 ? path() : "";
    std::string start = leaving.empty() ? "" : writtenSoFar();
    const bool carried = !start.empty();
    if (!carried) start = format_.preamble;
    try {
        folder_ = writeInLogFolder(folder_, programFolderFailure_, [&](const std::string& folder) {
            auto file = std::make_unique<platform::LogFile>(folder + fileName_);
            if (!start.empty()) file->write(start);
            file_ = std::move(file);
        });
        bytesWritten_ = start.size();
        if (carried && leaving != path()) platform::removeFileQuietly(leaving);
        openRecord();
        return true;
    } catch (const std::runtime_error& failure) {
        fallbackFailure_ = failure.what();
        return false;
    }
}

void RunLogFile::append(const std::string& entry) {
    ++entries_;
    const std::string bytes = format_.utf8 ? entry + "\r\n" : asWritten(entry);
    // The program folder first; when it fails (cannot create the file, a full disk), the
    // rest of the log goes to the user's data folder.
    while (unwritten_.empty() && open()) {
        try {
            file_->write(bytes);
            bytesWritten_ += bytes.size();
            return;
        } catch (const std::runtime_error& failure) {
            file_.reset();
            (programFolderFailure_.empty() ? programFolderFailure_ : fallbackFailure_) = failure.what();
        }
    }
    unwritten_.push_back(entry);
}

void RunLogFile::keepRecord(std::string header) { recordHeader_ = std::move(header); }

// The record goes with the log's file: an older one there would vouch for the new log.
void RunLogFile::openRecord() {
    if (recordHeader_.empty()) return;
    const std::string path = folder_ + fileName_ + std::string(kLogRecordSuffix);
    record_.reset();
    platform::removeFileQuietly(path);
    try {
        record_ = std::make_unique<platform::LogFile>(path);
        record_->write(recordHeader_ + pendingRecord_);
    } catch (const std::runtime_error&) {
        record_.reset();
    }
    pendingRecord_.clear();
}

void RunLogFile::appendRecord(const std::string& line) {
    if (!file_) {
        pendingRecord_ += line;
        return;
    }
    if (!record_) return;
    try {
        record_->write(line);
    } catch (const std::runtime_error&) {
        record_.reset();
    }
}

void RunLogFile::finish() {
    file_.reset();
    record_.reset();
}

void RunLogs::start(const std::string& programFolder, bool preview, const RunDatabases& databases) {
    const std::string errosName = preview ? "quorel-simulacao.log" : "quorel.log";
    const std::string repetidosName = preview ? "quorel2-simulacao.log" : "quorel2.log";
    const std::string recusadasName = preview ? "recusadas-simulacao.csv" : "recusadas.csv";
    if (preview) {
        // The preview's files show only the preview's entries.
        for (const std::string& log : {errosName, repetidosName}) {
            platform::removeFileQuietly(programFolder + log);
            platform::removeFileQuietly(programFolder + log + std::string(kLogRecordSuffix));
        }
        platform::removeFileQuietly(programFolder + recusadasName);
    }
    erros_ = std::make_unique<RunLogFile>(programFolder, errosName);
    repetidos_ = std::make_unique<RunLogFile>(programFolder, repetidosName);
    recusadas_ = std::make_unique<RunLogFile>(programFolder, recusadasName, LogFormat{true, csvPreamble()});
    erros_->keepRecord(logRecordHeader(databases));
    repetidos_->keepRecord(logRecordHeader(databases));
    running_ = true;
}

void RunLogs::drain(std::vector<std::string>& logErros, std::vector<std::string>& logClienteRepetido) {
    if (!active()) return;
    for (const std::string& entry : logErros) erros_->append(entry);
    for (const std::string& entry : logClienteRepetido) repetidos_->append(entry);
    logErros.clear();
    logClienteRepetido.clear();
}

void RunLogs::finish() {
    if (!running_) return;
    running_ = false;
    std::string failure;
    std::string lost;
    for (RunLogFile* log : {erros_.get(), repetidos_.get(), recusadas_.get()}) {
        log->finish();
        if (log->lostEntries() == 0) continue;
        if (failure.empty()) failure = log->programFolderFailure();
        lost += "\r\n" + log->fileName() + ": " + std::to_string(log->lostEntries()) +
                (log->lostEntries() == 1 ? " registro perdido" : " registros perdidos") +
                ", nenhuma pasta aceitou o arquivo";
    }
    if (!lost.empty()) throw std::runtime_error(failure + lost);
}

}  // namespace engine
