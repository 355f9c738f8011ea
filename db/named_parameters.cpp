#include "named_parameters.h"

namespace db {

namespace {

bool isQuote(char c) { return c == '\'' || c == '"' || c == '`'; }

bool endsName(char c) { return c == ' ' || c == '\r' || c == '\n' || c == ',' || c == ';' || c == ')'; }

}  // namespace

ParsedSql parseNamedParameters(std::string_view sql) {
    ParsedSql parsed;
    parsed.text.reserve(sql.size());
    std::size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (isQuote(c)) {
            const std::size_t close = sql.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? sql.size() : close + 1;
            parsed.text.append(sql.substr(i, end - i));
            i = end;
        } else if (c == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
            parsed.text += "::";
            i += 2;
        } else if (c == ':') {
            std::size_t start = i + 1;
            std::size_t end = start;
            std::string name;
            if (start < sql.size() && isQuote(sql[start])) {
                const std::size_t close = sql.find(sql[start], start + 1);
                end = close == std::string_view::npos ? sql.size() : close + 1;
                name = std::string(
                    sql.substr(start + 1, (close == std::string_view::npos ? sql.size() : close) - start - 1));
            } else {
                while (end < sql.size() && !endsName(sql[end])) ++end;
                name = std::string(sql.substr(start, end - start));
            }
            parsed.names.push_back(std::move(name));
            parsed.text += '?';
            i = end;
        } else {
            parsed.text += c;
            ++i;
        }
    }
    return parsed;
}

}  // namespace db
