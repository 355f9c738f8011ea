#pragma once

#include <ctime>
#include <string>

#include "run_report.h"

namespace engine {

// The log of the safety copies, in the program folder.
inline constexpr const char* kCopyLogName = "copias.log";

// Adds one line for a copy: when (local time), the destination, the copy file and its size in
// bytes, separated by tabs and ended by CR LF, in the single-byte code page. Throws
// std::runtime_error naming the file when it cannot be written.
void appendCopyLog(const std::string& path, const SafetyCopy& copy, std::time_t when);

// Adds the copy's line to copias.log in the program folder or, when that folder cannot take it,
// in the user's data folder, as the run logs do. Returns the file written; throws
// std::runtime_error when neither can be written.
std::string recordCopy(const std::string& programFolder, const SafetyCopy& copy, std::time_t when);

}  // namespace engine
