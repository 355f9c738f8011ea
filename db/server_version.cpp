#include "server_version.h"

#include <cctype>

namespace db {

namespace {

// Reads the decimal number at `at` and moves past it; -1 when there is none.
int number(const std::string& text, std::size_t& at) {
    if (at >= text.size() || std::isdigit(static_cast<unsigned char>(text[at])) == 0) return -1;
    int value = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) != 0 && value < 100000)
        value = value * 10 + (text[at++] - '0');
    return value;
}

}  // namespace

std::string ServerVersion::text() const {
    if (!known()) return "";
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(release);
}

ServerVersion parseServerVersion(const std::string& line) {
    const std::size_t dash = line.find('-');
    if (dash == std::string::npos || dash + 1 >= line.size()) return {};
    const char kind = line[dash + 1];
    if (kind != 'V' && kind != 'T') return {};
    std::size_t at = dash + 2;
    int parts[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (at >= line.size() || line[at] != '.') return {};
            ++at;
        }
        parts[i] = number(line, at);
        if (parts[i] < 0) return {};
    }
    if (parts[0] == 0) return {};
    return {parts[0], parts[1], parts[2]};
}

}  // namespace db
