#pragma once

#include <string>
#include <string_view>

namespace batch {

// A text read from a database as the terminal may print it: each control character (below
// 0x20, 0x7F, and the C1 controls U+0080 to U+009F, which some terminals obey as well) is
// shown as "\x" and two lowercase hexadecimal digits ("\x1b" for ESC, "\x0d" for a carriage
// return, "\xc2\x9b" for U+009B), so that a value cannot clear the screen, move the cursor or
// ring the bell. Every other character, UTF-8 letters included, stays as it is.
std::string terminalText(std::string_view text);

}  // namespace batch
