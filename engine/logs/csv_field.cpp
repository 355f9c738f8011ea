#include "csv_field.h"

namespace engine {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// An optional sign, then digits with at most one decimal separator, at least one digit.
bool isNumber(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
    bool digit = false;
    bool separator = false;
    for (char c : text) {
        if (isDigit(c)) {
            digit = true;
        } else if ((c == '.' || c == ',') && !separator) {
            separator = true;
        } else {
            return false;
        }
    }
    return digit;
}

// A spreadsheet takes a cell that begins so as a formula (or, for a tab or a carriage return,
// drops the character and looks at the next).
bool readAsFormula(std::string_view text) {
    if (text.empty()) return false;
    const std::string_view starts = "=+-@\t\r";
    return starts.find(text.front()) != std::string_view::npos && !isNumber(text);
}

}  // namespace

std::string csvField(std::string_view text) {
    std::string shown = readAsFormula(text) ? "'" : "";
    shown += text;
    if (shown.find_first_of(";\"\r\n") == std::string::npos) return shown;
    std::string quoted = "\"";
    for (char c : shown) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace engine
