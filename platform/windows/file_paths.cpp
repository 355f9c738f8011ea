// File names on Windows: the file APIs take UTF-16 names; the Firebird client takes a database
// path or a service's file name in the ANSI code page, the one Windows programs use for
// narrow strings (1252 on a Brazilian machine).
#include "file_paths.h"

#include <windows.h>

#include <climits>
#include <cstdio>
#include <stdexcept>

#include "windows_text.h"

namespace platform {

std::filesystem::path filePath(std::string_view utf8) { return std::filesystem::path(windows::toUtf16(utf8)); }

std::FILE* openFile(std::string_view utf8, const char* mode) {
    return ::_wfopen(windows::toUtf16(utf8).c_str(), windows::toUtf16(mode).c_str());
}

std::string utf8Path(const std::filesystem::path& path) { return windows::toUtf8(path.native()); }

std::string toFileNameBytes(std::string_view utf8) {
    const std::wstring utf16 = windows::toUtf16(utf8);
    if (utf16.empty()) return {};
    if (utf16.size() > INT_MAX) throw std::runtime_error("File name too long");
    const int length = static_cast<int>(utf16.size());
    // No best fit: Windows would otherwise turn "Ł" into "L" and name another file. A
    // character the code page does not have is refused instead.
    BOOL defaultUsed = FALSE;
    const int needed =
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, utf16.data(), length, nullptr, 0, "?", &defaultUsed);
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, utf16.data(), length, bytes.data(), needed, "?", &defaultUsed);
    if (defaultUsed || needed == 0)
        throw std::runtime_error("The name \"" + std::string(utf8) +
                                 "\" has characters that the Firebird client cannot take on this machine "
                                 "(Windows code page " +
                                 std::to_string(::GetACP()) + "): rename the folder or the file");
    return bytes;
}

// The Windows client library reads connection strings in the ANSI code page from the start.
void useFileNameEncoding() {}

}  // namespace platform
