// UTF-8 and UTF-16 through the Win32 conversion functions, and FormatMessageW for the
// system's error texts.
#include "windows_text.h"

#include <windows.h>

#include <climits>
#include <cstdio>

namespace platform::windows {

namespace {

int checkedLength(std::size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

}  // namespace

std::wstring toUtf16(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int length = checkedLength(utf8.size());
    const int needed = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring utf16(static_cast<std::size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, utf16.data(), needed);
    return utf16;
}

std::string toUtf8(std::wstring_view utf16) {
    if (utf16.empty()) return {};
    const int length = checkedLength(utf16.size());
    const int needed = ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(needed), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, utf8.data(), needed, nullptr, nullptr);
    return utf8;
}

std::string systemMessage(unsigned long errorCode) {
    wchar_t* text = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, errorCode, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message;
    if (length > 0 && text != nullptr) message = toUtf8(std::wstring_view(text, length));
    if (text != nullptr) ::LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    if (message.empty()) {
        char number[32];
        std::snprintf(number, sizeof number, "system error %lu", errorCode);
        message = number;
    }
    return message;
}

}  // namespace platform::windows
