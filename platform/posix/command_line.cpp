// Program arguments on POSIX systems: the bytes of argv, UTF-8 on the systems the program
// runs on.
#include "command_line.h"

namespace platform {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

}  // namespace platform
