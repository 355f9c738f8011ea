#include "safety_copy.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "copy_record.h"
#include "database_error.h"
#include "database_identity.h"
#include "database_server.h"
#include "file_paths.h"
#include "local_time.h"
#include "log_file.h"
#include "server_service.h"
#include "service_manager.h"
#include "sha256.h"
#include "table_rows.h"

namespace engine {

namespace {

// Names tried before giving up: more runs on one database in one millisecond than this are
// not something a person starts.
constexpr int kNameAttempts = 100;

// A new copy file at the first free name for the time.
std::unique_ptr<platform::LogFile> createCopyFile(const std::string& database, std::string& path) {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::tm local = platform::localTime(system_clock::to_time_t(now));
    const int milliseconds =
        static_cast<int>(duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        path = safetyCopyPath(database, local, milliseconds, attempt);
        // The record must be free too: a copy is never paired with another copy's record.
        std::error_code unknown;
        if (std::filesystem::exists(std::filesystem::symlink_status(platform::filePath(copyRecordPath(path)), unknown)))
            continue;
        try {
            return std::make_unique<platform::LogFile>(path, platform::LogFile::Opening::CreateNew);
        } catch (const platform::FileExists&) {
        }
    }
    throw std::runtime_error("Não há nome livre para a cópia de segurança:\r\n" + path);
}

std::string localStamp(std::time_t when) {
    char stamp[32];
    const std::tm local = platform::localTime(when);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    return stamp;
}

// Streams the backup into the file; returns its checksum and size.
// The backup is made by the destination's own server.
void streamBackup(const Progress& progress, const ServerLogin& login, const std::string& server,
                  const std::string& database, platform::LogFile& file, CopyRecord& record) {
    progress.setGaugeMinimum(0);
    progress.setGaugePosition(0);
    progress.setGaugeMaximum(1);
    progress.setStatus("Fazendo cópia de segurança do destino");
    progress.processMessages();
    db::ServiceManager manager(serviceLogin(login, server));
    manager.start(db::streamedBackupRequest(database));
    Sha256 digest;
    std::string bytes;
    while (manager.nextBytes(bytes)) {
        file.write(bytes);
        digest.add(bytes);
        record.bytes += static_cast<long long>(bytes.size());
        progress.processMessages();
    }
    file.flushToDisk();
    record.sha256 = digest.hex();
}

// Reads the copy back from the disk and compares it with what was written.
void checkOnDisk(const std::string& path, const CopyRecord& record) {
    std::error_code unknown;
    const std::uintmax_t bytes = std::filesystem::file_size(platform::filePath(path), unknown);
    if (unknown || static_cast<long long>(bytes) != record.bytes || fileSha256(path) != record.sha256)
        throw std::runtime_error("A cópia gravada no disco não confere com a cópia recebida do servidor:\r\n" + path);
    if (readCopyRecord(copyRecordPath(path)) != record)
        throw std::runtime_error("O registro gravado no disco não confere com a cópia:\r\n" + copyRecordPath(path));
}

}  // namespace

std::string safetyCopyPath(const std::string& databaseFileName, const std::tm& localTime, int milliseconds,
                           int attempt) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "-%Y%m%d-%H%M%S", &localTime);
    char rest[32];
    if (attempt == 0)
        std::snprintf(rest, sizeof rest, "-%03d.fbk", milliseconds);
    else
        std::snprintf(rest, sizeof rest, "-%03d-%d.fbk", milliseconds, attempt);
    return databaseFileName + stamp + rest;
}

SafetyCopy makeSafetyCopy(const Progress& progress, const ServerLogin& login, db::Attachment& destination,
                          db::Transaction& transaction) {
    SafetyCopy copy;
    copy.database = db::serverFileName(destination, transaction);
    CopyRecord record;
    record.database = copy.database;
    record.made = localStamp(std::time(nullptr));
    record.tableRows = tableRowCounts(destination, transaction);
    std::unique_ptr<platform::LogFile> file = createCopyFile(copy.database, copy.path);
    bool recordWritten = false;
    try {
        streamBackup(progress, login, serverOf(destination.connectionString()), copy.database, *file, record);
        file.reset();
        writeCopyRecord(copyRecordPath(copy.path), record);
        recordWritten = true;
        checkOnDisk(copy.path, record);
    } catch (...) {
        file.reset();
        progress.setGaugePosition(0);
        platform::removeFileQuietly(copy.path);
        if (recordWritten) platform::removeFileQuietly(copyRecordPath(copy.path));
        throw;
    }
    progress.setGaugePosition(0);
    copy.bytes = record.bytes;
    return copy;
}

}  // namespace engine
