#include "text_rules.h"

namespace engine {

std::string SoNumeros(std::string_view text) {
    std::string digits;
    for (const char c : text)
        if (c >= '0' && c <= '9') digits += c;
    return digits;
}

std::string sqlStringLiteral(std::string_view text) {
    std::string literal = "'";
    for (const char c : text) {
        if (c == '\'') literal += '\'';
        literal += c;
    }
    literal += '\'';
    return literal;
}

}  // namespace engine
