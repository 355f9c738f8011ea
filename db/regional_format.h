#pragma once

// The regional formats in which numbers and dates are read as text: those of the Brazilian
// desktops the tool runs on. A build for another region changes only this file.
namespace db {

inline constexpr char kDecimalSeparator = ',';
// Day, month, year.
inline constexpr const char* kDateFormat = "%02d/%02d/%04d";
// Hours, minutes, seconds.
inline constexpr const char* kTimeFormat = "%02u:%02u:%02u";
// A date with an optional time: day, month, year, [end], hours, minutes, seconds, [end].
inline constexpr const char* kDateTimeScan = "%d/%d/%d%n %d:%d:%d%n";

}  // namespace db
