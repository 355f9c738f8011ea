#include "text.h"

#include <cstdio>

namespace db {

namespace {

bool isBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

bool startsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string trimBlanks(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return std::string(text.substr(begin, end - begin));
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lowerAscii(c);
    return out;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (char c : utf8)
        if (startsCharacter(c)) ++count;
    return count;
}

std::string firstCharacters(std::string_view utf8, std::size_t n) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (startsCharacter(utf8[i])) {
            if (seen == n) return std::string(utf8.substr(0, i));
            ++seen;
        }
    }
    return std::string(utf8);
}

std::string firstLine(std::string_view text) { return std::string(text.substr(0, text.find_first_of("\r\n"))); }

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", seconds);
    return text;
}

}  // namespace db
