#include "terminal_text.h"

namespace batch {

namespace {

void appendEscape(std::string& shown, unsigned char byte) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    shown += "\\x";
    shown += kDigits[byte >> 4];
    shown += kDigits[byte & 0x0F];
}

}  // namespace

std::string terminalText(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) {
            appendEscape(shown, byte);
        } else if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            // U+0080 to U+009F in UTF-8: 0xC2 followed by 0x80 to 0x9F.
            appendEscape(shown, byte);
            appendEscape(shown, static_cast<unsigned char>(text[++i]));
        } else {
            shown += text[i];
        }
    }
    return shown;
}

}  // namespace batch
