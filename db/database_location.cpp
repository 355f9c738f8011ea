#include "database_location.h"

#include <cctype>

#include "text.h"

namespace db {

namespace {

bool isHostCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' || c == '-' || c == '_';
}

bool isPortCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '-'; }

}  // namespace

DatabaseLocation parseDatabaseLocation(const std::string& text) {
    std::size_t at = 0;
    if (!text.empty() && text[0] == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string::npos || close == 1) return {"", "", text};
        at = close + 1;
    } else {
        while (at < text.size() && isHostCharacter(text[at])) ++at;
        if (at < 2) return {"", "", text};
    }
    const std::size_t hostEnd = at;
    if (at < text.size() && text[at] == '/') {
        const std::size_t portStart = ++at;
        while (at < text.size() && isPortCharacter(text[at])) ++at;
        if (at == portStart) return {"", "", text};
    }
    if (at >= text.size() || text[at] != ':') return {"", "", text};
    return {text.substr(0, at), text.substr(0, hostEnd), text.substr(at + 1)};
}

bool isThisMachine(const std::string& host) {
    return sameName(host, "localhost") || host == "127.0.0.1" || host == "[::1]";
}

}  // namespace db
