// The console on Windows: its output code page set to UTF-8, the program's own encoding. The
// process's ANSI code page, in which texts go to the databases, stays as it is.
#include "terminal.h"

#include <windows.h>

namespace platform {

void useUtf8Terminal() { ::SetConsoleOutputCP(CP_UTF8); }

}  // namespace platform
