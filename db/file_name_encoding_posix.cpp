// File names on POSIX systems are UTF-8 bytes, and the Firebird server takes a database path
// in UTF-8 there. A Windows build replaces this file with one that converts to the ANSI code
// page, in which the client library takes file names on Windows.
#include "file_name_encoding.h"

#include <langinfo.h>

#include <clocale>
#include <cstring>

#include "codepage.h"

namespace db {

namespace {

// True when the bytes are UTF-8 and hold at least one character beyond ASCII. Texts in the
// code page almost never are: a letter with an accent there is one byte that UTF-8 does not
// allow alone.
bool isUtf8BeyondAscii(std::string_view bytes) {
    bool beyondAscii = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 1;
        if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
        } else if (lead >= 0xE0) {
            length = lead <= 0xEF ? 3 : 0;
        } else if (lead >= 0xC2) {
            length = 2;
        } else if (lead >= 0x80) {
            length = 0;
        }
        if (length == 0 || i + length > bytes.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        beyondAscii = beyondAscii || length > 1;
        i += length;
    }
    return beyondAscii;
}

bool characterTypeIsUtf8() { return std::strcmp(::nl_langinfo(CODESET), "UTF-8") == 0; }

}  // namespace

std::string toFileNameBytes(std::string_view utf8) { return std::string(utf8); }

std::string fromServerLine(std::string_view bytes) {
    return isUtf8BeyondAscii(bytes) ? std::string(bytes) : fromCodePage(bytes);
}

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

}  // namespace db
