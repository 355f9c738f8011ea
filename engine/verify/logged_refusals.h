#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace engine {

// The rows that the last run with refusals logged in quorel.log and quorel2.log (in the
// program folder, or in the user's data folder when the program folder has none): for each
// destination table and source key, the reason the log gives.
class LoggedRefusals {
public:
    // Reads both logs; a log that is missing or unreadable gives nothing.
    static LoggedRefusals read(const std::string& programFolder);
    // Takes the entries of one log's text (UTF-8).
    void addLog(std::string_view fileName, const std::string& text);

    // "quorel.log: <reason>" for the key, or none.
    const std::string* find(std::string_view table, const std::string& key) const;

private:
    std::map<std::pair<std::string, std::string>, std::string, std::less<>> reasons_;
};

}  // namespace engine
