#pragma once

#include <string>
#include <string_view>

namespace engine {

// One field of a CSV file that spreadsheets open (recusadas.csv, conferencia.csv), as the
// text it shows:
// - a text that begins with "=", "+", "-", "@", a tab or a carriage return gets a leading "'",
//   so that Excel and LibreOffice show it as text instead of running it as a formula; a text
//   that is only a number (an optional sign, digits, at most one "." or ",") stays as it is;
// - a field that holds a ";", a quotation mark or a line break is quoted (RFC 4180), each
//   quotation mark doubled.
std::string csvField(std::string_view text);

}  // namespace engine
