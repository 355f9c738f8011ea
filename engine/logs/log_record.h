#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "column_fault.h"

namespace engine {

// The record beside a run's log, "<log>.origem-destino" in the folder that took the log: the
// source and the destination of the run that wrote the log, as the server names their files,
// and each row of the log that the destination refused, with what the server's error codes
// told of it. The log's own bytes are never touched; a comparison trusts a log only for the
// databases its record names.
inline constexpr std::string_view kLogRecordSuffix = ".origem-destino";

// The two databases of a run, as the server names their files.
struct RunDatabases {
    std::string origem;
    std::string destino;

    bool operator==(const RunDatabases&) const = default;
};

// The record's first lines, with their line ends.
std::string logRecordHeader(const RunDatabases& databases);
// A row that the destination refused, as a line of the record with its line end. fault: the
// column fault the server's codes named; none when they named none.
std::string logRecordLine(std::string_view table, std::string_view key, const std::optional<db::ColumnFault>& fault);

// A record read back.
struct LogRecord {
    RunDatabases databases;
    // For each destination table and source key that the destination refused, the column
    // fault its codes named, or none.
    std::map<std::pair<std::string, std::string>, std::optional<db::ColumnFault>, std::less<>> refusedByDestination;

    // The record of the log at logPath; none when there is none or it names no databases.
    static std::optional<LogRecord> read(const std::string& logPath);
};

}  // namespace engine
