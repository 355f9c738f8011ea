#pragma once

#include <string>
#include <string_view>

namespace db {

// Texts inside the system are Unicode (UTF-8 in std::string). Everything exchanged with the
// client library, and every file the system writes, uses one single-byte code page:
// Windows-1252, the ANSI code page of the machines the tool is written for.

// UTF-8 to code-page bytes; a character the code page cannot represent becomes "?".
std::string toCodePage(std::string_view utf8);

// Code-page bytes to UTF-8. The five bytes that Windows-1252 leaves undefined map to the
// control characters of the same number, so that nothing read is lost.
std::string fromCodePage(std::string_view bytes);

}  // namespace db
