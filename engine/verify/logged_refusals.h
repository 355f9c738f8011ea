#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "log_record.h"

namespace engine {

// The rows that the destination refused in the last run from this source into this
// destination, as quorel.log and quorel2.log give them (in the program folder, or in the
// user's data folder when the program folder has none) and their records confirm: a log whose
// record is missing or names other databases gives nothing, and so does an entry that the
// record does not have as refused by the destination (the import's own refusal, which the
// comparison sees again in the current source row, or not at all once the row was corrected).
class LoggedRefusals {
public:
    // Reads both logs and their records.
    static LoggedRefusals read(const std::string& programFolder, const RunDatabases& databases);
    // Takes the entries of one log's text (UTF-8) that its record has as refused by the
    // destination.
    void addLog(std::string_view fileName, const std::string& text, const LogRecord& record);

    // Why the destination refused the key: the outcome view's cause when the server's codes
    // named the column at fault, else "quorel.log: <the log's line>"; none when no trusted log
    // has it.
    const std::string* find(std::string_view table, const std::string& key) const;

private:
    std::map<std::pair<std::string, std::string>, std::string, std::less<>> reasons_;
};

}  // namespace engine
