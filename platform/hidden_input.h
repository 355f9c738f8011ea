#pragma once

#include <istream>
#include <optional>
#include <string>

namespace platform {

// Reads one line from input, which reads the program's standard input, without the terminal
// showing what is typed (a password); echo is back on when it returns. When standard input
// is no terminal the line is read as it is. Nothing at the end of the input.
std::optional<std::string> readLineWithoutEcho(std::istream& input);

}  // namespace platform
