#include "server_lines.h"

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

}  // namespace

std::string fromServerLine(std::string_view bytes) {
    return isUtf8BeyondAscii(bytes) ? std::string(bytes) : fromCodePage(bytes);
}

}  // namespace db
