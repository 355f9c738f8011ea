// Program arguments on Windows: the UTF-16 command line split as the C runtime splits it
// (CommandLineToArgvW), each argument as UTF-8. argv holds the same arguments in the ANSI code
// page, which cannot hold every file name.
#include "command_line.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "windows_text.h"

namespace platform {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(windows::toUtf8(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

}  // namespace platform
