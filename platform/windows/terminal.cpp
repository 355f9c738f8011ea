// The console on Windows: its output code page set to UTF-8, the program's own encoding. The
// process's ANSI code page, in which texts go to the databases, stays as it is. A handle is a
// console when the console takes its mode: the C runtime's _isatty also says yes for NUL.
#include "terminal.h"

#include <windows.h>

namespace platform {

namespace {

bool isConsole(DWORD standardHandle) {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(standardHandle), &mode) != 0;
}

}  // namespace

void useUtf8Terminal() { ::SetConsoleOutputCP(CP_UTF8); }

bool standardInputIsTerminal() { return isConsole(STD_INPUT_HANDLE); }

bool standardErrorIsTerminal() { return isConsole(STD_ERROR_HANDLE); }

}  // namespace platform
