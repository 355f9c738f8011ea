#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace db {

// Small helpers on the system's UTF-8 texts.

// The text without every leading and trailing character of code 32 or lower.
std::string trimBlanks(std::string_view text);

// ASCII letters to lower case; other bytes unchanged (used for names, which are ASCII).
std::string asciiLower(std::string_view text);

// Equality of names without regard to the case of ASCII letters.
bool sameName(std::string_view a, std::string_view b);

// The text up to its first line break (CR or LF).
std::string firstLine(std::string_view text);

// A duration as "12.3 s".
std::string secondsText(double seconds);

// The number of characters (code points) of a UTF-8 text.
std::size_t characterCount(std::string_view utf8);

// The first n characters of a UTF-8 text; a shorter text is returned whole.
std::string firstCharacters(std::string_view utf8, std::size_t n);

}  // namespace db
