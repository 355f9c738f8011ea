#pragma once

#include <optional>
#include <string>

namespace engine {

// What the opening record of a server backup file says about it.
struct BackupFileHeader {
    int format = 0;            // the backup format version
    std::string databaseName;  // the database the backup was made of, as the server named it
};

// Reads the opening record of a backup file. Empty when the file cannot be read or does not
// begin the way a backup written by the server does.
std::optional<BackupFileHeader> readBackupHeader(const std::string& path);

}  // namespace engine
