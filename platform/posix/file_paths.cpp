// File names on POSIX systems are UTF-8 bytes, and the Firebird server takes a database path
// in UTF-8 there.
#include "file_paths.h"

#include <langinfo.h>

#include <clocale>
#include <cstring>

namespace platform {

namespace {

bool characterTypeIsUtf8() { return std::strcmp(::nl_langinfo(CODESET), "UTF-8") == 0; }

}  // namespace

std::filesystem::path filePath(std::string_view utf8) { return std::filesystem::path(std::string(utf8)); }

std::FILE* openFile(std::string_view utf8, const char* mode) { return std::fopen(std::string(utf8).c_str(), mode); }

std::string utf8Path(const std::filesystem::path& path) { return path.string(); }

std::string toFileNameBytes(std::string_view utf8) { return std::string(utf8); }

void useFileNameEncoding() {
    // The client library converts the name from the code set of the process's character-type
    // locale to UTF-8. The window's toolkit sets that locale from the desktop's environment; a
    // program that set none is still in the C locale, whose code set is ASCII, and every
    // accented name would fail. The environment's locale is taken then, as the window does,
    // and C.UTF-8 when that one is not UTF-8 either.
    if (characterTypeIsUtf8()) return;
    if (std::setlocale(LC_CTYPE, "") != nullptr && characterTypeIsUtf8()) return;
    std::setlocale(LC_CTYPE, "C.UTF-8");
}

}  // namespace platform
