#pragma once

#include <string>
#include <vector>

namespace platform {

// The program's arguments as UTF-8 texts, the program's own name first: on POSIX systems the
// bytes of argv as they are; on Windows the UTF-16 command line, so that a path with letters
// outside the ANSI code page arrives whole instead of with "?" in it.
std::vector<std::string> commandLineArguments(int argc, char** argv);

}  // namespace platform
