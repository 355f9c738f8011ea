#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace engine {

// The day (days since 30 December 1899) of the last safety copy of the destination that
// copias.log records: in the program folder, else in the user's data folder. A run that made
// its copy wrote its "today" columns on that day or later, and a run without a copy came
// later still, so the day bounds those columns from below. None when the log records no copy
// of this destination. destination: the destination's file name as the server sees it.
std::optional<std::int32_t> lastCopyDay(const std::string& programFolder, const std::string& destination);

}  // namespace engine
