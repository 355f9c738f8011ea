// Terminals on POSIX systems: isatty(3); they show UTF-8 as it is.
#include "terminal.h"

#include <unistd.h>

namespace platform {

void useUtf8Terminal() {}

bool standardInputIsTerminal() { return ::isatty(STDIN_FILENO) != 0; }

bool standardErrorIsTerminal() { return ::isatty(STDERR_FILENO) != 0; }

}  // namespace platform
