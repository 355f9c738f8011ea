#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace engine {

// What was true of a safety copy when it was written, kept in a small text file beside it, so
// that a restore can tell a whole copy of its database from a damaged one.
struct CopyRecord {
    std::string sha256;    // the copy file's checksum
    long long bytes = 0;   // its size
    std::string database;  // the database copied, as the server names it
    std::string made;      // when, in local time, "yyyy-mm-dd hh:mm:ss"
    // Every user table with its rows, by name.
    std::vector<std::pair<std::string, long long>> tableRows;

    bool operator==(const CopyRecord&) const = default;
};

// The record's file: the copy's name followed by ".txt".
std::string copyRecordPath(const std::string& copyPath);

// Writes the record as a new private file, one "key=value" line each in UTF-8 and a "table="
// line for each table; a file already at its place is never replaced. Throws
// std::runtime_error naming the file when it cannot be written.
void writeCopyRecord(const std::string& path, const CopyRecord& record);

// Reads a record written by writeCopyRecord; empty when there is no file at the path. Throws
// std::runtime_error when the file cannot be read or is not such a record.
std::optional<CopyRecord> readCopyRecord(const std::string& path);

}  // namespace engine
