#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace db {

// An SQL text with its named parameters (":NAME") replaced by "?" markers.
struct ParsedSql {
    std::string text;
    std::vector<std::string> names;  // one per marker, in marker order
};

// Quoted texts ('...', "...", `...`) and "::" are copied unchanged; any other colon starts a
// parameter whose name runs to the first blank, CR, LF, comma, semicolon or closing
// parenthesis, or is itself enclosed in quotes.
ParsedSql parseNamedParameters(std::string_view sql);

}  // namespace db
