#include "copy_day.h"

#include <cstdio>
#include <fstream>

#include "codepage.h"
#include "copy_log.h"
#include "file_paths.h"
#include "user_data_folder.h"
#include "values.h"

namespace engine {

namespace {

// The day of a line "yyyy-mm-dd hh:mm:ss<TAB>destination<TAB>copy<TAB>bytes" of that
// destination; none for another destination or a line that is not one.
std::optional<std::int32_t> dayOfLine(const std::string& line, const std::string& destination) {
    const std::size_t first = line.find('\t');
    if (first == std::string::npos) return std::nullopt;
    const std::size_t second = line.find('\t', first + 1);
    if (second == std::string::npos || line.compare(first + 1, second - first - 1, destination) != 0)
        return std::nullopt;
    int year = 0;
    int month = 0;
    int day = 0;
    if (std::sscanf(line.c_str(), "%4d-%2d-%2d", &year, &month, &day) != 3) return std::nullopt;
    return db::DateTime::fromCivil(year, month, day).day;
}

std::optional<std::int32_t> lastDayIn(const std::string& path, const std::string& destination, bool& found) {
    std::ifstream file(platform::filePath(path), std::ios::binary);
    found = static_cast<bool>(file);
    std::optional<std::int32_t> last;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (const std::optional<std::int32_t> day = dayOfLine(db::fromCodePage(line), destination)) last = day;
    }
    return last;
}

}  // namespace

std::optional<std::int32_t> lastCopyDay(const std::string& programFolder, const std::string& destination) {
    bool found = false;
    const std::optional<std::int32_t> day = lastDayIn(programFolder + kCopyLogName, destination, found);
    if (found) return day;
    try {
        return lastDayIn(platform::userDataFolder() + kCopyLogName, destination, found);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace engine
