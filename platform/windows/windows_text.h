#pragma once

// Text conversions and system messages shared by the Windows platform files; not part of the
// platform interface.

#include <string>
#include <string_view>

namespace platform::windows {

// UTF-8 to UTF-16 and back. Bytes that are not UTF-8 become U+FFFD.
std::wstring toUtf16(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);

// The system's own text for an error code from GetLastError(), in the user's language, as
// UTF-8, without the line break Windows ends it with.
std::string systemMessage(unsigned long errorCode);

}  // namespace platform::windows
